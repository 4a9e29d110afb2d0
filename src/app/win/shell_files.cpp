#include "app/win/shell_files.h"

#include <windows.h>

#include "app/file_shelf.h"
#include "base/paths.h"
#include "base/win/handles.h"
#include "base/win/log.h"
#include "base/win/utf.h"

namespace orv {

namespace fs = std::filesystem;

namespace {

void LogPathError(const char* what, const fs::path& p, DWORD error = GetLastError()) {
    LogError(std::string(what) + " " + Utf8FromPath(p), error);
}

// The plain calls, none of which replaces an entry: MoveFileExW without
// MOVEFILE_COPY_ALLOWED, which would leave the source behind when it cannot be removed.
class Win32FileOps final : public FileOps {
public:
    EntryKind Kind(const fs::path& p) override {
        const DWORD a = GetFileAttributesW(p.c_str());
        if (a == INVALID_FILE_ATTRIBUTES) return EntryKind::None;
        if (a & FILE_ATTRIBUTE_REPARSE_POINT) {
            // Symbolic links and junctions; other reparse points (cloud placeholders of a
            // synced folder, deduplicated files) are ordinary files and folders to a move.
            WIN32_FIND_DATAW fd{};
            UniqueFind f(FindFirstFileW(p.c_str(), &fd));
            if (f && (fd.dwReserved0 == IO_REPARSE_TAG_SYMLINK || fd.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT))
                return EntryKind::Link;
        }
        return (a & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Folder : EntryKind::File;
    }

    std::vector<fs::path> List(const fs::path& folder) override {
        std::vector<fs::path> names;
        WIN32_FIND_DATAW fd{};
        UniqueFind f(FindFirstFileW((folder / L"*").c_str(), &fd));
        if (!f) {
            if (GetLastError() != ERROR_FILE_NOT_FOUND) LogPathError("FindFirstFileW", folder);
            return names;
        }
        do {
            const std::wstring_view n = fd.cFileName;
            if (n != L"." && n != L"..") names.emplace_back(n);
        } while (FindNextFileW(f.get(), &fd));
        return names;
    }

    bool MakeFolder(const fs::path& p) override {
        if (CreateDirectoryW(p.c_str(), nullptr)) return true;
        LogPathError("CreateDirectoryW", p);
        return false;
    }

    bool Rename(const fs::path& from, const fs::path& to) override {
        if (MoveFileExW(from.c_str(), to.c_str(), 0)) return true;
        // Another volume is no failure: the caller copies instead.
        if (GetLastError() != ERROR_NOT_SAME_DEVICE) LogPathError("MoveFileExW", from);
        return false;
    }

    bool Copy(const fs::path& from, const fs::path& to) override {
        if (CopyFileW(from.c_str(), to.c_str(), TRUE)) return true;
        const DWORD error = GetLastError();
        LogPathError("CopyFileW", from, error);
        // Never a half copy; a target that was there already is not ours to remove.
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) RemoveEntry(to, false);
        return false;
    }

    bool Remove(const fs::path& p) override { return RemoveEntry(p, true); }

private:
    // A read-only entry loses that attribute to be removed, and gets it back when it stays.
    static bool RemoveEntry(const fs::path& p, bool log) {
        const DWORD a = GetFileAttributesW(p.c_str());
        if (a == INVALID_FILE_ATTRIBUTES) return false;
        const bool folder = (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const auto remove = [&] { return folder ? RemoveDirectoryW(p.c_str()) : DeleteFileW(p.c_str()); };
        if (remove()) return true;
        DWORD error = GetLastError();
        if ((a & FILE_ATTRIBUTE_READONLY) && SetFileAttributesW(p.c_str(), a & ~FILE_ATTRIBUTE_READONLY)) {
            if (remove()) return true;
            error = GetLastError();
            SetFileAttributesW(p.c_str(), a);
        }
        if (log) LogPathError(folder ? "RemoveDirectoryW" : "DeleteFileW", p, error);
        return false;
    }
};

}  // namespace

// The shell's own move replaces files, leaves a folder behind when the target already
// holds one of that name, and can leave a copy behind: the entries move one by one.
void ShellMoveFiles(const std::string& sourcePattern, const std::string& targetFolder) {
    try {
        Win32FileOps ops;
        const MoveResult r =
            MoveAllEntries(ops, PathFromUtf8(PatternFolder(sourcePattern)), PathFromUtf8(targetFolder));
        for (const auto& p : r.numbered) Log("Icons: a name met another, kept as " + Utf8FromPath(p));
        for (const auto& p : r.stayed) Log("Icons: could not move, left in place: " + Utf8FromPath(p));
        for (const auto& p : r.strayCopies) Log("Icons: a copy could not be removed again: " + Utf8FromPath(p));
    } catch (...) {
        // Whatever could not move stays where it was.
        Log("Icons: the move from " + sourcePattern + " stopped early");
    }
}

bool ShellCopyFiles(const std::string& source, const std::string& target) {
    return CopyFileW(Widen(source).c_str(), Widen(target).c_str(), FALSE) != FALSE;
}

}  // namespace orv

#include "app/win/watchdog.h"

#include <shlobj.h>

#include <cwchar>

#include "app/win/app_paths.h"
#include "app/win/journal_file.h"
#include "app/win/look_ops.h"
#include "app/win/shell_files.h"
#include "base/win/handles.h"
#include "base/win/log.h"
#include "base/win/utf.h"
#include "settings/win/registry_store.h"

namespace orv {

namespace {
constexpr wchar_t kWatchdogSwitch[] = L"/watchdog ";
constexpr wchar_t kRecoveryMutex[] = L"Local\\OrvantaZ.Recovery";
constexpr DWORD kRecoveryWaitMs = 30000;
constexpr DWORD kWatchdogLookMs = 10000;  // the watchdog's wait for a hung application
}  // namespace

std::wstring JournalPath(const AppFolders& folders) { return Widen(folders.dataFolder + kJournalName); }

RecoveryReport RecoverLeftovers(const AppFolders& folders, const FlavourInfo& f, DesktopLook& look) {
    // The watchdog of a killed run and a new start may both find the journal: one at a time.
    UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kRecoveryMutex));
    const DWORD wait = mutex ? WaitForSingleObject(mutex.get(), kRecoveryWaitMs) : WAIT_FAILED;
    Win32JournalOps ops(JournalPath(folders));
    ShellIconShelf icons;
    const RecoveryReport r = RecoverJournal(ops, icons, look, folders.desktopFolder, folders.dataFolder + f.iconFolderPrefix);
    if (r.found) Log(DescribeRecovery(r));
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ReleaseMutex(mutex.get());
    return r;
}

bool StartWatchdog() {
    HANDLE self = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self, SYNCHRONIZE, TRUE, 0))
        return LogError("Watchdog: DuplicateHandle"), false;
    UniqueHandle owned(self);
    const std::wstring exe = Widen(ExePath());
    std::wstring cmd = L"\"" + exe + L"\" " + kWatchdogSwitch +
                       std::to_wstring(static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(self)));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
        return LogError("Watchdog: CreateProcess"), false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

std::optional<HANDLE> WatchdogHandle(const wchar_t* commandLine) {
    const wchar_t* at = commandLine ? std::wcsstr(commandLine, kWatchdogSwitch) : nullptr;
    if (!at) return std::nullopt;
    wchar_t* end = nullptr;
    const unsigned long long v = std::wcstoull(at + std::wcslen(kWatchdogSwitch), &end, 10);
    if (end == at + std::wcslen(kWatchdogSwitch) || v == 0) return std::nullopt;
    return reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(v));
}

int RunWatchdog(HANDLE program) {
    const FlavourInfo& f = CurrentFlavour();
    const AppFolders folders = ResolveFolders(f, ProgramFolder(), GetSpecialFolder(CSIDL_DESKTOPDIRECTORY),
                                              GetSpecialFolder(CSIDL_APPDATA));
    if (WaitForSingleObject(program, INFINITE) != WAIT_OBJECT_0) return 1;
    CloseHandle(program);
    // A clean end removed the journal; only a killed or crashed run leaves it.
    if (GetFileAttributesW(JournalPath(folders).c_str()) == INVALID_FILE_ATTRIBUTES) return 0;
    OpenLog(Widen(folders.dataFolder));
    RegistryStore store(kSettingsRoot, f.appName);
    // The watchdog has waited since the program started: a colour it read back then may be
    // kept by the process, so the colour is always set.
    Win32LookOps lookOps(&PutLookOnScreenSettingColour);
    DesktopLook look(lookOps, store, folders.dataFolder);
    RecoverLeftovers(folders, f, look);
    lookOps.FinishLook(kWatchdogLookMs);
    CloseLog();
    return 0;
}

}  // namespace orv

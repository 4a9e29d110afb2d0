// The Wine test stand's program for .pdf files, which Wine has none of: scripts/stand.sh
// registers it as their "open" command ("testviewer.exe" "%1"). Asked to open a file, it
// appends the path it was given, as one UTF-8 line, to OrvViewed.txt in the temporary folder
// and ends; the end-to-end tests read that file (TakeViewedFile in tests/e2e/driver.h).
//
//   testviewer.exe FILE
//
// Anything but exactly one argument (an unquoted path with blanks arrives in pieces) is
// recorded as the arguments joined by " | ", so that it never passes for the path.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return 2;
    std::wstring asked;
    for (int i = 1; i < argc; ++i) asked += (i > 1 ? L" | " : L"") + std::wstring(argv[i]);
    LocalFree(argv);

    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) return 3;
    const std::wstring record = std::wstring(temp, n) + L"OrvViewed.txt";
    // One write per line, appended: two viewers at once never tear each other's lines.
    HANDLE file = CreateFileW(record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 4;
    const std::string line = Utf8(asked) + "\n";
    DWORD written = 0;
    const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == line.size() ? 0 : 5;
}

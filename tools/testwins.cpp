// Opens ordinary top-level test windows on request, for the end-to-end tests.
//
//   testwins.exe [--out=PATH] REQUEST...
//
// One REQUEST per window, keys separated by ';':
//   title=TEXT       caption (may be empty); with count, every "%d" becomes 1..N
//   state=normal|min|max|hidden
//   count=N          N windows from this request
//   x=, y=, w=, h=   position and size (default: a cascade)
//   hang=1           own thread; stops pumping messages when it receives the registered
//                    message "OrvTestHang": for wParam milliseconds, or for ever when 0
//   hang=now         own thread; stops pumping right after its first paint
//   button=ID        a push button "Press" with control ID; a press appends " #N" to the
//                    caption (N = presses so far)
//   box=TEXT         with button: a press first shows MessageBox(TEXT, caption = title,
//                    MB_YESNOCANCEL) and appends " #N:ANSWER" (the button ID returned)
//   track=1          a left-button drag in the window appends " drag X1,Y1>X2,Y2" (client
//                    coordinates of press and release)
//
// Each window counts how often it was hidden (WM_SHOWWINDOW with FALSE) in its property
// "OrvHides", readable from another process with GetProp.
//
// When every window exists, PATH gets one UTF-8 line "<hwnd decimal> <title>" per window in
// the order given, and the manual-reset event "Local\OrvTestWinsReady-<pid>" is signalled.
// The process ends when all its windows are closed (or when killed).
#include <windows.h>
#include <shellapi.h>
#include <windowsx.h>

#include <atomic>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kClassName[] = L"OrvTestWindow";
enum class Hang { None, OnMessage, Now };

struct WindowRequest {
    std::wstring title;
    int show = SW_SHOWNORMAL;  // 0 = hidden
    int count = 1;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, w = CW_USEDEFAULT, h = CW_USEDEFAULT;
    Hang hang = Hang::None;
    int button = 0;
    std::wstring box;
    bool track = false;
};

// Per-window state, owned by the window (freed at WM_NCDESTROY).
struct WinData {
    WindowRequest request;
    std::wstring baseTitle;
    int index = 0;
    int presses = 0;
    POINT down = {};
    bool hangRequested = false;
    DWORD hangMs = 0;
    bool ownThread = false;
};

std::atomic<int> g_live{0};
DWORD g_mainThread = 0;
UINT g_hangMessage = 0;

int ToInt(const std::wstring& s, int fallback) {
    if (s.empty()) return fallback;
    wchar_t* end = nullptr;
    const long v = std::wcstol(s.c_str(), &end, 10);
    return (end && *end == L'\0') ? static_cast<int>(v) : fallback;
}

WindowRequest ParseRequest(const std::wstring& text) {
    WindowRequest request;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(L';', pos);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring part = text.substr(pos, end - pos);
        pos = end + 1;
        const size_t eq = part.find(L'=');
        if (eq == std::wstring::npos) continue;
        const std::wstring key = part.substr(0, eq);
        const std::wstring value = part.substr(eq + 1);
        if (key == L"title") request.title = value;
        else if (key == L"state") {
            if (value == L"min") request.show = SW_SHOWMINIMIZED;
            else if (value == L"max") request.show = SW_SHOWMAXIMIZED;
            else if (value == L"hidden") request.show = 0;
            else request.show = SW_SHOWNORMAL;
        } else if (key == L"count") request.count = ToInt(value, 1);
        else if (key == L"x") request.x = ToInt(value, CW_USEDEFAULT);
        else if (key == L"y") request.y = ToInt(value, CW_USEDEFAULT);
        else if (key == L"w") request.w = ToInt(value, CW_USEDEFAULT);
        else if (key == L"h") request.h = ToInt(value, CW_USEDEFAULT);
        else if (key == L"hang") request.hang = value == L"now" ? Hang::Now : (value == L"0" ? Hang::None : Hang::OnMessage);
        else if (key == L"button") request.button = ToInt(value, 0);
        else if (key == L"box") request.box = value;
        else if (key == L"track") request.track = value == L"1";
    }
    if (request.count < 1) request.count = 1;
    if (request.count > 2000) request.count = 2000;
    return request;
}

std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to) {
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

void Paint(HWND hwnd, const WinData& d) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    static const COLORREF kColors[] = {RGB(230, 240, 255), RGB(255, 240, 225), RGB(230, 255, 230),
                                       RGB(255, 230, 240), RGB(245, 245, 210)};
    HBRUSH brush = CreateSolidBrush(kColors[d.index % 5]);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    wchar_t title[512] = {};
    GetWindowTextW(hwnd, title, 512);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextW(dc, title, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    EndPaint(hwnd, &ps);
}

void OnPress(HWND hwnd, WinData& d) {
    ++d.presses;
    std::wstring title = d.baseTitle + L" #" + std::to_wstring(d.presses);
    if (!d.request.box.empty()) {
        const int answer = MessageBoxW(hwnd, d.request.box.c_str(), d.baseTitle.c_str(), MB_YESNOCANCEL);
        title += L":" + std::to_wstring(answer);
    }
    SetWindowTextW(hwnd, title.c_str());
    InvalidateRect(hwnd, nullptr, TRUE);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    auto* d = reinterpret_cast<WinData*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        d = static_cast<WinData*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(d));
    }
    if (!d) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == g_hangMessage && g_hangMessage != 0) {
        if (d->ownThread && d->request.hang != Hang::None) {
            d->hangRequested = true;
            d->hangMs = static_cast<DWORD>(wp);  // 0: for ever
            PostMessageW(hwnd, WM_NULL, 0, 0);  // wakes the loop even when this was sent
        }
        return 0;
    }
    switch (msg) {
    case WM_CREATE:
        if (d->request.button != 0) {
            CreateWindowExW(0, L"BUTTON", L"Press", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 16, 16, 120,
                            32, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(d->request.button)),
                            GetModuleHandleW(nullptr), nullptr);
        }
        return 0;
    case WM_COMMAND:
        if (d->request.button != 0 && LOWORD(wp) == d->request.button && HIWORD(wp) == BN_CLICKED) {
            OnPress(hwnd, *d);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
        if (d->request.track) {
            d->down = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            SetCapture(hwnd);
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (d->request.track && GetCapture() == hwnd) {
            ReleaseCapture();
            const std::wstring title = d->baseTitle + L" drag " + std::to_wstring(d->down.x) + L"," +
                                       std::to_wstring(d->down.y) + L">" + std::to_wstring(GET_X_LPARAM(lp)) +
                                       L"," + std::to_wstring(GET_Y_LPARAM(lp));
            SetWindowTextW(hwnd, title.c_str());
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        }
        break;
    case WM_PAINT:
        Paint(hwnd, *d);
        return 0;
    case WM_SHOWWINDOW:
        if (!wp) {
            const INT_PTR hides = reinterpret_cast<INT_PTR>(GetPropW(hwnd, L"OrvHides")) + 1;
            SetPropW(hwnd, L"OrvHides", reinterpret_cast<HANDLE>(hides));
        }
        break;
    case WM_NCDESTROY: {
        RemovePropW(hwnd, L"OrvHides");
        const bool ownThread = d->ownThread;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        delete d;
        if (ownThread) PostQuitMessage(0);
        if (g_live.fetch_sub(1) == 1) PostThreadMessageW(g_mainThread, WM_QUIT, 0, 0);
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool ShowAsAsked(HWND hwnd, int show) {
    if (show == 0) return true;
    for (int attempt = 0; attempt < 2; ++attempt) {
        ShowWindow(hwnd, show);
        UpdateWindow(hwnd);
        const bool ok = IsWindowVisible(hwnd) && (show != SW_SHOWMINIMIZED || IsIconic(hwnd)) &&
                        (show != SW_SHOWMAXIMIZED || IsZoomed(hwnd)) &&
                        (show != SW_SHOWNORMAL || (!IsIconic(hwnd) && !IsZoomed(hwnd)));
        if (ok) return true;
    }
    return false;
}

HWND CreateTestWindow(const WindowRequest& request, const std::wstring& title, int index, bool ownThread) {
    auto* d = new WinData;
    d->request = request;
    d->baseTitle = title;
    d->index = index;
    d->ownThread = ownThread;
    const int step = (index % 12) * 24;
    const int x = request.x != CW_USEDEFAULT ? request.x : 32 + step;
    const int y = request.y != CW_USEDEFAULT ? request.y : 32 + step;
    const int w = request.w != CW_USEDEFAULT ? request.w : 360;
    const int h = request.h != CW_USEDEFAULT ? request.h : 240;
    g_live.fetch_add(1);
    HWND hwnd = CreateWindowExW(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y, w, h,
                                nullptr, nullptr, GetModuleHandleW(nullptr), d);
    if (!hwnd) {
        delete d;  // WM_NCCREATE never ran or creation was refused before WM_NCDESTROY
        g_live.fetch_sub(1);
        return nullptr;
    }
    ShowAsAsked(hwnd, request.show);
    return hwnd;
}

// A window that may hang lives on a thread of its own.
struct HangJob {
    WindowRequest request;
    std::wstring title;
    int index = 0;
    HWND hwnd = nullptr;
    HANDLE created = nullptr;  // set once the window exists (and, for hang=now, has painted)
};

void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

DWORD WINAPI HangThread(void* param) {
    auto* job = static_cast<HangJob*>(param);
    HWND hwnd = CreateTestWindow(job->request, job->title, job->index, true);
    job->hwnd = hwnd;
    if (!hwnd) {
        SetEvent(job->created);
        return 1;
    }
    PumpPending();
    if (job->request.hang == Hang::Now) {
        SetEvent(job->created);
        Sleep(INFINITE);
    }
    SetEvent(job->created);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        // Looked up afresh: a dispatch may have destroyed the window and freed its data.
        auto* d = IsWindow(hwnd) ? reinterpret_cast<WinData*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)) : nullptr;
        if (d && d->hangRequested) {
            d->hangRequested = false;
            Sleep(d->hangMs ? d->hangMs : INFINITE);
        }
    }
    return 0;
}

bool WriteOut(const std::wstring& path, const std::vector<std::pair<HWND, std::wstring>>& windows) {
    std::wstring text;
    for (const auto& [hwnd, title] : windows)
        text += std::to_wstring(static_cast<long long>(reinterpret_cast<LONG_PTR>(hwnd))) + L" " + title + L"\n";
    std::string utf8;
    if (!text.empty()) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                          nullptr);
        utf8.resize(static_cast<size_t>(n));
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), n, nullptr, nullptr);
    }
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(f, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(f);
    return ok && written == utf8.size();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    g_mainThread = GetCurrentThreadId();
    g_hangMessage = RegisterWindowMessageW(L"OrvTestHang");

    // Created unsignalled at once (a caller may already hold it), signalled when ready.
    const std::wstring eventName = L"Local\\OrvTestWinsReady-" + std::to_wstring(GetCurrentProcessId());
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());

    int argc = 0;
    PWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring outPath;
    std::vector<WindowRequest> requests;
    for (int i = 1; argv && i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (i == 1 && arg.rfind(L"--out=", 0) == 0) outPath = arg.substr(6);
        else requests.push_back(ParseRequest(arg));
    }
    if (argv) LocalFree(argv);

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) return 2;

    std::vector<std::pair<HWND, std::wstring>> windows;
    std::vector<HangJob*> jobs;  // live as long as the process
    int index = 0;
    for (const WindowRequest& request : requests) {
        for (int n = 1; n <= request.count; ++n, ++index) {
            const std::wstring title =
                request.count > 1 || request.title.find(L"%d") != std::wstring::npos
                    ? ReplaceAll(request.title, L"%d", std::to_wstring(n))
                    : request.title;
            HWND hwnd = nullptr;
            if (request.hang != Hang::None) {
                auto* job = new HangJob{request, title, index, nullptr, CreateEventW(nullptr, TRUE, FALSE, nullptr)};
                jobs.push_back(job);
                HANDLE thread = CreateThread(nullptr, 0, HangThread, job, 0, nullptr);
                if (thread) {
                    WaitForSingleObject(job->created, 20000);
                    CloseHandle(thread);
                }
                hwnd = job->hwnd;
            } else {
                hwnd = CreateTestWindow(request, title, index, false);
            }
            if (!hwnd) return 3;  // the caller sees the process end instead of the ready event
            windows.emplace_back(hwnd, title);
        }
    }
    PumpPending();

    if (!outPath.empty() && !WriteOut(outPath, windows)) return 4;
    if (ready) SetEvent(ready);
    if (windows.empty()) return 0;

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // Threads of hung windows still sleep; returning ends the process and them.
    if (ready) CloseHandle(ready);
    return 0;
}

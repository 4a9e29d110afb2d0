// Loaded by the stand-in shell's message hook into the process that owns the desktop window
// (Wine's explorer). Wine's desktop window paints the wallpaper (always centred, whatever the
// style) and its launchers whenever it is invalidated, and that paint is not clipped by the
// top-level windows above it: it lands on top of the stand-in "Progman" and of every other window
// until each repaints. On Windows the shell covers the desktop window and nothing shows it; here
// it paints nothing, and the stand-in's picture is the only one.
#include <windows.h>

namespace {

WNDPROC g_original = nullptr;

LRESULT CALLBACK QuietDesktopProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        return CallWindowProcW(g_original, hwnd, msg, wp, lp);
    }
}

void Quieten() {
    if (g_original) return;
    HWND desktop = GetDesktopWindow();
    DWORD pid = 0;
    if (!GetWindowThreadProcessId(desktop, &pid) || pid != GetCurrentProcessId()) return;
    // The window procedure outlives the hook: this module stays loaded.
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&QuietDesktopProc), &self);
    g_original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(desktop, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&QuietDesktopProc)));
    if (g_original) SetPropW(desktop, L"OrvQuietDesktop", reinterpret_cast<HANDLE>(1));  // seen by the shell
}

}  // namespace

// WH_GETMESSAGE hook on the desktop window's thread.
extern "C" __declspec(dllexport) LRESULT CALLBACK QuietDesktopHook(int code, WPARAM wp, LPARAM lp) {
    if (code >= 0) Quieten();
    return CallNextHookEx(nullptr, code, wp, lp);
}

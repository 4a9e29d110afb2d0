// The floor of start_bench: a bare program that registers a class and shows one window, the
// bar's size and kind, and ends on WM_CLOSE. What Wine's (or Windows') own process start costs.
#include <windows.h>

namespace {
LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(w, msg, wp, lp);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH));
    wc.lpszClassName = L"OrvantaStartFloor";
    if (!RegisterClassW(&wc)) return 1;
    const HWND w = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, wc.lpszClassName, L"Floor", WS_POPUP, 200, 200,
                                   420, 60, nullptr, nullptr, instance, nullptr);
    if (!w) return 1;
    ShowWindow(w, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

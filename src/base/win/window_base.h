// The base of every window of ours: a static thunk stores the object at WM_NCCREATE and
// forwards messages to the handler. Nothing throws across the window procedure: an
// exception that reaches the thunk takes the fatal path (base/win/fatal.h), since the state
// it left behind cannot be trusted and other programs' windows may be hidden.
#pragma once

#include <windows.h>

namespace orv {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }

protected:
    // Registers the class once per process (a second call is harmless).
    // The window paints its whole background itself: the class has no brush.
    static bool RegisterClassOnce(const wchar_t* className, HICON icon = nullptr);
    bool Create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y,
                int w, int h, HWND parent, int id = 0);
    // Messages not handled go to DefWindowProc.
    virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) noexcept { return DefWindowProcW(hwnd_, msg, wp, lp); }

private:
    static LRESULT CALLBACK Thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    HWND hwnd_ = nullptr;
};

HINSTANCE ModuleInstance();

// Whether the program runs under Wine.
bool UnderWine();
// Under Wine, a read of a screen pixel goes to the X server and waits for its answer, which
// it gives once it has served every request that reached it before: the maps of every
// program's windows included, and the events they cause sent out. (Windows has no such
// server: nothing to wait for, and such a read costs a frame there.)
void XServerCaughtUp();
// Returns once what this thread painted is on the screen. Under Wine, painting goes to a
// copy of each window in memory, which a wait for messages sends to the X server; then the
// X server has to catch up. Windows draws at once.
void PaintedOnScreen();

// Moves a child window to a place in its parent's client area; one already there is left
// alone (a move costs a round trip to the window system even when nothing changes).
void MoveChildTo(HWND child, int x, int y, int w, int h);

}  // namespace orv

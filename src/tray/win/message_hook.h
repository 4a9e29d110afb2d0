// A window procedure of ours in place of a window's own. The messages on the filter's
// lists reach a handler before and after the previous procedure, which runs for every
// message; the previous procedure is put back when the hook is detached (or the window
// goes). Failures are reported as the owner's: an error entry in the event log, a line in
// our log, and a warning box titled "Error in <owner>.<routine>".
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "tray/message_filter.h"

namespace orv {

class MessageHook {
public:
    // The handler may detach or end the hook, even destroy the window, from inside.
    using Handler = std::function<void(MessageWhen, UINT msg, WPARAM, LPARAM)>;

    MessageHook(std::string owner, Handler handler) : owner_(std::move(owner)), handler_(std::move(handler)) {}
    ~MessageHook() { Detach(); }
    MessageHook(const MessageHook&) = delete;
    MessageHook& operator=(const MessageHook&) = delete;

    // Refuses a handle that is not a window and another process's window.
    bool Attach(HWND window);
    void AddMessage(UINT msg, MessageWhen when);     // MessageFilter::kAllMessages: every one
    void RemoveMessage(UINT msg, MessageWhen when);  // kAllMessages: none any more
    void Detach();
    HWND Window() const { return window_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    void Report(const char* routine, const std::string& message) const;

    std::string owner_;
    Handler handler_;
    MessageFilter filter_;
    HWND window_ = nullptr;
    WNDPROC previous_ = nullptr;
};

}  // namespace orv

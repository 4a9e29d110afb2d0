// The media control interface and the window calls behind the video player's port.
#pragma once

#include <windows.h>

#include "video/orvanta_class.h"

namespace orv {

inline HWND MciHwnd(MciWindow id) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(id)); }
inline MciWindow ToMciWindow(HWND h) { return static_cast<MciWindow>(reinterpret_cast<INT_PTR>(h)); }

// An open of a file: not the cdaudio open that precedes every player command (it fails
// whenever a video is open).
bool OpensAFile(const std::string& command);
// Logs an open or a close with its outcome (the frequent queries are left out): a video that
// will not open is worth a line, the user sees only the flat backdrop.
void LogOpenOrClose(MediaControlPort& port, const std::string& command, std::uint32_t code);

// The system's own device, in this process.
class Win32MediaControl final : public MediaControlPort {
public:
    // A play command that wants no answer asks for a notification to `notify` when one is set.
    std::uint32_t SendString(const std::string& command, std::size_t answerChars, std::string& answer) override;
    std::string ErrorString(std::uint32_t code, std::size_t bufferChars) override;
    ShortPathResult ShortPath(const std::string& path, std::size_t bufferChars) override;
    MciRect WindowRect(MciWindow window) override;
    MciWindow FindWindowByTitle(const std::string& title) override;
    void ShowWindow(MciWindow window, int showCmd) override;
    HWND notify = nullptr;
};

}  // namespace orv

#include "video/win/mci_port.h"

#include <mmsystem.h>

#include "base/win/log.h"
#include "base/win/utf.h"

namespace orv {

bool OpensAFile(const std::string& command) {
    return command.rfind("open ", 0) == 0 && command.find(" Type cdaudio ") == std::string::npos;
}

void LogOpenOrClose(MediaControlPort& port, const std::string& command, std::uint32_t code) {
    if (!OpensAFile(command) && command.rfind("close ", 0) != 0) return;
    Log("Video: " + command + (code == 0 ? ": done" : ": failed (" + std::to_string(code) + " " + TrimAtNull(port.ErrorString(code, MAXERRORLENGTH)) + ")"));
}

std::uint32_t Win32MediaControl::SendString(const std::string& command, std::size_t answerChars, std::string& answer) {
    std::wstring text = Widen(command);
    MCIERROR code = 0;
    if (answerChars == 0 && notify && command.rfind("play ", 0) == 0) {
        code = mciSendStringW((text + L" notify").c_str(), nullptr, 0, notify);
    } else if (answerChars == 0) {
        wchar_t none[] = L"0";
        code = mciSendStringW(text.c_str(), none, 0, nullptr);
    } else {
        std::wstring buffer(answerChars, L'\0');
        code = mciSendStringW(text.c_str(), buffer.data(), static_cast<UINT>(buffer.size()), nullptr);
        answer = Narrow(buffer);
    }
    return code;
}

std::string Win32MediaControl::ErrorString(std::uint32_t code, std::size_t bufferChars) {
    std::wstring buffer(bufferChars, L'\0');
    mciGetErrorStringW(code, buffer.data(), static_cast<UINT>(buffer.size()));
    return Narrow(buffer);
}

MediaControlPort::ShortPathResult Win32MediaControl::ShortPath(const std::string& path, std::size_t bufferChars) {
    std::wstring buffer(bufferChars, L'\0');
    DWORD n = GetShortPathNameW(Widen(path).c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    return {n, Narrow(buffer)};
}

MciRect Win32MediaControl::WindowRect(MciWindow window) {
    RECT r{};
    GetWindowRect(MciHwnd(window), &r);
    return {r.left, r.top, r.right, r.bottom};
}

MciWindow Win32MediaControl::FindWindowByTitle(const std::string& title) {
    return ToMciWindow(FindWindowW(nullptr, Widen(title).c_str()));
}

void Win32MediaControl::ShowWindow(MciWindow window, int showCmd) { ::ShowWindow(MciHwnd(window), showCmd); }

}  // namespace orv

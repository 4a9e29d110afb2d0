// The media control interface in a process of its own: the same Orvanta.exe, started with
// "/media <handle>" (an inherited SYNCHRONIZE handle to the program), runs the player's
// command strings and nothing else. The system's video decoders load into the process that
// opens the device: under Wine about 70 MB, growing with every file opened. Out here they
// cost the bar's process nothing; a decoder that hangs costs a timeout instead of the bar
// (which may hold other programs' windows hidden), one that crashes costs the video only.
//
// The program's side is a media port: commands go to the process one at a time, each
// waited for, their answers come back the way the device left them. The process starts with
// the first command, and is replaced after many opened files (each leaves memory behind) or
// when no file has been open for a while. It ends with the program, however that ends.
//
//   auto media = MediaProcess::Create(L"C:\\...\\Orvanta.exe");
//   media->notify = window;      // play commands tell their end there (MM_MCINOTIFY)
//   OrvantaClass player(*media);
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "base/win/handles.h"
#include "base/win/window_base.h"
#include "video/win/mci_port.h"

namespace orv {

// The class of the media process's one window (message-only; its title names the process).
inline constexpr wchar_t kMediaProcessClass[] = L"OrvantaMedia";

class MediaProcess final : public Window, public MediaControlPort {
public:
    // exe: the program file to start. Null when its window cannot be made.
    static std::unique_ptr<MediaProcess> Create(std::wstring exe);
    ~MediaProcess() override;

    // Sent to the process (started when none runs). A process that cannot be started, does
    // not answer in time or is gone answers with a device error; the next command starts a
    // new one.
    std::uint32_t SendString(const std::string& command, std::size_t answerChars, std::string& answer) override;
    // Texts, paths and windows: answered here.
    std::string ErrorString(std::uint32_t code, std::size_t n) override { return local_.ErrorString(code, n); }
    ShortPathResult ShortPath(const std::string& path, std::size_t n) override { return local_.ShortPath(path, n); }
    MciRect WindowRect(MciWindow window) override { return local_.WindowRect(window); }
    MciWindow FindWindowByTitle(const std::string& title) override { return local_.FindWindowByTitle(title); }
    void ShowWindow(MciWindow window, int showCmd) override { local_.ShowWindow(window, showCmd); }

    // The process that runs the device, and so owns its video window; 0 while none runs.
    DWORD ProcessId() const { return pid_; }
    // Asks the process to close what it has open and end (ended after a short wait).
    void End();

    HWND notify = nullptr;  // where play commands tell their end; null: nowhere

private:
    explicit MediaProcess(std::wstring exe) : exe_(std::move(exe)) {}
    bool Ensure();
    bool Start();
    void Track(const std::string& command, std::uint32_t code);
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    std::wstring exe_;
    Win32MediaControl local_;
    UniqueHandle process_;
    DWORD pid_ = 0;
    HWND server_ = nullptr;
    std::string answer_;  // the answer to the command under way
    int opened_ = 0;      // files opened by this process
    bool open_ = false;   // one is open now
};

// The program handle when the command line asks for the media process.
std::optional<HANDLE> MediaClientHandle(const wchar_t* commandLine);
// Runs the device's commands until the program ends or asks it to. The exit code.
int RunMediaProcess(HANDLE program);

}  // namespace orv

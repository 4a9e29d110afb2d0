#include "video/win/media_process.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstring>

#include "base/win/helper_process.h"
#include "base/win/log.h"

namespace orv {

namespace {
constexpr wchar_t kMediaSwitch[] = L"/media ";
constexpr wchar_t kClientClass[] = L"OrvantaMediaClient";
// WM_COPYDATA kinds: a command to the process, the answer back to the program.
constexpr ULONG_PTR kCommand = 0x4F524D43;
constexpr ULONG_PTR kAnswer = 0x4F524D41;
constexpr DWORD kWaitMs = 10000;   // for the process to start, and for a command (an open loads decoders)
constexpr DWORD kEndMs = 2000;     // for the process to close its device and end when asked
constexpr UINT_PTR kIdleTimer = 1;
constexpr UINT kIdleMs = 30000;    // no file open this long: the process ends
constexpr int kOpensPerProcess = 16;  // then it is replaced at the next close
constexpr std::uint32_t kNoProcess = MCIERR_DEVICE_NOT_READY;
constexpr std::size_t kMaxAnswerChars = 1 << 16;

// What precedes a command's text in a request.
struct Request {
    std::uint32_t answerChars;
    std::uint32_t reserved;
    std::uint64_t notify;  // a window handle's value
};

std::wstring ServerTitle(DWORD pid) { return L"Orvanta media " + std::to_wstring(pid); }

// The media process's side: one window that takes the program's commands.
DWORD g_programPid = 0;

LRESULT Serve(HWND self, HWND from, const COPYDATASTRUCT& data) {
    DWORD pid = 0;
    if (data.dwData != kCommand || data.cbData < sizeof(Request) || !data.lpData ||
        !GetWindowThreadProcessId(from, &pid) || pid != g_programPid)
        return kNoProcess;  // not the program's
    Request r{};
    std::memcpy(&r, data.lpData, sizeof r);
    if (r.answerChars > kMaxAnswerChars) return MCIERR_PARAM_OVERFLOW;
    const std::string command(static_cast<const char*>(data.lpData) + sizeof r, data.cbData - sizeof r);
    Win32MediaControl mci;
    mci.notify = reinterpret_cast<HWND>(static_cast<UINT_PTR>(r.notify));
    std::string answer;
    const std::uint32_t code = mci.SendString(command, r.answerChars, answer);
    if (r.answerChars != 0) {
        // To the program while it waits for this command: it takes the answer before the code.
        COPYDATASTRUCT reply{kAnswer, static_cast<DWORD>(answer.size()), answer.data()};
        SendMessageTimeoutW(from, WM_COPYDATA, reinterpret_cast<WPARAM>(self), reinterpret_cast<LPARAM>(&reply),
                            SMTO_NORMAL, kWaitMs, nullptr);
    }
    return code;
}

LRESULT CALLBACK ServerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    try {
        if (msg == WM_COPYDATA) return Serve(h, reinterpret_cast<HWND>(wp), *reinterpret_cast<const COPYDATASTRUCT*>(lp));
    } catch (...) {
        return kNoProcess;  // out of memory: this command fails, the next may not
    }
    if (msg == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}
}  // namespace

std::optional<HANDLE> MediaClientHandle(const wchar_t* commandLine) { return HelperHandle(commandLine, kMediaSwitch); }

int RunMediaProcess(HANDLE program) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    g_programPid = GetProcessId(program);
    WNDCLASSW wc{};
    wc.lpfnWndProc = &ServerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kMediaProcessClass;
    if (!g_programPid || !RegisterClassW(&wc)) return 1;
    HWND window = CreateWindowExW(0, kMediaProcessClass, ServerTitle(GetCurrentProcessId()).c_str(), 0, 0, 0, 0, 0,
                                  HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (!window) return 1;
    // Until the program asks it to end, or ends itself (killed or crashed included).
    for (bool on = true; on;) {
        if (MsgWaitForMultipleObjects(1, &program, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0 + 1) break;
        for (MSG m; on && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) {
            if (m.message == WM_QUIT) on = false;
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }
    mciSendStringW(L"close all", nullptr, 0, nullptr);
    DestroyWindow(window);
    CloseHandle(program);
    return 0;
}

std::unique_ptr<MediaProcess> MediaProcess::Create(std::wstring exe) {
    std::unique_ptr<MediaProcess> media(new MediaProcess(std::move(exe)));
    if (!RegisterClassOnce(kClientClass) || !media->Window::Create(kClientClass, L"", 0, 0, 0, 0, 0, 0, HWND_MESSAGE))
        return nullptr;
    return media;
}

MediaProcess::~MediaProcess() { End(); }

bool MediaProcess::Start() {
    HelperProcess started = StartHelperProcess(exe_, kMediaSwitch, SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, "Video");
    if (!started.process) return false;
    process_ = std::move(started.process);
    pid_ = started.pid;
    const std::wstring title = ServerTitle(pid_);
    for (const ULONGLONG end = GetTickCount64() + kWaitMs;;) {
        if ((server_ = FindWindowExW(HWND_MESSAGE, nullptr, kMediaProcessClass, title.c_str()))) return true;
        if (WaitForSingleObject(process_.get(), 2) != WAIT_TIMEOUT || GetTickCount64() > end) break;
    }
    Log("Video: the media process did not start");
    End();
    return false;
}

bool MediaProcess::Ensure() {
    if (server_ && IsWindow(server_) && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) return true;
    End();  // gone (crashed, killed) or never started: what is left of it goes
    return Start();
}

void MediaProcess::End() {
    if (hwnd()) KillTimer(hwnd(), kIdleTimer);
    if (process_) {
        if (server_) PostMessageW(server_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.get(), kEndMs) == WAIT_TIMEOUT) TerminateProcess(process_.get(), 1);
    }
    process_.reset();
    server_ = nullptr;
    pid_ = 0;
    opened_ = 0;
    open_ = false;
}

std::uint32_t MediaProcess::SendString(const std::string& command, std::size_t answerChars, std::string& answer) {
    std::uint32_t code = kNoProcess;
    if (Ensure()) {
        const Request r{static_cast<std::uint32_t>(std::min(answerChars, kMaxAnswerChars)), 0,
                        static_cast<std::uint64_t>(reinterpret_cast<UINT_PTR>(notify))};
        std::string data(sizeof r, '\0');
        std::memcpy(data.data(), &r, sizeof r);
        data += command;
        COPYDATASTRUCT request{kCommand, static_cast<DWORD>(data.size()), data.data()};
        answer_.clear();
        DWORD_PTR result = kNoProcess;
        if (SendMessageTimeoutW(server_, WM_COPYDATA, reinterpret_cast<WPARAM>(hwnd()), reinterpret_cast<LPARAM>(&request),
                                SMTO_NORMAL | SMTO_ABORTIFHUNG, kWaitMs, &result)) {
            code = static_cast<std::uint32_t>(result);
            if (answerChars != 0) answer = std::move(answer_);
        } else {
            LogError("Video: the media process did not answer \"" + command + "\"");
            End();  // hung: the next command starts another
        }
    }
    Track(command, code);
    LogOpenOrClose(*this, command, code);
    return code;
}

// Every file opened leaves some memory behind in the process: after a number of them, the
// process is replaced once its file is closed; one with nothing open a while ends.
void MediaProcess::Track(const std::string& command, std::uint32_t code) {
    if (code != 0) return;
    if (OpensAFile(command)) {
        ++opened_, open_ = true;
        KillTimer(hwnd(), kIdleTimer);
    } else if (command.rfind("close ", 0) == 0) {
        open_ = false;
        if (opened_ >= kOpensPerProcess) End();
        else SetTimer(hwnd(), kIdleTimer, kIdleMs, nullptr);
    }
}

LRESULT MediaProcess::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COPYDATA) {
        const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lp);
        if (data.dwData != kAnswer || reinterpret_cast<HWND>(wp) != server_ || !server_) return FALSE;
        answer_.assign(static_cast<const char*>(data.lpData), data.cbData);
        return TRUE;
    }
    if (msg == WM_TIMER && wp == kIdleTimer) {
        KillTimer(hwnd(), kIdleTimer);
        if (!open_) End();
        return 0;
    }
    return Window::OnMessage(msg, wp, lp);
}

}  // namespace orv

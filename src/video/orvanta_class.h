// ORVANTACLASS: one media file driven through the media control interface by command
// strings. Every operation sends its commands one after the other on the caller's thread and
// returns; the strings, the buffers they are sent with and the way answers are read are the
// player's whole contract with the device. The device itself sits behind MediaControlPort.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

using MciWindow = std::int32_t;  // a window handle's value, as the media commands write it

struct MciRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// The media layer and the few window calls the player needs.
class MediaControlPort {
public:
    virtual ~MediaControlPort() = default;
    // Sends one command string. answerChars 0: no answer wanted (the text "0" as return
    // buffer, a return length of 0, no callback window); `answer` stays untouched. Otherwise
    // a return buffer of answerChars NUL characters, handed back in `answer` as the device
    // left it. The device's return code, 0 for success.
    virtual std::uint32_t SendString(const std::string& command, std::size_t answerChars, std::string& answer) = 0;
    // The buffer of bufferChars characters into which the system writes its text for a code.
    virtual std::string ErrorString(std::uint32_t code, std::size_t bufferChars) = 0;
    // The short form of a path written into a buffer of bufferChars characters: the value the
    // call returned (characters written, or the size needed, 0 on failure) and the buffer.
    struct ShortPathResult {
        std::uint32_t length = 0;
        std::string buffer;
    };
    virtual ShortPathResult ShortPath(const std::string& path, std::size_t bufferChars) = 0;
    virtual MciRect WindowRect(MciWindow window) = 0;
    virtual MciWindow FindWindowByTitle(const std::string& title) = 0;  // 0 when there is none
    virtual void ShowWindow(MciWindow window, int showCmd) = 0;
};

inline constexpr std::size_t kMciFieldChars = 255;   // the open command's field, the short path's buffer
inline constexpr std::size_t kMciAnswerChars = 256;  // a query's return buffer
inline constexpr std::size_t kMciShortAnswerChars = 128;
inline constexpr std::uint32_t kWsChild = 0x40000000;
inline constexpr const char* kDefaultAlias = "MYVIDPLAYER";
inline constexpr const char* kSuccess = "Success";

// The text before the first NUL, without trailing blanks.
std::string TrimAtNull(std::string_view buffer);
// The device type for a path's extension: "Sequencer", "MPEGVideo" or "".
std::string DeviceTypeFor(std::string_view path);

class OrvantaClass {
public:
    explicit OrvantaClass(MediaControlPort& port) : port_(port) {}

    // Properties.
    std::string AliasName = kDefaultAlias;
    MciWindow hwndParent = 0;
    bool IsPaused = false;
    bool IsPlaying = false;
    std::uint32_t LastError = 0;  // the code of the last MoveVideoTo
    std::string MediaLength;      // whole seconds, taken right after each open

    void SetFilename(std::string xFile) { file_ = std::move(xFile); }
    std::string Filename() const;  // the short (8.3) form of the stored path, "" when it is missing
    std::string DeviceType() const { return DeviceTypeFor(Filename()); }

    // Operations. A "form" or selector out of range gives "" (and sends nothing more).
    // Play on from the position plus / minus nValue seconds. False, with nothing played, when
    // the target does not fit in 32 bits.
    bool FForward(std::int32_t nValue);
    bool FRewind(std::int32_t nValue);
    std::string getStatusInfo(std::int32_t selector);  // 1 to 8
    std::string LENGTHFORMAT(std::int32_t form);       // 0 seconds, 1 mm:ss, 2 as the device says
    std::string POSFORMAT(std::int32_t form);          // as LENGTHFORMAT, for the position
    // Places the video window; a width or height of 0 takes the window's size (written back).
    std::string MoveVideoTo(MciWindow lngHwnd, std::int32_t lngLeft, std::int32_t lngTop, std::int32_t& lngWidth,
                            std::int32_t& lngHeight, std::int32_t margin = 0);
    std::string OpenMediaFile(MciWindow lngHwnd, const std::string& alias, const std::string& typeDevice);
    void PlayMEDIAFILE(std::int32_t where = 0, bool bRepeat = false);  // open, place, play
    void RePlayMEDIAFILE(std::int32_t where = 0, bool bRepeat = false);
    void SetAudioState(std::int32_t stChan, std::int32_t st_pos);  // channel 0 right, 1 left, 2 all; 0 on
    // 1 stop, 2 play, 3 play from nValue ms, 4 speed, 5 close, 6 pause, 7 resume.
    void setCommand(std::int32_t Cmd, const std::string& sDrive = "", std::int32_t nValue = 0);
    void SetTimeFormat(std::int32_t fm_Time);  // 0 ms, 1 tmsf, 2 frames
    bool THE_ENDOFSONG(std::int32_t fTime);
    MciWindow GetHwndDesktop();
    void HideDesktop(bool DeskShow);  // true hides hwndParent, false shows it

private:
    void Send(const std::string& command);
    std::string Query(const std::string& command, std::size_t chars = kMciAnswerChars);
    std::string ErrorText(std::uint32_t code);
    std::int32_t Seconds(const std::string& answer) const;
    std::int32_t PositionMs();  // getStatusInfo 3 as a number
    bool PlayFromOffset(std::int32_t nValue, std::int32_t sign);

    MediaControlPort& port_;
    std::string file_;
};

}  // namespace orv

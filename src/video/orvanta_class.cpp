#include "video/orvanta_class.h"

#include <array>
#include <cstdio>
#include <limits>

#include "base/text.h"

namespace orv {
namespace {

// The first n characters (code points) of a UTF-8 text.
std::string FirstChars(std::string_view text, std::size_t n) {
    std::size_t i = 0;
    for (std::size_t count = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;  // inside a character
        if (count++ == n) break;
    }
    return std::string(text.substr(0, i));
}

std::size_t CharCount(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

bool FitsInt32(std::int64_t v) {
    return v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max();
}

// Seconds as "mm:ss"; the minutes keep growing past 99 ("125:00").
std::string MinutesSeconds(std::int32_t s) {
    std::array<char, 32> text{};
    if (s < 60) {
        std::snprintf(text.data(), text.size(), "00:%02d", static_cast<int>(s));
    } else {
        std::int32_t m = s / 60;
        std::snprintf(text.data(), text.size(), "%02d:%02d", static_cast<int>(m), static_cast<int>(s - 60 * m));
    }
    return text.data();
}

// A number as decimal text, without trailing zeros ("99.5", "100").
std::string NumberText(double v) {
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "%.15g", v);
    return text.data();
}

constexpr std::array kMpegVideoExtensions = {"AIF", "AIFC", "ASX", "AU",  "AVI", "DAT", "ENC", "M1V", "MOV",
                                             "MP2", "MPA",  "MPE", "MPEG", "MPG", "MPM", "MPV", "MPV2", "QT",
                                             "RMI", "VOB",  "WAV", "WAX", "WMA", "WMP", "WMV", "WMX"};

}  // namespace

std::string TrimAtNull(std::string_view buffer) {
    std::string_view text = buffer.substr(0, buffer.find('\0'));
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}

std::string DeviceTypeFor(std::string_view path) {
    std::size_t dot = path.rfind('.');
    std::string_view ext = dot == std::string_view::npos ? std::string_view{} : path.substr(dot + 1);
    if (EqualNoCase(ext, "MID")) return "Sequencer";
    for (const char* known : kMpegVideoExtensions)
        if (!ext.empty() && EqualNoCase(ext, known)) return "MPEGVideo";
    return "";
}

std::string OrvantaClass::Filename() const {
    MediaControlPort::ShortPathResult r = port_.ShortPath(file_, kMciFieldChars);
    return FirstChars(r.buffer, r.length);
}

void OrvantaClass::Send(const std::string& command) {
    std::string unused;
    port_.SendString(command, 0, unused);
}

std::string OrvantaClass::Query(const std::string& command, std::size_t chars) {
    std::string answer;
    port_.SendString(command, chars, answer);
    return TrimAtNull(answer);
}

std::string OrvantaClass::ErrorText(std::uint32_t code) {
    return code == 0 ? kSuccess : TrimAtNull(port_.ErrorString(code, kMciShortAnswerChars));
}

std::int32_t OrvantaClass::Seconds(const std::string& answer) const { return RoundHalfEven(LeadingNumber(answer) / 1000.0); }

std::string OrvantaClass::OpenMediaFile(MciWindow lngHwnd, const std::string& alias, const std::string& typeDevice) {
    std::string command = "open " + Filename() + " type " + typeDevice + " Alias " + alias + " parent " +
                          std::to_string(lngHwnd) + " Style " + std::to_string(kWsChild);
    command = FirstChars(command, kMciFieldChars);
    command.append(kMciFieldChars - CharCount(command), ' ');
    std::string unused;
    std::uint32_t code = port_.SendString(command, 0, unused);
    MediaLength = LENGTHFORMAT(0);
    return ErrorText(code);
}

std::string OrvantaClass::MoveVideoTo(MciWindow lngHwnd, std::int32_t lngLeft, std::int32_t lngTop, std::int32_t& lngWidth,
                                      std::int32_t& lngHeight, std::int32_t margin) {
    if (lngWidth == 0 || lngHeight == 0) {
        MciRect r = port_.WindowRect(lngHwnd);
        lngWidth = r.right - r.left;
        lngHeight = r.bottom - r.top;
    }
    std::int64_t m = margin;
    std::string unused;
    LastError = port_.SendString("put " + AliasName + " window at " + std::to_string(lngLeft + m) + " " +
                                     std::to_string(lngTop + m) + " " + std::to_string(lngWidth - 2 * m) + " " +
                                     std::to_string(lngHeight - 2 * m),
                                 0, unused);
    return ErrorText(LastError);
}

void OrvantaClass::PlayMEDIAFILE(std::int32_t where, bool bRepeat) {
    OpenMediaFile(hwndParent, AliasName, DeviceType());
    std::int32_t width = 0, height = 0;
    MoveVideoTo(hwndParent, 0, 0, width, height, 0);
    RePlayMEDIAFILE(where, bRepeat);
}

void OrvantaClass::RePlayMEDIAFILE(std::int32_t, bool bRepeat) {
    Send(bRepeat ? "play " + AliasName + " repeat " : "play " + AliasName);
    IsPlaying = true;
}

void OrvantaClass::SetAudioState(std::int32_t stChan, std::int32_t st_pos) {
    static constexpr std::array<const char*, 3> kChannel = {" audio right", " audio left", " audio all"};
    if (stChan < 0 || stChan > 2) return;
    Send("set " + AliasName + kChannel[static_cast<std::size_t>(stChan)] + (st_pos == 0 ? " on" : " off"));
}

void OrvantaClass::setCommand(std::int32_t Cmd, const std::string& sDrive, std::int32_t nValue) {
    Send("open " + sDrive + " Type cdaudio alias " + AliasName + " wait shareable");
    const std::string value = std::to_string(nValue);
    switch (Cmd) {
    case 1: Send("stop " + AliasName), IsPlaying = false; break;
    case 2: Send("play " + AliasName), IsPlaying = true; break;
    case 3:
        Query("set " + AliasName + " time format ms", kMciShortAnswerChars);
        Send("seek " + AliasName + " to " + value);
        Send("play " + AliasName + " from " + value);
        break;
    case 4: Send("set " + AliasName + " speed " + value); break;
    case 5: Send("close " + AliasName); break;
    case 6: Send("pause " + AliasName + " wait"), IsPaused = true; break;
    case 7: Send("resume " + AliasName), IsPaused = false; break;
    default: break;
    }
}

void OrvantaClass::SetTimeFormat(std::int32_t fm_Time) {
    static constexpr std::array<const char*, 3> kFormat = {" time format ms wait", " time format tmsf wait",
                                                           " time format frames wait"};
    if (fm_Time < 0 || fm_Time > 2) return;
    Send("set " + AliasName + kFormat[static_cast<std::size_t>(fm_Time)]);
}

std::string OrvantaClass::getStatusInfo(std::int32_t selector) {
    const std::string& a = AliasName;
    switch (selector) {
    case 1: Send("set " + a + " time format frames"); return Query("status " + a + " length");
    case 2: return Query("status " + a + " mode");
    case 3: return std::to_string(PositionMs());
    case 4: return Query("status " + a + " time format");
    case 5: return Query("Status " + a + " frame rate");
    case 6: return NumberText(LeadingNumber(Query("status " + a + " speed ")) / 10.0);
    case 7: return Query("status " + a + " window handle");
    case 8: SetTimeFormat(0); return std::to_string(Seconds(Query("status " + a + " length")));
    default: return "";
    }
}

std::string OrvantaClass::LENGTHFORMAT(std::int32_t form) {
    Send("set " + AliasName + " time format milliseconds");
    switch (form) {
    case 0: return std::to_string(Seconds(Query("status " + AliasName + " length")));
    case 1: return MinutesSeconds(Seconds(Query("status " + AliasName + " length")));
    case 2: return Query("status " + AliasName + " length", kMciShortAnswerChars);
    default: return "";
    }
}

std::string OrvantaClass::POSFORMAT(std::int32_t form) {
    switch (form) {
    case 0:
        Send("set " + AliasName + " time format tmsf ");
        return std::to_string(Seconds(Query("status " + AliasName + " position")));
    case 1:
        Send("set " + AliasName + " time format milliseconds");
        return MinutesSeconds(Seconds(Query("status " + AliasName + " position")));
    case 2: return Query("status " + AliasName + " position");
    default: return "";
    }
}

bool OrvantaClass::THE_ENDOFSONG(std::int32_t fTime) {
    if (fTime < 0 || fTime > 2) return true;  // both texts are ""
    std::string position = POSFORMAT(fTime);
    return EqualNoCase(position, LENGTHFORMAT(fTime));
}

std::int32_t OrvantaClass::PositionMs() {
    Send("set " + AliasName + " time format ms");
    return RoundHalfEven(LeadingNumber(Query("status " + AliasName + " position")));
}

bool OrvantaClass::PlayFromOffset(std::int32_t nValue, std::int32_t sign) {
    std::int64_t position = PositionMs();
    Query("set " + AliasName + " time format ms", kMciShortAnswerChars);
    std::int64_t offset = std::int64_t{nValue} * 1000;
    if (!FitsInt32(offset) || !FitsInt32(position + sign * offset)) return false;  // 32-bit overflow
    Send("play " + AliasName + " from " + std::to_string(position + sign * offset));
    return true;
}

bool OrvantaClass::FForward(std::int32_t nValue) { return PlayFromOffset(nValue, 1); }
bool OrvantaClass::FRewind(std::int32_t nValue) { return PlayFromOffset(nValue, -1); }

MciWindow OrvantaClass::GetHwndDesktop() { return port_.FindWindowByTitle("Program Manager"); }

void OrvantaClass::HideDesktop(bool DeskShow) { port_.ShowWindow(hwndParent, DeskShow ? 0 : 5); }

}  // namespace orv

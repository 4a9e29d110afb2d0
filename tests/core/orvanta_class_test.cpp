// The media player's command strings, return buffers and answers, against a recording device.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "video/orvanta_class.h"

namespace orv {
namespace {

using namespace std::string_literals;

// Writes each command as "text" (no answer wanted) or "text|buffer size", one per line; fills
// a query's buffer with the canned answer and NULs, cut to the buffer.
struct Recorder final : MediaControlPort {
    std::uint32_t SendString(const std::string& command, std::size_t chars, std::string& answer) override {
        log += command + (chars ? "|" + std::to_string(chars) : "") + "\n";
        if (chars) answer = (answers[command] + std::string(chars, '\0')).substr(0, chars);
        return codes[command.substr(0, command.find(' '))];
    }
    std::string ErrorString(std::uint32_t code, std::size_t chars) override {
        return ("Error " + std::to_string(code) + "  " + std::string(1, '\0') + "junk" + std::string(chars, '\0')).substr(0, chars);
    }
    ShortPathResult ShortPath(const std::string& path, std::size_t chars) override {
        std::string s = shortPaths.count(path) ? shortPaths[path] : "";
        return {static_cast<std::uint32_t>(s.size()), s + std::string(chars - s.size(), '\0')};
    }
    MciRect WindowRect(MciWindow w) override { return log += "rect " + std::to_string(w) + "\n", MciRect{100, 50, 900, 650}; }
    MciWindow FindWindowByTitle(const std::string& title) override { return log += "find " + title + "\n", 77; }
    void ShowWindow(MciWindow w, int cmd) override { log += "show " + std::to_string(w) + " " + std::to_string(cmd) + "\n"; }
    std::string log;
    std::map<std::string, std::string> answers{{"status MYVIDPLAYER length", "59500 \0junk"s}, {"status MYVIDPLAYER position", "3000"},
                                               {"status MYVIDPLAYER mode", "playing  \0x"s}, {"status MYVIDPLAYER speed ", "995"}};
    std::map<std::string, std::uint32_t> codes;
    std::map<std::string, std::string> shortPaths{{"C:\\Videos\\clip.wmv", "C:\\VIDEOS\\CLIP.WMV"}, {"C:\\Music\\song.mp3", "C:\\MUSIC\\SONG.MP3"}};
};

const std::string kLen = "set MYVIDPLAYER time format milliseconds\nstatus MYVIDPLAYER length|256\n";
// Joined with ","; a braced list is evaluated left to right.
std::string J(std::initializer_list<std::string> parts) {
    std::string out;
    for (const auto& p : parts) out += (&p == parts.begin() ? "" : ",") + p;
    return out;
}
std::string Field(std::string open) { return open + std::string(255 - open.size(), ' ') + "\n"; }

// Faults: a wrong word, blank or case in a command; an answer sent for with the wrong buffer
// or read past its NUL or with its blanks; the open field not padded or not cut at 255; the
// long path or the fields instead of the arguments in the open; halves rounded up; minutes
// cut to two digits; width and height not both taken from the window; a margin applied once;
// a flag changed by the wrong command; the skip target clamped, or played after an overflow.
TEST(OrvantaClass, SendsTheCommandStringsAndReadsTheAnswers) {
    using Op = std::function<std::string(OrvantaClass&, Recorder&)>;
    auto s = [](auto v) { return std::to_string(v); };
    struct Row { Op op; std::string result, log; } rows[] = {
        {[](auto& c, auto&) { return c.SetFilename("C:\\Videos\\clip.wmv"), J({c.OpenMediaFile(1234, "MYVIDPLAYER", c.DeviceType()), c.MediaLength}); }, "Success,60",
         Field("open C:\\VIDEOS\\CLIP.WMV type MPEGVideo Alias MYVIDPLAYER parent 1234 Style 1073741824") + kLen},
        {[](auto& c, auto& r) { return c.SetFilename("C:\\Music\\song.mp3"), r.codes["open"] = 263, c.OpenMediaFile(-5, "V2", c.DeviceType()); }, "Error 263",
         Field("open C:\\MUSIC\\SONG.MP3 type  Alias V2 parent -5 Style 1073741824") + kLen},
        {[](auto& c, auto& r) { return r.shortPaths["x"] = std::string(240, 'p'), c.SetFilename("x"), c.OpenMediaFile(1, "A", "T"); }, "Success",
         ("open " + std::string(240, 'p') + " type T Alias A parent 1 Style 10").substr(0, 255) + "\n" + kLen},
        {[](auto& c, auto&) { return c.SetFilename("missing.avi"), J({c.DeviceType(), c.OpenMediaFile(1, "A", "MPEGVideo")}); }, ",Success",
         Field("open  type MPEGVideo Alias A parent 1 Style 1073741824") + kLen},
        {[=](auto& c, auto&) { int w = 0, h = 0; return J({c.MoveVideoTo(9, 10, 20, w, h, 5), s(w), s(h)}); }, "Success,800,600",
         "rect 9\nput MYVIDPLAYER window at 15 25 790 590\n"},
        {[=](auto& c, auto& r) { int w = 300, h = 0; r.codes["put"] = 5; return J({c.MoveVideoTo(9, -1, 0, w, h), s(c.LastError), s(w)}); }, "Error 5,5,800",
         "rect 9\nput MYVIDPLAYER window at -1 0 800 600\n"},
        {[=](auto& c, auto&) { int w = 30, h = 40; return J({c.MoveVideoTo(9, 1, 2, w, h, -3), s(w)}); }, "Success,30", "put MYVIDPLAYER window at -2 -1 36 46\n"},
        {[](auto& c, auto&) { return c.hwndParent = 42, c.SetFilename("C:\\Videos\\clip.wmv"), c.PlayMEDIAFILE(3, true), std::string(c.IsPlaying ? "on" : ""); }, "on",
         Field("open C:\\VIDEOS\\CLIP.WMV type MPEGVideo Alias MYVIDPLAYER parent 42 Style 1073741824") + kLen +
             "rect 42\nput MYVIDPLAYER window at 0 0 800 600\nplay MYVIDPLAYER repeat \n"},
        {[](auto& c, auto&) { return c.RePlayMEDIAFILE(), std::string(c.IsPlaying ? "on" : ""); }, "on", "play MYVIDPLAYER\n"},
        {[](auto& c, auto&) { return c.SetAudioState(0, 0), c.SetAudioState(1, 3), c.SetAudioState(2, -1), c.SetAudioState(3, 0), c.SetAudioState(-1, 1), ""; }, "",
         "set MYVIDPLAYER audio right on\nset MYVIDPLAYER audio left off\nset MYVIDPLAYER audio all off\n"},
        {[](auto& c, auto&) { for (int t : {0, 1, 2, 3, -1}) c.SetTimeFormat(t); return ""; }, "",
         "set MYVIDPLAYER time format ms wait\nset MYVIDPLAYER time format tmsf wait\nset MYVIDPLAYER time format frames wait\n"},
        {[=](auto& c, auto&) { return c.setCommand(2), c.setCommand(6, "D:"), c.setCommand(1), c.setCommand(8), s(c.IsPlaying) + s(c.IsPaused); }, "01",
         "open  Type cdaudio alias MYVIDPLAYER wait shareable\nplay MYVIDPLAYER\nopen D: Type cdaudio alias MYVIDPLAYER wait shareable\n"
         "pause MYVIDPLAYER wait\nopen  Type cdaudio alias MYVIDPLAYER wait shareable\nstop MYVIDPLAYER\n"
         "open  Type cdaudio alias MYVIDPLAYER wait shareable\n"},
        {[=](auto& c, auto&) { return c.IsPlaying = true, c.setCommand(6), c.setCommand(5), c.setCommand(7), s(c.IsPlaying) + s(c.IsPaused); }, "10",
         "open  Type cdaudio alias MYVIDPLAYER wait shareable\npause MYVIDPLAYER wait\nopen  Type cdaudio alias MYVIDPLAYER wait shareable\n"
         "close MYVIDPLAYER\nopen  Type cdaudio alias MYVIDPLAYER wait shareable\nresume MYVIDPLAYER\n"},
        {[](auto& c, auto&) { return c.setCommand(3, "", -250), c.setCommand(4, "", 1500), ""; }, "",
         "open  Type cdaudio alias MYVIDPLAYER wait shareable\nset MYVIDPLAYER time format ms|128\nseek MYVIDPLAYER to -250\n"
         "play MYVIDPLAYER from -250\nopen  Type cdaudio alias MYVIDPLAYER wait shareable\nset MYVIDPLAYER speed 1500\n"},
        {[](auto& c, auto& r) { r.answers["status MYVIDPLAYER position"] = "4000.5"; std::string t; for (int n = 0; n <= 9; ++n) t += c.getStatusInfo(n) + ","; return t; },
         ",59500,playing,4000,,,99.5,,60,,",
         "set MYVIDPLAYER time format frames\nstatus MYVIDPLAYER length|256\nstatus MYVIDPLAYER mode|256\nset MYVIDPLAYER time format ms\n"
         "status MYVIDPLAYER position|256\nstatus MYVIDPLAYER time format|256\nStatus MYVIDPLAYER frame rate|256\nstatus MYVIDPLAYER speed |256\n"
         "status MYVIDPLAYER window handle|256\nset MYVIDPLAYER time format ms wait\nstatus MYVIDPLAYER length|256\n"},
        {[](auto& c, auto&) { return J({c.LENGTHFORMAT(2), c.LENGTHFORMAT(3), c.POSFORMAT(0), c.POSFORMAT(1), c.POSFORMAT(2), c.POSFORMAT(3)}); },
         "59500,,3,00:03,3000,", "set MYVIDPLAYER time format milliseconds\nstatus MYVIDPLAYER length|128\nset MYVIDPLAYER time format milliseconds\n"
         "set MYVIDPLAYER time format tmsf \nstatus MYVIDPLAYER position|256\nset MYVIDPLAYER time format milliseconds\n"
         "status MYVIDPLAYER position|256\nstatus MYVIDPLAYER position|256\n"},
        {[=](auto& c, auto& r) { r.answers["status MYVIDPLAYER position"] = "59.5e3"; return J({s(c.THE_ENDOFSONG(1)), s(c.THE_ENDOFSONG(7)), s(c.THE_ENDOFSONG(-1))}); }, "1,1,1",
         "set MYVIDPLAYER time format milliseconds\nstatus MYVIDPLAYER position|256\n" + kLen},
        {[=](auto& c, auto&) { return J({s(c.FRewind(10)), s(c.IsPlaying)}); }, "1,0",
         "set MYVIDPLAYER time format ms\nstatus MYVIDPLAYER position|256\nset MYVIDPLAYER time format ms|128\nplay MYVIDPLAYER from -7000\n"},
        {[=](auto& c, auto&) { return J({s(c.FForward(2147481)), s(c.FForward(-2147484)), s(c.FRewind(-2))}); }, "0,0,1",
         "set MYVIDPLAYER time format ms\nstatus MYVIDPLAYER position|256\nset MYVIDPLAYER time format ms|128\n"
         "set MYVIDPLAYER time format ms\nstatus MYVIDPLAYER position|256\nset MYVIDPLAYER time format ms|128\n"
         "set MYVIDPLAYER time format ms\nstatus MYVIDPLAYER position|256\nset MYVIDPLAYER time format ms|128\nplay MYVIDPLAYER from 5000\n"},
        {[=](auto& c, auto&) { return c.hwndParent = 3, c.HideDesktop(true), c.HideDesktop(false), s(c.GetHwndDesktop()); }, "77",
         "show 3 0\nshow 3 5\nfind Program Manager\n"},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Recorder rec;
        OrvantaClass c{rec};
        EXPECT_EQ(rows[i].op(c, rec), rows[i].result) << "row " << i;
        EXPECT_EQ(rec.log, rows[i].log) << "row " << i;
    }
}

// Faults: halves rounded away from zero, the seconds not carried into minutes, the minutes cut
// to two digits; an extension searched from the first dot, matched by prefix or in one case.
TEST(OrvantaClass, LengthsRoundHalvesToEvenAndExtensionsPickTheDevice) {
    for (const auto& [ms, seconds, clock] : {std::tuple{"59499", "59", "00:59"}, {"59500", "60", "01:00"}, {"58500", "58", "00:58"},
                                             {"125000", "125", "02:05"}, {"7500000", "7500", "125:00"}, {"x1", "0", "00:00"}}) {
        Recorder rec;
        OrvantaClass c{rec};
        rec.answers["status MYVIDPLAYER length"] = ms;
        EXPECT_EQ(c.LENGTHFORMAT(0) + " " + c.LENGTHFORMAT(1), std::string(seconds) + " " + clock) << ms;
    }
    for (const auto& [path, type] : {std::pair{"a.MID", "Sequencer"}, {"b.c\\clip.wmv", "MPEGVideo"}, {"CLIP~1.MPE", "MPEGVideo"},
                                     {"x.Avi", "MPEGVideo"}, {"song.mp3", ""}, {"x.av", ""}, {"x.avix", ""}, {"dir.avi\\noext", ""}, {"x.", ""}})
        EXPECT_EQ(DeviceTypeFor(path), type) << path;
}

}  // namespace
}  // namespace orv

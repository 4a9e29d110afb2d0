// The media player's command strings, return buffers and answers, against a recording device.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <utility>

#include "video/orvanta_class.h"

namespace orv {
namespace {

using namespace std::string_literals;

// Logs "command" (no answer wanted) or "command|buffer size"; answers in a NUL-filled buffer; short paths in upper case.
struct Recorder final : MediaControlPort {
    std::uint32_t SendString(const std::string& command, std::size_t chars, std::string& answer) override {
        log += command + (chars ? "|" + std::to_string(chars) : "") + "\n";
        if (chars) answer = (answers[command] + std::string(chars, '\0')).substr(0, chars);
        return codes[command.substr(0, command.find(' '))];
    }
    std::string ErrorString(std::uint32_t code, std::size_t n) override { return ("Error " + std::to_string(code) + "  \0junk"s + std::string(n, '\0')).substr(0, n); }
    ShortPathResult ShortPath(const std::string& path, std::size_t chars) override {
        std::string s = path;
        for (char& ch : s) ch = ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
        return {static_cast<std::uint32_t>(s.size()), s + std::string(chars - s.size(), '\0')};
    }
    MciRect WindowRect(MciWindow w) override { return log += "rect " + std::to_string(w) + "\n", MciRect{100, 50, 900, 650}; }
    MciWindow FindWindowByTitle(const std::string& title) override { return log += "find " + title + "\n", 77; }
    void ShowWindow(MciWindow w, int cmd) override { log += "show " + std::to_string(w) + " " + std::to_string(cmd) + "\n"; }
    std::string log;
    std::map<std::string, std::string> answers{{"status V length", "59500 \0junk"s}, {"status V position", "3000"}, {"status V mode", "playing  \0x"s},
                                               {"status V speed ", "995"}};
    std::map<std::string, std::uint32_t> codes;
};

// Joined with ","; a braced list is evaluated left to right.
std::string J(std::initializer_list<std::string> parts) { std::string out; for (auto& p : parts) out += "," + p; return out.substr(1); }
std::string Field(std::string open) { return open + std::string(255 - open.size(), ' ') + "\n"; }
const std::string kLen = "set V time format milliseconds\nstatus V length|256\n", kCd = "open  Type cdaudio alias V wait shareable\n",
                  kPos = "set V time format ms\nstatus V position|256\nset V time format ms|128\n";

// Faults: a wrong word, blank or case in a command; an answer read with the wrong buffer, past its NUL or with its
// blanks; the open field not padded or cut at 255; the long path or the fields instead of the arguments in the open;
// halves rounded up; the size not both taken from the window; a margin applied once; a flag changed by the wrong
// command; the skip target clamped or played after an overflow; minutes cut to two digits or seconds not carried;
// an extension searched from the first dot, matched by prefix or in one case.
TEST(OrvantaClass, SendsTheCommandStringsAndReadsTheAnswers) {
    auto s = [](auto v) { return std::to_string(v); };
    struct Row { std::function<std::string(OrvantaClass&, Recorder&)> op; std::string result, log; } rows[] = {
        {[](auto& c, auto&) { return c.SetFilename("C:\\Videos\\clip.wmv"), J({c.OpenMediaFile(1234, "MYVIDPLAYER", c.DeviceType()), c.MediaLength}); },
         "Success,60", Field("open C:\\VIDEOS\\CLIP.WMV type MPEGVideo Alias MYVIDPLAYER parent 1234 Style 1073741824") + kLen},
        {[](auto& c, auto& r) { return c.SetFilename("C:\\Music\\song.mp3"), r.codes["open"] = 263, c.OpenMediaFile(-5, "W", c.DeviceType()); },
         "Error 263", Field("open C:\\MUSIC\\SONG.MP3 type  Alias W parent -5 Style 1073741824") + kLen},
        {[](auto& c, auto&) { return c.SetFilename(std::string(240, 'p')), c.OpenMediaFile(1, "A", "T"); }, "Success",
         ("open " + std::string(240, 'P') + " type T Alias A parent 1 Style 10").substr(0, 255) + "\n" + kLen},
        {[=](auto& c, auto&) { int w = 0, h = 0; return J({c.MoveVideoTo(9, 10, 20, w, h, 5), s(w), s(h)}); }, "Success,800,600", "rect 9\nput V window at 15 25 790 590\n"},
        {[=](auto& c, auto& r) { int w = 300, h = 0; r.codes["put"] = 5; return J({c.MoveVideoTo(9, -1, 0, w, h, -3), s(c.LastError), s(w)}); },
         "Error 5,5,800", "rect 9\nput V window at -4 -3 806 606\n"},
        {[](auto& c, auto&) { return c.hwndParent = 42, c.SetFilename("C:\\clip.wmv"), c.PlayMEDIAFILE(3, true), std::string(c.IsPlaying ? "on" : ""); }, "on",
         Field("open C:\\CLIP.WMV type MPEGVideo Alias V parent 42 Style 1073741824") + kLen + "rect 42\nput V window at 0 0 800 600\nplay V repeat \n"},
        {[](auto& c, auto&) { for (int t : {0, 1, 2, 3, -1}) c.SetAudioState(t, t), c.SetTimeFormat(t); return ""; }, "",
         "set V audio right on\nset V time format ms wait\nset V audio left off\nset V time format tmsf wait\nset V audio all off\nset V time format frames wait\n"},
        {[=](auto& c, auto&) { for (int n : {6, 1, 2, 8, 5}) c.setCommand(n, n == 6 ? "D:" : ""); return J({s(c.IsPlaying) + s(c.IsPaused), (c.setCommand(7), s(c.IsPaused))}); },
         "11,0", "open D: Type cdaudio alias V wait shareable\npause V wait\n" + kCd + "stop V\n" + kCd + "play V\n" + kCd + kCd + "close V\n" + kCd + "resume V\n"},
        {[](auto& c, auto&) { return c.setCommand(3, "", -250), c.setCommand(4, "", 1500), ""; }, "",
         kCd + "set V time format ms|128\nseek V to -250\nplay V from -250\n" + kCd + "set V speed 1500\n"},
        {[](auto& c, auto& r) { std::string t; r.answers["status V position"] = "4000.5"; for (int n = 0; n < 10; ++n) t += c.getStatusInfo(n) + ","; return t; },
         ",59500,playing,4000,,,99.5,,60,,", "set V time format frames\nstatus V length|256\nstatus V mode|256\nset V time format ms\nstatus V position|256\n"
         "status V time format|256\nStatus V frame rate|256\nstatus V speed |256\nstatus V window handle|256\nset V time format ms wait\nstatus V length|256\n"},
        {[](auto& c, auto&) { return J({c.LENGTHFORMAT(2), c.LENGTHFORMAT(3), c.POSFORMAT(0), c.POSFORMAT(1), c.POSFORMAT(2), c.POSFORMAT(3)}); }, "59500,,3,00:03,3000,",
         "set V time format milliseconds\nstatus V length|128\nset V time format milliseconds\nset V time format tmsf \nstatus V position|256\n"
         "set V time format milliseconds\nstatus V position|256\nstatus V position|256\n"},
        {[=](auto& c, auto& r) { r.answers["status V position"] = "59.5e3"; return J({s(c.THE_ENDOFSONG(1)), s(c.THE_ENDOFSONG(7)), s(c.THE_ENDOFSONG(-1))}); },
         "1,1,1", "set V time format milliseconds\nstatus V position|256\n" + kLen},
        {[=](auto& c, auto&) { return J({s(c.FRewind(10)), s(c.FForward(2147481)), s(c.FForward(-2147484)), s(c.FRewind(-2)), s(c.IsPlaying)}); }, "1,0,0,1,0",
         kPos + "play V from -7000\n" + kPos + kPos + kPos + "play V from 5000\n"},
        {[=](auto& c, auto&) { return c.hwndParent = 3, c.RePlayMEDIAFILE(), c.HideDesktop(true), c.HideDesktop(false), s(c.GetHwndDesktop()) + s(c.IsPlaying); },
         "771", "play V\nshow 3 0\nshow 3 5\nfind Program Manager\n"},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Recorder rec;
        OrvantaClass c{rec};
        EXPECT_EQ(std::exchange(c.AliasName, "V"), "MYVIDPLAYER");
        EXPECT_EQ(rows[i].op(c, rec), rows[i].result) << "row " << i;
        EXPECT_EQ(rec.log, rows[i].log) << "row " << i;
    }
    Recorder rec;
    OrvantaClass c{rec};
    for (auto [ms, want] : {std::pair{"59499", "59,00:59"}, {"59500", "60,01:00"}, {"58500", "58,00:58"}, {"125000", "125,02:05"}, {"7500000", "7500,125:00"}})
        EXPECT_EQ((rec.answers["status MYVIDPLAYER length"] = ms, J({c.LENGTHFORMAT(0), c.LENGTHFORMAT(1)})), want) << ms;
    for (auto [path, type] : {std::pair{"a.MID", "Sequencer"}, {"b.c\\clip.wmv", "MPEGVideo"}, {"CLIP~1.MPE", "MPEGVideo"}, {"x.Avi", "MPEGVideo"},
                              {"song.mp3", ""}, {"x.av", ""}, {"x.avix", ""}, {"dir.avi\\noext", ""}, {"x.", ""}})
        EXPECT_EQ(DeviceTypeFor(path), type) << path;
}

}  // namespace
}  // namespace orv

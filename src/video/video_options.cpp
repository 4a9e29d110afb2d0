#include "video/video_options.h"

#include <cstdint>

namespace orv {

namespace {

// The first run's records of desktops 2 to 6 (desktop 1 has none): on, sound, repeat and the
// sample video beside the program ("" for none).
struct VideoDefault {
    int desk;
    bool on, sound, repeat;
    const char* file;
};
constexpr VideoDefault kVideoDefaults[] = {
    {2, true, true, true, "Love.wmv"},
    {3, true, false, true, "cubeturn2.avi"},
    {4, true, false, true, "Spheres2.avi"},
    {5, false, false, true, ""},
    {6, true, true, true, "jurrassic.wmv"},
};

// The next character of UTF-8 text at i; a byte that starts no valid sequence stands for
// itself, outside the range of characters.
std::uint32_t NextChar(std::string_view s, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint32_t>(static_cast<unsigned char>(s[k])); };
    const std::uint32_t b = byte(i);
    const int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= s.size()) return 0x110000 + byte(i++);
    std::uint32_t c = extra == 0 ? b : b & (0x3Fu >> extra);
    for (int k = 1; k <= extra; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0x110000 + byte(i++);
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return c;
}

std::uint32_t Fold(std::uint32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c + (c & 1);
    if (c == 0x178) return 0xFF;
    if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    return c;
}

}  // namespace

bool SameFileName(std::string_view a, std::string_view b) {
    std::size_t i = 0, k = 0;
    while (i < a.size() && k < b.size())
        if (Fold(NextChar(a, i)) != Fold(NextChar(b, k))) return false;
    return i == a.size() && k == b.size();
}

void LoadVideoSetting(SettingsStore& store, VideoOptions& options, int desk, std::string_view appFolder) {
    if (VideoDefaultsPending(store)) {
        for (const VideoDefault& d : kVideoDefaults) {
            VideoOptionRecord& r = options[static_cast<std::size_t>(d.desk)];
            r = {d.on, d.sound, d.repeat, *d.file ? std::string(appFolder) + "\\" + d.file : std::string()};
            SaveVideoSetting(store, options, d.desk);
        }
        MarkVideoDefaultsWritten(store);
    }
    options[static_cast<std::size_t>(desk)] = ReadVideoSetting(store, desk);
}

void SaveVideoSetting(SettingsStore& store, const VideoOptions& options, int desk) {
    WriteVideoSetting(store, desk, options[static_cast<std::size_t>(desk)]);
}

bool WasChange(const VideoOptionRecord& record, const VideoOptionRecord& row) {
    return row.on != record.on || row.sound != record.sound || row.repeat != record.repeat ||
           !SameFileName(row.file, record.file);
}

VideoDialogResult AcceptVideoOptions(VideoOptions& options, const VideoOptionRows& rows, int currentDesk) {
    VideoDialogResult result;
    result.IsChanged = WasChange(options[static_cast<std::size_t>(currentDesk)], rows[static_cast<std::size_t>(currentDesk - 1)]);
    for (int desk = 1; desk <= kVideoDesks; ++desk) options[static_cast<std::size_t>(desk)] = rows[static_cast<std::size_t>(desk - 1)];
    result.IsOk = true;
    return result;
}

}  // namespace orv

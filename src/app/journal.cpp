#include "app/journal.h"

#include <charconv>
#include <utility>

namespace orv {

namespace {
constexpr std::string_view kHeader = "OrvantaJournal\t1";
constexpr int kShowCmdMax = 11;  // the highest show command the system defines

std::uint32_t Fnv1a(std::string_view s) {
    std::uint32_t h = 2166136261u;
    for (unsigned char c : s) h = (h ^ c) * 16777619u;
    return h;
}

// Fields are separated by tabs and lines by line feeds, so both (and '%', and every other
// control character) are written as %XX inside class names and titles.
std::string Escape(std::string_view s) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (c < 0x20 || c == '%' || c == 0x7F) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> Unescape(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (static_cast<unsigned char>(s[i]) < 0x20) return std::nullopt;
        if (s[i] != '%') {
            out += s[i];
            continue;
        }
        if (i + 2 >= s.size()) return std::nullopt;
        const int hi = HexDigit(s[i + 1]), lo = HexDigit(s[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

std::vector<std::string_view> Split(std::string_view line) {
    std::vector<std::string_view> f;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        f.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return f;
        start = tab + 1;
    }
}

// A whole field as a number of type T within [lo, hi]: no sign for unsigned, no blanks.
template <class T>
bool Number(std::string_view f, T lo, T hi, T& out, int base = 10) {
    if (f.empty()) return false;
    const auto [end, ec] = std::from_chars(f.data(), f.data() + f.size(), out, base);
    return ec == std::errc() && end == f.data() + f.size() && out >= lo && out <= hi;
}

bool Fail(std::string* why, const char* reason) {
    if (why) *why = reason;
    return false;
}

bool ParseWindow(const std::vector<std::string_view>& f, JournalWindow& w) {
    if (f.size() != 8) return false;
    std::optional<std::string> cls = Unescape(f[6]), title = Unescape(f[7]);
    if (!cls || !title) return false;
    w.owner.className = std::move(*cls);
    w.title = std::move(*title);
    return Number(f[1], 1, kDeskCount, w.desk) && Number<WindowId>(f[2], INT32_MIN, INT32_MAX, w.handle) &&
           Number(f[3], 0, kShowCmdMax, w.showCmd) &&
           Number<std::uint32_t>(f[4], 0, UINT32_MAX, w.owner.pid) &&
           Number<std::uint64_t>(f[5], 0, UINT64_MAX, w.owner.processStart);
}
}  // namespace

std::string FormatJournal(const JournalState& s) {
    std::string t(kHeader);
    t += "\ncurrent\t" + std::to_string(s.currentDesk) + "\nicons\t" + std::to_string(s.iconsDesk) + "\n";
    for (const JournalWindow& w : s.windows) {
        t += "window\t" + std::to_string(w.desk) + "\t" + std::to_string(w.handle) + "\t" +
             std::to_string(w.showCmd) + "\t" + std::to_string(w.owner.pid) + "\t" +
             std::to_string(w.owner.processStart) + "\t" + Escape(w.owner.className) + "\t" + Escape(w.title) + "\n";
    }
    char sum[9];
    const auto r = std::to_chars(sum, sum + 8, Fnv1a(t), 16);
    t += "end\t" + std::to_string(s.windows.size()) + "\t" + std::string(sum, r.ptr) + "\n";
    return t;
}

std::optional<JournalState> ParseJournal(std::string_view text, std::string* why) {
    // The end line closes the text; a torn write has none or one whose checksum disagrees.
    if (text.empty() || text.back() != '\n') return Fail(why, "no end line"), std::nullopt;
    const std::size_t endStart = text.rfind('\n', text.size() - 2);
    if (endStart == std::string_view::npos) return Fail(why, "no end line"), std::nullopt;
    const std::string_view body = text.substr(0, endStart + 1);
    const auto end = Split(text.substr(endStart + 1, text.size() - endStart - 2));
    std::size_t count = 0;
    std::uint32_t sum = 0;
    if (end.size() != 3 || end[0] != "end" || !Number<std::size_t>(end[1], 0, body.size(), count) ||
        !Number<std::uint32_t>(end[2], 0, UINT32_MAX, sum, 16))
        return Fail(why, "no end line"), std::nullopt;
    if (sum != Fnv1a(body)) return Fail(why, "checksum mismatch"), std::nullopt;

    JournalState s;
    std::size_t lineNo = 0;
    for (std::size_t pos = 0; pos < body.size(); ++lineNo) {
        const std::size_t nl = body.find('\n', pos);
        const auto f = Split(body.substr(pos, nl - pos));
        pos = nl + 1;
        bool ok = false;
        if (lineNo == 0) {
            ok = body.substr(0, nl) == kHeader;
            if (!ok) return Fail(why, "unknown header"), std::nullopt;
        } else if (lineNo == 1) {
            ok = f.size() == 2 && f[0] == "current" && Number(f[1], 1, kDeskCount, s.currentDesk);
        } else if (lineNo == 2) {
            ok = f.size() == 2 && f[0] == "icons" && Number(f[1], kIconsShared, kDeskCount, s.iconsDesk);
        } else if (f[0] == "window") {
            JournalWindow w;
            ok = ParseWindow(f, w);
            if (ok) s.windows.push_back(std::move(w));
        }
        if (!ok) return Fail(why, "bad line"), std::nullopt;
    }
    if (lineNo < 3) return Fail(why, "missing lines"), std::nullopt;
    if (count != s.windows.size()) return Fail(why, "window count mismatch"), std::nullopt;
    return s;
}

namespace {
constexpr std::string_view kSlotTag = "OrvantaSlot\t";
}

std::string FormatSlot(std::uint64_t number, std::string_view journal) {
    return std::string(kSlotTag) + std::to_string(number) + "\t" + std::to_string(journal.size()) + "\n" + std::string(journal);
}

JournalSlot ParseSlot(std::string_view file) {
    if (!file.starts_with(kSlotTag)) return {0, std::string(file)};
    const std::size_t lineEnd = file.find('\n');
    const std::size_t tab = file.find('\t', kSlotTag.size());
    if (lineEnd == std::string_view::npos || tab == std::string_view::npos || tab > lineEnd) return {};
    JournalSlot s;
    std::size_t length = 0;
    if (!Number(file.substr(kSlotTag.size(), tab - kSlotTag.size()), std::uint64_t{1}, UINT64_MAX, s.number) ||
        !Number(file.substr(tab + 1, lineEnd - tab - 1), std::size_t{0}, file.size() - lineEnd - 1, length))
        return {};
    s.text = file.substr(lineEnd + 1, length);
    return s;
}

std::optional<std::string> NewestJournal(std::vector<JournalSlot> slots) {
    JournalSlot* best = nullptr;
    bool bestWhole = false;
    for (JournalSlot& s : slots) {
        const bool whole = ParseJournal(s.text).has_value();
        if (!best || (whole && !bestWhole) || (whole == bestWhole && s.number > best->number)) {
            best = &s;
            bestWhole = whole;
        }
    }
    if (!best) return std::nullopt;
    return std::move(best->text);
}

int RecoverWindows(const JournalState& s, JournalOps& ops, int* skipped) {
    int shown = 0, left = 0;
    for (const JournalWindow& w : s.windows) {
        // Gone, reused by another process or class, or already visible: not ours to touch.
        const std::optional<WindowOwner> now = ops.Owner(w.handle);
        if (now && *now == w.owner && !ops.IsVisible(w.handle)) {
            ops.ShowAsync(w.handle, w.showCmd == kSwHide ? kSwShowNormal : w.showCmd);
            ++shown;
        } else {
            ++left;
        }
    }
    if (skipped) *skipped = left;
    return shown;
}

bool DeskJournal::Write(const DeskWindows& windows, int currentDesk, int iconsDesk, int departingDesk,
                        int shownDesk) {
    JournalState s{currentDesk, iconsDesk, {}};
    std::map<WindowId, KnownOwner> owners;
    for (int desk = 1; desk <= kDeskCount; ++desk) {
        for (const DeskWindowEntry& e : windows.DeskWindowList(desk)) {
            // An owner is looked up once per window, and kept while the window stays on
            // a desktop, shown or not. A departing window was enumerated afresh: its handle
            // may have been reused since, unless it still names the same thread and process.
            auto known = owners_.find(e.handle);
            const bool same = known != owners_.end() &&
                              (desk != departingDesk || (e.thread != 0 && e.thread == known->second.thread &&
                                                         e.process == known->second.owner.pid));
            std::optional<WindowOwner> owner;
            if (same) owner = known->second.owner;
            else if (desk != shownDesk) owner = ops_.Owner(e.handle);
            if (!owner) continue;  // closed already: nothing to bring back
            owners[e.handle] = {*owner, e.thread};
            if (desk != shownDesk) s.windows.push_back({desk, e.handle, e.showCmd, *owner, e.title});
        }
    }
    owners_ = std::move(owners);
    ++writes_;
    return ops_.Write(FormatJournal(s), iconsDesk != kIconsShared);
}

}  // namespace orv

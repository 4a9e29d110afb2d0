#include "tray/tray_events.h"

namespace orv {

namespace {
constexpr std::uint32_t kMouseMove = 512, kFirstButtonCode = 513, kLastButtonCode = 521;
constexpr std::uint32_t kBalloonShow = 1026, kBalloonHide = 1027, kBalloonTimeout = 1028, kBalloonUserClick = 1029;
}  // namespace

TrayNotification MapTrayNotification(std::uint32_t code) {
    if (code == kMouseMove) return {TrayEvent::MouseMove};
    if (code >= kFirstButtonCode && code <= kLastButtonCode) {
        // Three codes per button (down, up, double click): left, then right, then middle.
        constexpr TrayEvent kinds[] = {TrayEvent::MouseDown, TrayEvent::MouseUp, TrayEvent::MouseDblClick};
        constexpr int buttons[] = {1, 2, 4};
        const std::uint32_t i = code - kFirstButtonCode;
        return {kinds[i % 3], buttons[i / 3]};
    }
    switch (code) {
        case kBalloonShow: return {TrayEvent::BalloonShow};
        case kBalloonHide: return {TrayEvent::BalloonHide, 0, true};
        case kBalloonTimeout: return {TrayEvent::BalloonClose, 0, true};
        case kBalloonUserClick: return {TrayEvent::BalloonClick, 0, true};
        default: return {};
    }
}

NotifyRecord NotifyRecordFor(std::optional<std::uint32_t> fileVersionMS) {
    if (!fileVersionMS) return NotifyRecord::Unknown;
    const std::uint32_t major = *fileVersionMS >> 16;
    if (major < 5) return NotifyRecord::V1;
    return major == 5 ? NotifyRecord::V2 : NotifyRecord::V3;
}

std::string TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::size_t FieldLength(std::u16string_view text, std::size_t field) {
    if (field == 0) return 0;
    if (text.size() < field) return text.size();
    std::size_t n = field - 1;
    // A high surrogate as the last unit would lose its partner.
    if (n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
    return n;
}

}  // namespace orv

// The tray icon's decisions: which event a notification code raises, which record the
// shell's version allows, and how texts go into the record's fixed fields. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

// The icon's notifications arrive as the callback message (512, the value of WM_MOUSEMOVE)
// with the notification code as the second message parameter.
inline constexpr std::uint32_t kTrayCallbackMessage = 512;

enum class TrayEvent {
    None, MouseMove, MouseDown, MouseUp, MouseDblClick, BalloonShow, BalloonHide, BalloonClose, BalloonClick
};

struct TrayNotification {
    TrayEvent event = TrayEvent::None;
    int button = 0;                  // mouse button events: 1 left, 2 right, 4 middle
    bool stopsBalloonTimer = false;  // the balloon went away: hidden, timed out or clicked
    bool operator==(const TrayNotification&) const = default;
};

TrayNotification MapTrayNotification(std::uint32_t code);

// The notify record the shell understands, by its size in bytes: the first shells' 88
// (no balloons), version 5's 488, version 6's 504; none (0) when the version is unknown.
enum class NotifyRecord : std::uint32_t { Unknown = 0, V1 = 88, V2 = 488, V3 = 504 };

// From the most significant part of the shell library's file version (major in the high
// word), or nullopt when the version could not be read.
NotifyRecord NotifyRecordFor(std::optional<std::uint32_t> fileVersionMS);

// Balloons need a record larger than the first shells' 88 bytes.
inline bool IsBalloonCapable(NotifyRecord r) { return static_cast<std::uint32_t>(r) >= 89; }

// Sizes of the record's text fields in UTF-16 units, the terminating NUL included.
inline constexpr std::size_t kTipField = 128;
inline constexpr std::size_t kBalloonTextField = 256;
inline constexpr std::size_t kBalloonTitleField = 64;

// The tip as it is kept: blanks removed at both ends.
std::string TrimBlanks(std::string_view text);

// How many units of text fit before the NUL in a field of `field` units: at most
// field - 1, and a surrogate pair is never cut in half.
std::size_t FieldLength(std::u16string_view text, std::size_t field);

}  // namespace orv

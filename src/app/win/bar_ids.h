// Control identifiers of the bar's children (also used by the end-to-end tests).
#pragma once

namespace orv {

inline constexpr wchar_t kBarClass[] = L"OrvantaBar";
inline constexpr int kIdDesk0 = 1000;       // cmdDesk 0..5: 1000..1005
inline constexpr int kIdSnap = 1010;        // cmdSnap
inline constexpr int kIdVideo = 1011;       // cmdVideo
inline constexpr int kIdSetting = 1012;     // cmdSetting
inline constexpr int kIdImgButton4 = 1024;  // quit
inline constexpr int kIdImgButton5 = 1025;  // hide the bar

}  // namespace orv

// The per-desktop video choices: the six records (VideoOptions), how they are loaded with
// their first-run defaults and saved, and what the video settings dialog's OK decides. The
// Win32 dialog, the settings load and save, and the desktop switch all go through here.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "settings/control_settings.h"
#include "settings/settings_store.h"

namespace orv {

inline constexpr int kVideoDesks = 6;

// One desktop's choice: on, sound, repeat and the video file (which may be empty). It is
// the stored form as it is: the four keys "Video" & n & "On" / "Sound" / "Repeat" / "File".
using VideoOptionRecord = VideoSetting;

// Indexes 1 to 6 are the desktops; index 0 is never used.
using VideoOptions = std::array<VideoOptionRecord, kVideoDesks + 1>;

// The rows of the video settings dialog, desktops 1 to 6 at indexes 0 to 5.
using VideoOptionRows = std::array<VideoOptionRecord, kVideoDesks>;

// Reads desktop desk's record into options[desk]. While "VideoDefault" reads 1 (the first
// run), the defaults of desktops 2 to 6 are set and saved first, with their sample videos in
// appFolder (the program's folder, no trailing separator), and "VideoDefault" becomes "0";
// desktop 1's record and keys stay as they are.
void LoadVideoSetting(SettingsStore& store, VideoOptions& options, int desk, std::string_view appFolder);

// Writes options[desk] to the store.
void SaveVideoSetting(SettingsStore& store, const VideoOptions& options, int desk);

// True when a row differs from the record it showed: any box, or the file name other than by
// letter case (file names on Windows ignore it).
bool WasChange(const VideoOptionRecord& record, const VideoOptionRecord& row);

// File names equal when letter case is ignored (ASCII, Latin-1, Latin Extended-A, Greek and
// Cyrillic letters; anything else compares as it is).
bool SameFileName(std::string_view a, std::string_view b);

// How the dialog closed: IsOk when OK closed it, IsChanged when the current desktop's
// record differs from what the dialog showed at opening.
struct VideoDialogResult {
    bool IsOk = false;
    bool IsChanged = false;
    // The opener re-applies the current desktop's video only then.
    bool AppliesCurrentDesktop() const { return IsOk && IsChanged; }
};

// OK: the current desktop's row is compared with its record, then every row is written into
// its record (a case-only change of a file name is taken too, though it is no change).
VideoDialogResult AcceptVideoOptions(VideoOptions& options, const VideoOptionRows& rows, int currentDesk);

}  // namespace orv

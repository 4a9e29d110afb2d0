// Where the desktop video's window goes so that it shows behind the desktop icons, decided
// from the shell's windows as they are found (never from a version number):
//
// - The icons in a "SHELLDLL_DefView" inside a top-level "WorkerW" (the shell makes that one
//   and a second, empty "WorkerW" behind it when "Progman" is asked to): the video goes
//   into the empty one, the first "WorkerW" behind the icons' one.
// - "SHELLDLL_DefView" and a "WorkerW" both children of "Progman": the video is a child of
//   "Progman" right behind the icon layer, in front of that "WorkerW".
// - Otherwise "Progman" ("Program Manager") itself, behind its icon layer when it has one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/desktop_look.h"

namespace orv {

using ShellWindowId = std::uint64_t;

// A window of the shell with its child windows; lists run in z-order, the top one first.
struct ShellWindow {
    ShellWindowId id = 0;
    std::string className;
    std::vector<ShellWindow> children;
};

inline constexpr const char* kProgmanClass = "Progman";
inline constexpr const char* kWorkerClass = "WorkerW";
inline constexpr const char* kIconViewClass = "SHELLDLL_DefView";
// Asks "Progman" for the icons' "WorkerW" and the one behind it (wParam 0xD, then lParam 0
// and 1).
inline constexpr unsigned kSpawnWorkerMessage = 0x052C;

enum class VideoHostKind {
    None,              // no "Progman": no parent (the media device's own window)
    AskShell,          // no icon layer of the shell's own making yet: send the message, look again
    BehindIconWorker,  // the empty "WorkerW" behind the icons' one
    InsideProgman,     // a child of "Progman" right behind its icon layer
    Progman,           // "Progman" itself
};

struct VideoHostPlan {
    VideoHostKind kind = VideoHostKind::None;
    ShellWindowId parent = 0;
    // The window the video sits right behind, among the parent's children; 0: in front of
    // them all.
    ShellWindowId behind = 0;
    bool operator==(const VideoHostPlan&) const = default;
};

// topLevel: the top-level windows in z-order (the skin may list only the shell's classes).
// askedShell: the spawn message was sent already.
VideoHostPlan ChooseVideoHost(const std::vector<ShellWindow>& topLevel, bool askedShell);

const char* VideoHostKindName(VideoHostKind kind);

// The backdrop while a video plays: the flat colour RGB(16, 0, 16), no wallpaper, the
// wallpaper's style left as it is.
inline constexpr std::uint32_t kVideoBackdropColour = 0x00100010;
LookRequest VideoBackdropLook();
// Requests the backdrop (put on the screen by the look's worker, never waited for).
void PrepareVideoBackdrop(LookOps& ops);

}  // namespace orv

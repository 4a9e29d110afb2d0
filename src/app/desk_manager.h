// The desktop switch and the one entry point of every desktop request.
#pragma once

#include <string>

#include "app/desk_windows.h"
#include "app/desktop_look.h"
#include "app/journal.h"

namespace orv {

// The requests of DoAction: a desktop number from kActionFirstDesk to kActionLastDesk
// switches to that desktop; numbers up to kActionLastDesk (0 and below too) mark that
// desktop's button; numbers from kActionEnd up and those without a meaning do nothing.
inline constexpr int kActionFirstDesk = 1;
inline constexpr int kActionLastDesk = kDeskCount;
inline constexpr int kActionHideBar = 90;
inline constexpr int kActionQuit = 99;
inline constexpr int kActionEnd = 100;

// What a request changes on the bar and the tray menu, and the quit dialogue.
class DeskUi {
public:
    virtual ~DeskUi() = default;
    // The current desktop's bar button and tray menu item are marked, the others not.
    virtual void MarkCurrentDesk(int desk) = 0;
    virtual void HideBar() = 0;
    // "Do you want to quit?": true on Yes.
    virtual bool ConfirmQuit() = 0;
    virtual void EndApplication() = 0;
};

// Moves every entry named by a pattern ("folder\*") into a folder, merging folders and
// keeping both entries where names meet otherwise.
class IconShelf {
public:
    virtual ~IconShelf() = default;
    virtual void ShellMoveFiles(const std::string& sourcePattern, const std::string& targetFolder) = 0;
};

// The video wallpaper as the switch sees it. NoDesktopVideo stands in where there is no
// player: nothing runs and no desktop's video is on.
class DesktopVideo {
public:
    virtual ~DesktopVideo() = default;
    virtual bool VideoRunning() const = 0;
    virtual void StopDesktopVideo() = 0;
    virtual bool VideoOn(int desk) const = 0;
    virtual void PlayDesktopVideo(int desk) = 0;
    // Shutdown: stop and release the player.
    virtual void ReleaseVideo() = 0;
};

class NoDesktopVideo final : public DesktopVideo {
public:
    bool VideoRunning() const override { return false; }
    void StopDesktopVideo() override {}
    bool VideoOn(int) const override { return false; }
    void PlayDesktopVideo(int) override {}
    void ReleaseVideo() override {}
};

struct DeskManagerDeps {
    DeskWindows& windows;
    DesktopLook& look;
    IconShelf& icons;
    DesktopVideo& video;
    DeskUi& ui;
};

class DeskManager {
public:
    DeskManager(DeskManagerDeps deps, std::string desktopFolder, std::string iconFolderBase);

    // One of the kAction requests above. Requests that arrive while one runs are dropped.
    void DoAction(int index);

    // Shutdown: releases the video, puts desktop 1's look back, shows every recorded window
    // of every desktop again and, with icons per desktop, puts desktop 1's files back on the
    // Desktop, whichever desktop is current. Desktop 1 is current afterwards.
    void RestoreAllDesktops();

    // After the video settings changed the current desktop's record: its video stops (or
    // its look is saved), then its video plays (or its look comes back), as a switch does.
    void ApplyCurrentDesktopVideo();

    int CurrentDesk() const { return current_; }
    bool Busy() const { return busy_; }
    void SetSharedIcons(bool on) { sharedIcons_ = on; }
    // The journal written before windows are hidden and removed once all are back (none:
    // nothing is journalled).
    void SetJournal(DeskJournal* journal) { journal_ = journal; }

private:
    void SwitchDesktop(int desk);
    // The video's share of a switch: before the desktop left is gone, after the one entered
    // is current.
    void LeaveDesktopVideo(int desk);
    void EnterDesktopVideo(int desk);
    std::string IconFolder(int desk) const;
    void WriteJournal(int currentDesk, int iconsDesk, int departingDesk, int shownDesk);

    DeskManagerDeps d_;
    std::string desktopFolder_;
    std::string iconFolderBase_;  // DataFolder & IconFolderPrefix
    int current_ = 1;
    bool busy_ = false;
    bool sharedIcons_ = true;
    DeskJournal* journal_ = nullptr;
};

}  // namespace orv

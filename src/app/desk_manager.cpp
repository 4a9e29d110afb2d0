#include "app/desk_manager.h"

namespace orv {

DeskManager::DeskManager(DeskManagerDeps deps, std::string desktopFolder, std::string iconFolderBase)
    : d_(deps), desktopFolder_(std::move(desktopFolder)), iconFolderBase_(std::move(iconFolderBase)) {}

std::string DeskManager::IconFolder(int desk) const { return iconFolderBase_ + std::to_string(desk); }

void DeskManager::DoAction(int index) {
    if (busy_) return;
    busy_ = true;
    // Cleared however the request ends.
    struct Clear {
        bool& b;
        ~Clear() { b = false; }
    } clear{busy_};

    if (index <= kActionLastDesk) d_.ui.MarkCurrentDesk(index);
    if (index != 0 && index < kActionEnd) {
        if (index >= kActionFirstDesk && index <= kActionLastDesk) {
            SwitchDesktop(index);
        } else if (index == kActionHideBar) {
            d_.ui.HideBar();
        } else if (index == kActionQuit) {
            if (d_.ui.ConfirmQuit()) d_.ui.EndApplication();
        }
    }
}

void DeskManager::RestoreAllDesktops() {
    d_.video.ReleaseVideo();
    d_.look.RestoreDesktopLook(1);
    for (int desk = 1; desk <= kDeskCount; ++desk) d_.windows.Replay(desk);
    // The next start takes the Desktop folder's files for desktop 1's: the current
    // desktop's files go to its own folder and desktop 1's come back.
    if (!sharedIcons_ && current_ != 1) {
        d_.icons.ShellMoveFiles(desktopFolder_ + "\\*", IconFolder(current_));
        d_.icons.ShellMoveFiles(IconFolder(1) + "\\*", desktopFolder_);
    }
    current_ = 1;
}

void DeskManager::SwitchDesktop(int desk) {
    if (desk == current_) return;

    d_.windows.RecordDeparture(current_);
    if (d_.video.VideoRunning()) d_.video.StopDesktopVideo();
    else d_.look.SaveDesktopLook(current_);

    if (!sharedIcons_) d_.icons.ShellMoveFiles(desktopFolder_ + "\\*", IconFolder(current_));
    current_ = desk;
    if (!sharedIcons_) d_.icons.ShellMoveFiles(IconFolder(current_) + "\\*", desktopFolder_);

    if (d_.video.VideoOn(current_)) d_.video.PlayDesktopVideo(current_);
    else d_.look.RestoreDesktopLook(current_);

    d_.windows.Replay(current_);
}

}  // namespace orv

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
    // desktop's files go to its own folder and desktop 1's come back, each phase journalled
    // like a switch's.
    if (!sharedIcons_ && current_ != 1) {
        d_.icons.ShellMoveFiles(desktopFolder_ + "\\*", IconFolder(current_));
        WriteJournal(1, 1, 0, 0);
        d_.icons.ShellMoveFiles(IconFolder(1) + "\\*", desktopFolder_);
    }
    current_ = 1;
    if (journal_) journal_->Remove();  // every window and file is back: nothing left to recover
}

// A desktop's look is only saved while no video plays: a video desktop never overwrites the
// look of the desktop it replaces.
void DeskManager::LeaveDesktopVideo(int desk) {
    if (d_.video.VideoRunning()) d_.video.StopDesktopVideo();
    else d_.look.SaveDesktopLook(desk);
}

void DeskManager::EnterDesktopVideo(int desk) {
    if (d_.video.VideoOn(desk)) d_.video.PlayDesktopVideo(desk);
    else d_.look.RestoreDesktopLook(desk);
}

void DeskManager::ApplyCurrentDesktopVideo() {
    if (Busy()) return;  // a switch in progress applies the records itself
    const int desk = current_;
    LeaveDesktopVideo(desk);
    EnterDesktopVideo(desk);
}

void DeskManager::WriteJournal(int currentDesk, int iconsDesk, int departingDesk, int shownDesk) {
    if (!journal_) return;
    journal_->Write(d_.windows, currentDesk, sharedIcons_ ? kIconsShared : iconsDesk, departingDesk, shownDesk);
}

void DeskManager::SwitchDesktop(int desk) {
    if (desk == current_) return;
    struct Held {
        DesktopLook& look;
        explicit Held(DesktopLook& l) : look(l) { look.HoldLooks(true); }
        ~Held() { look.HoldLooks(false); }
    } held(d_.look);

    // One journal write per phase, never one per window: the windows of every desktop and
    // the ones about to be hidden, then which desktop's files the Desktop folder holds once
    // they change, then without the windows shown again.
    d_.windows.PlanDeparture(current_);
    WriteJournal(desk, current_, current_, 0);
    d_.windows.HideDeparted(current_);
    LeaveDesktopVideo(current_);

    if (!sharedIcons_) d_.icons.ShellMoveFiles(desktopFolder_ + "\\*", IconFolder(current_));
    current_ = desk;
    if (!sharedIcons_) {
        WriteJournal(current_, current_, 0, 0);
        d_.icons.ShellMoveFiles(IconFolder(current_) + "\\*", desktopFolder_);
    }

    EnterDesktopVideo(current_);

    d_.windows.Replay(current_);
    if (!d_.windows.DeskWindowList(current_).empty()) WriteJournal(current_, current_, 0, current_);
}

}  // namespace orv

// The desktop's colour and wallpaper through the system's calls.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "app/desktop_look.h"
#include "app/win/look_worker.h"

namespace orv {

// Puts the look on the screen, broadcasting only what changes. Waits while an application
// hangs: the look worker's job.
void PutLookOnScreen(const LookRequest& look);
// The same, but the colour is set even when this process reads it as set already: a process
// that read the colours long ago may be given its old view of them (Wine keeps them).
void PutLookOnScreenSettingColour(const LookRequest& look);

// Reads on the calling thread (no broadcast); looks go onto the screen on the look worker.
class Win32LookOps final : public LookOps {
public:
    explicit Win32LookOps(LookWorker::Apply apply = &PutLookOnScreen) : worker_(apply) {}
    std::uint32_t GetBackgroundColor() override;
    std::string RegGetString(const std::string& subkey, const std::string& name) override;
    bool ShellCopyFiles(const std::string& source, const std::string& target) override;
    void RequestLook(const LookRequest& look) override { worker_.Request(look); }
    bool LookShown() override { return worker_.Shown(); }
    // Shown, and every program told.
    bool LookDone() const { return worker_.Idle(); }
    // A released look waits for the programs of the windows the switch hid, as given by
    // departed (none when not set).
    void HoldLooks(bool held) override { worker_.Hold(held, !held && departed_ ? departed_() : std::vector<HWND>{}); }
    void SetDepartedSource(std::function<std::vector<HWND>()> departed) { departed_ = std::move(departed); }
    // Waits up to ms for the looks requested to be on the screen; logs when they are not.
    bool FinishLook(DWORD ms);

private:
    LookWorker worker_;
    std::function<std::vector<HWND>()> departed_;
};

}  // namespace orv

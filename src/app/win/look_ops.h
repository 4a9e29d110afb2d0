// The desktop's colour and wallpaper through the system's calls.
#pragma once

#include "app/desktop_look.h"
#include "app/win/thread_probe.h"

namespace orv {

class Win32LookOps final : public LookOps {
public:
    std::uint32_t GetBackgroundColor() override;
    void SetBackgroundColor(std::uint32_t colour) override;
    std::string RegGetString(const std::string& subkey, const std::string& name) override;
    bool RegSetString(const std::string& subkey, const std::string& name, const std::string& text) override;
    bool ShellCopyFiles(const std::string& source, const std::string& target) override;
    bool ApplyWallpaperFile(const std::string& path) override;
    bool BroadcastSafe() override { return probe_.AllResponsive(); }

private:
    ThreadProbe probe_;
    bool styleChanged_ = false;  // a style value changed since the wallpaper was applied
};

// The wallpaper changes at once, is written to the user profile and broadcast.
bool ApplyWallpaperFile(const std::string& path);

}  // namespace orv

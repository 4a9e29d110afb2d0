// Fakes for the hearts' seams: they keep a little world and record every call.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/desk_manager.h"
#include "app/desk_windows.h"
#include "app/desktop_look.h"

namespace orv::test {

struct FakeWindow {
    WindowId id;
    std::string title;
    int showCmd = kSwShowNormal;  // placement show command
    int visible = 1;              // what IsWindowVisible returns
    bool closed = false;
};

class FakeWindowOps : public WindowOps {
public:
    WindowId Add(std::string title, int showCmd = kSwShowNormal, int visible = 1) {
        WindowId id = static_cast<WindowId>(windows.size() + 1);
        windows.push_back({id, std::move(title), showCmd, visible});
        return id;
    }
    FakeWindow& W(WindowId id) { return windows.at(static_cast<std::size_t>(id - 1)); }

    void EnumerateTopLevel(const std::function<void(WindowId, const std::string&)>& visit) override {
        for (const auto& w : windows)
            if (!w.closed) visit(w.id, w.title);
    }
    int ShowCommand(WindowId id) override { return W(id).showCmd; }
    int IsVisible(WindowId id) override { return W(id).closed ? 0 : W(id).visible; }
    bool Show(WindowId id, int cmd) override {
        shows.push_back({id, cmd});
        FakeWindow& w = W(id);
        if (w.closed) return false;
        w.visible = cmd == kSwHide ? 0 : 1;
        if (cmd != kSwHide) w.showCmd = cmd;
        return true;
    }

    std::vector<FakeWindow> windows;
    std::vector<std::pair<WindowId, int>> shows;
};

class FakeLookOps : public LookOps {
public:
    std::uint32_t GetBackgroundColor() override { return colour; }
    void SetBackgroundColor(std::uint32_t c) override {
        colour = c;
        log.push_back("colour " + std::to_string(c));
    }
    std::string RegGetString(const std::string& subkey, const std::string& name) override {
        auto it = reg.find(name);
        (void)subkey;
        return it == reg.end() ? std::string() : it->second;
    }
    bool RegSetString(const std::string&, const std::string& name, const std::string& text) override {
        reg[name] = text.empty() ? " " : text;
        log.push_back("reg " + name + "=" + text);
        return true;
    }
    bool ShellCopyFiles(const std::string& from, const std::string& to) override {
        log.push_back("copy " + from + " -> " + to);
        return true;
    }
    bool ApplyWallpaperFile(const std::string& path) override {
        reg["Wallpaper"] = path;
        log.push_back("apply " + path);
        return true;
    }

    bool BroadcastSafe() override { return safe; }

    std::uint32_t colour = 0;
    bool safe = true;
    std::map<std::string, std::string> reg;
    std::vector<std::string> log;
};

}  // namespace orv::test

// Fakes for the hearts' seams: a little world that writes every change it is asked for into
// a journal, so the order of calls across seams can be checked.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/desk_manager.h"
#include "hotkeys/hotkey_api.h"
#include "settings/settings.h"

namespace orv::test {

using Journal = std::vector<std::string>;

// Settings in memory under "SECTION/key", counting the writes; or one text in every key.
struct MemoryStore final : SettingsStore {
    std::optional<std::string> Get(std::string_view section, std::string_view key) override {
        if (everywhere) return everywhere;
        auto it = values.find(std::string(section) + "/" + std::string(key));
        return it == values.end() ? std::nullopt : std::optional(it->second);
    }
    bool Set(std::string_view section, std::string_view key, std::string_view text) override {
        values[std::string(section) + "/" + std::string(key)] = std::string(text);
        ++writes;
        return true;
    }
    std::map<std::string, std::string> values;
    std::optional<std::string> everywhere;
    int writes = 0;
};

// The system and the application's other parts as the hearts see them: windows 1, 2, 3 ...
// in z-order, the desktop's look, the icon folders, the video wallpaper, the bar, and what
// loading and saving the settings plug in.
struct FakeSystem final : WindowOps, LookOps, IconShelf, DesktopVideo, DeskUi, SettingsHost {
    struct Window { std::string title; int showCmd; int visible; bool closed = false; std::uint32_t thread = 7, process = 100; };
    WindowId Add(std::string title, int showCmd = kSwShowNormal, int visible = 1) {
        windows.push_back({std::move(title), showCmd, visible});
        return static_cast<WindowId>(windows.size());
    }
    Window& W(WindowId id) { return windows.at(static_cast<std::size_t>(id - 1)); }

    void EnumerateTopLevel(const std::function<void(const TopWindow&)>& visit) override {
        for (std::size_t i = 0; i < windows.size(); ++i)
            if (const Window& w = windows[i]; !w.closed)
                visit({static_cast<WindowId>(i + 1), w.visible, w.visible ? w.showCmd : kSwHide, w.title, w.thread, w.process});
    }
    std::vector<WindowId> StackingOrder() override {
        std::vector<WindowId> ids;
        EnumerateTopLevel([&](const TopWindow& w) { ids.push_back(w.id); });
        return ids;
    }
    void HideStack(const std::vector<Hidden>& topFirst) override {
        for (auto it = topFirst.rbegin(); it != topFirst.rend(); ++it) Show(it->id, kSwHide);
    }
    void ShowStack(const std::vector<Shown>& topFirst) override {
        for (auto it = topFirst.rbegin(); it != topFirst.rend(); ++it) Show(it->id, it->showCmd);
    }
    bool Show(WindowId id, int cmd) {
        Window& w = W(id);
        Log("show " + w.title + " " + std::to_string(cmd));
        if (w.closed) return false;
        w.visible = cmd != kSwHide;
        if (cmd == kSwShowMinNoActive) w.showCmd = kSwShowMinimized;
        else if (cmd != kSwHide && cmd != kSwShowNa) w.showCmd = cmd;
        return true;
    }
    WindowId Active() override { return active; }
    void Activate(WindowId id) override {
        if (id && !W(id).closed) Log("activate " + W(id).title), active = id;
    }

    std::uint32_t GetBackgroundColor() override { Log("read colour"); return colour; }
    std::string RegGetString(const std::string&, const std::string& name) override { return reg[name]; }
    bool ShellCopyFiles(const std::string& from, const std::string& to) override { return Log("copy " + from + " -> " + to); }
    // Applied at once, unless the system is busy (shown false).
    void RequestLook(const LookRequest& l) override {
        heldAtLook = holds > 0;
        if (!shown) return void(Log("look waits"));
        if (l.setColour) Log("colour " + std::to_string(colour = l.colour));
        if (!l.tile.empty()) Log("TileWallpaper=" + (reg["TileWallpaper"] = l.tile));
        if (!l.wallStyle.empty()) Log("WallpaperStyle=" + (reg["WallpaperStyle"] = l.wallStyle));
        Log("wallpaper " + (reg["Wallpaper"] = l.wallpaper));
    }
    bool LookShown() override { return shown; }
    void HoldLooks(bool held) override { holds += held ? 1 : -1; }

    void ShellMoveFiles(const std::string& from, const std::string& to) override { Log("move " + from + " -> " + to); }
    bool VideoRunning() const override { return videoRunning; }
    void StopDesktopVideo() override { Log("stop video"); videoRunning = false; }
    bool VideoOn(int desk) const override { return desk == videoDesk; }
    void PlayDesktopVideo(int desk) override { Log("play video " + std::to_string(desk)); videoRunning = true; }
    void ReleaseVideo() override { Log("release video"); videoRunning = false; }

    void MarkCurrentDesk(int desk) override { Log("mark " + std::to_string(desk)); }
    void HideBar() override { Log("hide bar"); }
    bool ConfirmQuit() override {
        Log("ask quit");
        if (duringQuestion) duringQuestion();
        return answerYes;
    }
    void EndApplication() override { Log("end"); }

    void SetAutoStart(bool on) override { Log(on ? "autostart on" : "autostart off"); }
    std::string DocumentsFolder() override { Log("documents"); return "C:\\Docs"; }
    void LoadHotkeys() override { Log("load hotkeys"); }
    void SaveHotkeys() override { Log("save hotkeys"); }
    void LoadVideoSettings() override { Log("load video"); }
    void SaveVideoSettings() override { Log("save video"); }

    bool Log(std::string line) { journal.push_back(std::move(line)); return true; }

    std::vector<Window> windows;
    std::uint32_t colour = 0;
    bool shown = true;
    int holds = 0;            // taken and not yet released
    bool heldAtLook = false;  // the last look was requested while held
    std::map<std::string, std::string> reg;
    bool videoRunning = false;
    int videoDesk = 0;
    bool answerYes = false;
    WindowId active = 0;
    std::function<void()> duringQuestion;
    Journal journal;
};

// Atoms from 0xC000 on; registration returns `result` and leaves `error` as the last error.
struct FakeHotkeys final : HotkeySystem {
    std::uint16_t AddAtom(const std::string& name) override { return journal.push_back("add " + name), nextAtom++; }
    std::string AtomName(std::int32_t) override { return atomName; }
    void DeleteAtom(std::int32_t atom) override { journal.push_back("delete " + std::to_string(atom)); }
    std::int32_t RegisterHotKey(HotkeyWindow w, std::int32_t id, std::int32_t mods, std::int32_t vk) override {
        return journal.push_back("register " + std::to_string(w) + " " + std::to_string(id) + " " + std::to_string(mods) + " " + std::to_string(vk)), result;
    }
    void UnregisterHotKey(HotkeyWindow w, std::int32_t id) override { journal.push_back("unregister " + std::to_string(w) + " " + std::to_string(id)); }
    std::int32_t LastError() override { return error; }
    std::string ErrorText(std::int32_t code) override { return std::string(" Code ") + std::to_string(code) + ".\r\n\0junk"; }
    Journal journal;
    std::string atomName;
    std::uint16_t nextAtom = 0xC000;
    std::int32_t result = 1, error = 0;
};

}  // namespace orv::test

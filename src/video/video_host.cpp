#include "video/video_host.h"

#include <algorithm>

namespace orv {

namespace {

bool HasChild(const ShellWindow& w, const char* className) {
    return std::any_of(w.children.begin(), w.children.end(),
                       [&](const ShellWindow& c) { return c.className == className; });
}

const ShellWindow* FindChild(const ShellWindow& w, const char* className) {
    for (const ShellWindow& c : w.children)
        if (c.className == className) return &c;
    return nullptr;
}

}  // namespace

VideoHostPlan ChooseVideoHost(const std::vector<ShellWindow>& topLevel, bool askedShell) {
    const auto progman = std::find_if(topLevel.begin(), topLevel.end(),
                                      [](const ShellWindow& w) { return w.className == kProgmanClass; });
    if (progman == topLevel.end()) return {};

    // The icons in a top-level "WorkerW": the empty one is the next "WorkerW" behind it.
    const auto icons = std::find_if(topLevel.begin(), topLevel.end(), [](const ShellWindow& w) {
        return w.className == kWorkerClass && HasChild(w, kIconViewClass);
    });
    if (icons != topLevel.end()) {
        const auto empty = std::find_if(icons + 1, topLevel.end(),
                                        [](const ShellWindow& w) { return w.className == kWorkerClass; });
        if (empty != topLevel.end()) return {VideoHostKind::BehindIconWorker, empty->id, 0};
        // No empty one: "Progman" paints the wallpaper behind the icons' window.
        return {VideoHostKind::Progman, progman->id, 0};
    }

    const ShellWindow* iconView = FindChild(*progman, kIconViewClass);
    if (iconView && HasChild(*progman, kWorkerClass))
        return {VideoHostKind::InsideProgman, progman->id, iconView->id};
    if (!askedShell) return {VideoHostKind::AskShell, progman->id, 0};
    return {VideoHostKind::Progman, progman->id, iconView ? iconView->id : 0};
}

const char* VideoHostKindName(VideoHostKind kind) {
    switch (kind) {
        case VideoHostKind::None: return "none";
        case VideoHostKind::AskShell: return "ask the shell";
        case VideoHostKind::BehindIconWorker: return "the WorkerW behind the icons";
        case VideoHostKind::InsideProgman: return "inside Progman behind the icons";
        case VideoHostKind::Progman: return "Progman";
    }
    return "?";
}

LookRequest VideoBackdropLook() {
    LookRequest look;
    look.setColour = true;
    look.colour = kVideoBackdropColour;
    look.wallpaper.clear();
    return look;
}

void PrepareVideoBackdrop(LookOps& ops) { ops.RequestLook(VideoBackdropLook()); }

}  // namespace orv

#include "settings/settings.h"

#include <algorithm>
#include <limits>
#include <variant>

#include "base/text.h"

namespace orv {

namespace {

using Field = std::variant<bool Settings::*, std::int32_t Settings::*, std::string Settings::*>;

// One row of the key table: the key, its default (nullptr: computed when it is read) and
// the variable it fills. The encoding follows from the variable's type.
struct Row {
    const char* key;
    const char* fallback;
    Field field;
};

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        {"SharedIcons", "True", &Settings::SharedIconsOn},
        {"TrayTips", "False", &Settings::TrayTipsOn},
        {"SnapZoom", "True", &Settings::SnapZoom},
        {"SnapSound", "True", &Settings::SnapSound},
        {"SnapSaveOn", "True", &Settings::SnapSaveOn},
        {"SnapSaveFormat", "1", &Settings::SnapSaveFormat},
        {"SnapSavePath", nullptr, &Settings::SnapSavePath},
        {"SnapSavePrefix", "Snap", &Settings::SnapSavePrefix},
        {"SnapSaveCount", nullptr, &Settings::SnapSaveCount},
        {"SnapSaveLastFile", "", &Settings::SnapSaveLastFile},
        {"SnapPreview", "True", &Settings::SnapPreview},
        {"SnapJpgQuality", "80", &Settings::SnapJpgQuality},
    };
    return rows;
}

std::string FieldText(const Settings& s, const Field& f) {
    return std::visit(
        [&](auto member) -> std::string {
            const auto& v = s.*member;
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>) return BoolText(v);
            else if constexpr (std::is_same_v<T, std::int32_t>) return IntText(v);
            else return v;
        },
        f);
}

// Stores text into the field; a text that cannot be converted leaves the field as it was.
void AssignField(Settings& s, const Field& f, const std::string& text) {
    std::visit(
        [&](auto member) {
            auto& v = s.*member;
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>) {
                if (auto b = ParseBool(text)) v = *b;
            } else if constexpr (std::is_same_v<T, std::int32_t>) {
                if (auto n = ParseInt32(text)) v = *n;
            } else {
                v = text;
            }
        },
        f);
}

// "StartUp": on when its leading number is -1 or 1.
bool StartUpFlagOn(const std::string& text) {
    double n = LeadingNumber(text);
    return n == -1.0 || n == 1.0;
}

}  // namespace

void LoadSettings(SettingsStore& store, SettingsHost& host, bool hasVideo, Settings& s) {
    if (StartUpFlagOn(store.Read(kConfigSection, "StartUp", "-1"))) {
        s.StartUpOn = true;
    } else {
        store.Set(kConfigSection, "StartUp", "0");
        s.StartUpOn = false;
    }
    host.SetAutoStart(s.StartUpOn);
    host.LoadHotkeys();
    if (hasVideo) host.LoadVideoSettings();
    for (const auto& r : Rows()) {
        std::string fallback;
        if (r.fallback) fallback = r.fallback;
        else if (r.field == Field{&Settings::SnapSavePath}) fallback = host.DocumentsFolder();
        else fallback = FieldText(s, r.field);  // the value the variable holds
        AssignField(s, r.field, store.Read(kConfigSection, r.key, fallback));
    }
}

void SaveSettings(SettingsStore& store, SettingsHost& host, bool hasVideo, const Settings& s) {
    store.Set(kConfigSection, "StartUp", s.StartUpOn ? "1" : "0");
    host.SetAutoStart(s.StartUpOn);
    store.Set(kConfigSection, "SharedIcons", BoolText(s.SharedIconsOn));
    host.SaveHotkeys();
    if (hasVideo) host.SaveVideoSettings();
    for (const auto& r : Rows()) {
        if (r.field == Field{&Settings::SharedIconsOn}) continue;  // written above
        store.Set(kConfigSection, r.key, FieldText(s, r.field));
    }
}

BarPlacement ReadBarPlacement(SettingsStore& store) {
    BarPlacement p;
    p.x = RoundHalfEven(LeadingNumber(store.Read(kConfigSection, "POSX", "200")));
    p.y = RoundHalfEven(LeadingNumber(store.Read(kConfigSection, "POSY", "200")));
    p.topmost = LeadingNumber(store.Read(kConfigSection, "TOPMOST", "1")) == 1.0;
    return p;
}

namespace {
// Where a span of the given length starts so that it lies within [lo, hi] when it can,
// else at lo; at most hi - length stays within the 32-bit range.
int SpanStart(std::int64_t at, int length, std::int64_t lo, std::int64_t hi) {
    return static_cast<int>(std::clamp(at, lo, std::max(lo, hi - std::max(length, 0))));
}
constexpr std::int64_t kMinCoord = std::numeric_limits<int>::min(), kMaxCoord = std::numeric_limits<int>::max();
}  // namespace

ScreenRect BarRectAt(const BarPlacement& p, int width, int height) {
    const int x = SpanStart(p.x, width, kMinCoord, kMaxCoord), y = SpanStart(p.y, height, kMinCoord, kMaxCoord);
    return {x, y, x + std::max(width, 0), y + std::max(height, 0)};
}

BarPlacement MoveWithin(BarPlacement p, int width, int height, const ScreenRect& area) {
    p.x = SpanStart(p.x, width, area.left, area.right);
    p.y = SpanStart(p.y, height, area.top, area.bottom);
    return p;
}

void WriteBarPosition(SettingsStore& store, int leftTwips, int topTwips) {
    store.Set(kConfigSection, "POSX", SingleText(static_cast<float>(leftTwips) / kTwipsPerPixel));
    store.Set(kConfigSection, "POSY", SingleText(static_cast<float>(topTwips) / kTwipsPerPixel));
}

void WriteTopmost(SettingsStore& store, bool topmost) {
    store.Set(kConfigSection, "TOPMOST", topmost ? "1" : "0");
}

}  // namespace orv

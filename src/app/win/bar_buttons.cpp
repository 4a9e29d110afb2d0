#include "app/win/bar_buttons.h"

#include <utility>

#include "app/win/bar_ids.h"
#include "base/win/handles.h"
#include "controls/win/candy_button.h"

namespace orv {

std::vector<BarButtonSpec> BarButtonSpecs(const BarLayout& l, const BarPictures& pictures) {
    std::vector<BarButtonSpec> buttons;
    for (int i = 0; i < kDeskCount; ++i)
        buttons.push_back({kIdDesk0 + i, l.desk[i], std::to_wstring(i + 1), i == 0 ? 1 : 2, nullptr});
    buttons.push_back({kIdSnap, l.snap, L"", 2, pictures.snap.get()});
    buttons.push_back({kIdVideo, l.video, L"", 2, pictures.video.get()});
    buttons.push_back({kIdSetting, l.setting, L"", 2, pictures.setting.get()});
    return buttons;
}

HWND CreateBarButton(HWND bar, const BarButtonSpec& b, HFONT font) {
    const HWND w = CandyButton::Create(bar, b.id, b.box.left, b.box.top, b.box.width, b.box.height, b.caption,
                                       kBarButtonStyle, b.scheme);
    if (CandyButton* c = CandyButton::From(w)) {
        c->SetForeColor(kBarInk);
        if (b.picture) c->SetPicture(b.picture);
        if (font) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return w;
}

void PaintBarButtonFaces(HDC dc, const BarLayout& l, const BarPictures& pictures, HFONT font) {
    for (const BarButtonSpec& b : BarButtonSpecs(l, pictures)) {
        CandyFace face;
        face.props.SetStyle(kBarButtonStyle);
        face.props.SetColorScheme(b.scheme);
        face.props.foreColor = kBarInk;
        face.caption = b.caption;
        face.font = font;
        face.icon = b.picture;
        face.dpi = static_cast<UINT>(l.dpi);
        const int saved = SaveDC(dc);
        // The window's shape: the bar's own background stays in the corners.
        UniqueRegion shape(CandyButton::ShapeRegion(kBarButtonStyle, b.box.width, b.box.height, b.box.left, b.box.top));
        if (shape) SelectClipRgn(dc, shape.get());
        SetViewportOrgEx(dc, b.box.left, b.box.top, nullptr);
        CandyButton::Paint(dc, b.box.width, b.box.height, face);
        RestoreDC(dc, saved);
    }
    UniqueDc strip(CreateCompatibleDC(dc));
    if (!strip) return;
    const std::pair<BarBox, HBITMAP> strips[] = {{l.quit, pictures.quit.get()}, {l.hide, pictures.hide.get()}};
    for (const auto& [box, picture] : strips) {
        SelectGuard sel(strip.get(), picture);
        BitBlt(dc, box.left, box.top, box.width, box.height, strip.get(), 0, 0, SRCCOPY);
    }
}

}  // namespace orv

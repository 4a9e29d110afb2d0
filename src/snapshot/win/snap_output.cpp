#include "snapshot/win/snap_output.h"

#include <shellapi.h>

#include <cstring>
#include <stdexcept>
#include <vector>

#include "base/bmp.h"
#include "base/win/log.h"
#include "base/win/replace_file.h"
#include "base/win/utf.h"
#include "base/win/window_base.h"
#include "snapshot/packed_dib.h"
#include "snapshot/snap_rules.h"
#include "snapshot/win/dc_sampler.h"

namespace orv {
namespace {

// Written next to its place and then moved over it: a failed write leaves any file of that
// name as it was. 0 or the system's error.
DWORD WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return ReplaceWholeFile(Widen(path), bytes.data(), bytes.size()).error;
}

// The bitmap file of a picture: one conversion for the files and the clipboard.
std::vector<std::uint8_t> BitmapFile(const SnapPicture& p) {
    return BmpFile24(TopDownView(p.Bits(), p.Width(), p.Height(), p.Stride()));
}

constexpr UINT kCutMessage = WM_APP + 1;  // the offered picture is cut to its size

constexpr wchar_t kClipboardClass[] = L"OrvantaSnapClipboard";

class ClipboardOwner final : public Window {
public:
    static ClipboardOwner* Get() {
        auto& owner = Instance();
        if (!owner) {
            std::unique_ptr<ClipboardOwner> o(new ClipboardOwner());
            if (RegisterClassOnce(kClipboardClass) && o->Create(kClipboardClass, L"", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr))
                owner = std::move(o);
        }
        return owner.get();
    }
    static std::unique_ptr<ClipboardOwner>& Instance() {
        static std::unique_ptr<ClipboardOwner> owner;
        return owner;
    }
    ~ClipboardOwner() override {
        if (hwnd()) DestroyWindow(hwnd());  // renders what is still offered
    }
    std::unique_ptr<SnapPicture> picture;

private:
    ClipboardOwner() = default;
    // The packed DIB into the open clipboard.
    void Render() {
        if (!picture) return;
        const std::vector<std::uint8_t> file = BitmapFile(*picture);
        if (file.size() <= kBmpFileHeaderBytes) return;
        if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, file.size() - kBmpFileHeaderBytes)) {
            if (void* p = GlobalLock(mem)) {
                std::memcpy(p, file.data() + kBmpFileHeaderBytes, file.size() - kBmpFileHeaderBytes);
                GlobalUnlock(mem);
                if (SetClipboardData(CF_DIB, mem)) return;
            }
            GlobalFree(mem);
        }
        LogError("The snapshot cannot go to the clipboard");
    }
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
            case WM_RENDERFORMAT:
                if (wp == CF_DIB) Render();
                return 0;
            case WM_RENDERALLFORMATS:
                if (OpenClipboard(hwnd())) {
                    if (GetClipboardOwner() == hwnd()) Render();
                    CloseClipboard();
                }
                return 0;
            case WM_DESTROYCLIPBOARD:  // another program's turn: the picture is not needed
                picture.reset();
                return 0;
            case kCutMessage:
                if (picture)
                    if (auto cut = picture->Cut()) picture = std::move(cut);
                return 0;
        }
        return Window::OnMessage(msg, wp, lp);
    }
};

std::string TempFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    return n > 0 && n <= MAX_PATH ? Narrow(temp) : std::string();
}

}  // namespace

bool SnapClipboard::Offer(std::unique_ptr<SnapPicture> picture) {
    ClipboardOwner* owner = ClipboardOwner::Get();
    if (!owner || !OpenClipboard(owner->hwnd())) return false;
    EmptyClipboard();  // the previous picture goes with WM_DESTROYCLIPBOARD
    owner->picture = std::move(picture);
    SetLastError(0);
    const bool offered = SetClipboardData(CF_DIB, nullptr) != nullptr || GetLastError() == 0;
    CloseClipboard();
    PostMessageW(owner->hwnd(), kCutMessage, 0, 0);
    return offered;
}

void SnapClipboard::Release() { ClipboardOwner::Instance().reset(); }

SnapPicture::~SnapPicture() {
    if (dc_ && old_) SelectObject(dc_.get(), old_);
}

bool SnapPicture::Make(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* p = nullptr;
    dc_.reset(CreateCompatibleDC(nullptr));
    bitmap_.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0));
    if (!dc_ || !bitmap_) return false;
    old_ = SelectObject(dc_.get(), bitmap_.get());
    if (!old_ || old_ == HGDI_ERROR) return old_ = nullptr, false;
    bits_ = static_cast<std::uint8_t*>(p);
    fullWidth_ = width_ = width, fullHeight_ = height_ = height;
    stride_ = Bmp24Stride(static_cast<std::uint32_t>(width));
    left_ = top_ = 0;
    return true;
}

bool SnapPicture::Select(int left, int top, int width, int height) {
    if (left < 0 || top < 0 || width < 1 || height < 1 || width > fullWidth_ - left || height > fullHeight_ - top) return false;
    left_ = left, top_ = top, width_ = width, height_ = height;
    return true;
}

std::unique_ptr<SnapPicture> SnapPicture::Cut() const {
    auto cut = std::make_unique<SnapPicture>();
    if (!cut->Make(width_, height_) || !BitBlt(cut->Dc(), 0, 0, width_, height_, Dc(), left_, top_, SRCCOPY)) return nullptr;
    GdiFlush();
    return cut;
}

SnapDelivery DeliverSnapshot(std::unique_ptr<SnapPicture> picture, Settings& s,
                             const std::function<void(const std::string&)>& tell) {
    SnapDelivery done;
    GdiFlush();  // the block transfers into the picture are complete before its bits are read
    // The files are written from the picture; the clipboard keeps it for whoever pastes.
    const SnapPicture& p = *picture;
    std::vector<std::uint8_t> bmp;  // the bitmap file, made once when one is written
    auto bitmapFile = [&]() -> const std::vector<std::uint8_t>& {
        if (bmp.empty()) bmp = BitmapFile(p);
        return bmp;
    };

    auto fail = [&](const std::string& why) {
        Log("Snapshot: " + s.SnapSaveLastFile + " is not saved: " + why);
        if (tell) tell("The snapshot could not be saved as " + s.SnapSaveLastFile + ": " + why + ". It is on the clipboard.");
    };
    if (s.SnapSaveOn) {
        if (const std::optional<std::int32_t> next = NextSnapCount(s.SnapSaveCount)) {
            s.SnapSaveCount = *next;
            s.SnapSaveLastFile = SnapFileName(s.SnapSavePath, s.SnapSavePrefix, s.SnapSaveCount, s.SnapSaveFormat);
            if (s.SnapSaveFormat == 1) {
                try {
                    // Straight from the picture's rectangle: the same pixels as a copy in a
                    // cImage first, without the copy while the user waits.
                    SaveJpeg(p.Dc(), p.Left(), p.Top(), p.Width(), p.Height(), s.SnapSaveLastFile, s.SnapJpgQuality);
                    done.saved = true;
                } catch (const std::exception& e) {
                    fail(e.what());
                }
            } else if (const DWORD error = WriteWholeFile(s.SnapSaveLastFile, bitmapFile())) {
                fail(ErrorText(error));
            } else {
                done.saved = true;
            }
        } else {
            Log("Snapshot: the counter is at its end; nothing is saved");
        }
    }
    if (s.SnapPreview) {
        if (!s.SnapSaveOn) {
            s.SnapSaveLastFile = TempFolder() + "\\RVTempX.BMP";
            if (const DWORD error = WriteWholeFile(s.SnapSaveLastFile, bitmapFile())) fail(ErrorText(error));
            else done.saved = true;
        }
        // A file that was not written is not opened: an older one of that name would mislead.
        if (done.saved) {
            const auto shown = reinterpret_cast<INT_PTR>(
                ShellExecuteW(GetDesktopWindow(), L"open", Widen(s.SnapSaveLastFile).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
            done.opened = shown > 32;
            if (!done.opened) Log("Snapshot: " + s.SnapSaveLastFile + " cannot be opened (" + std::to_string(shown) + ")");
        }
    }
    done.onClipboard = SnapClipboard::Offer(std::move(picture));
    if (!done.onClipboard) LogError("The snapshot cannot go to the clipboard");
    return done;
}

}  // namespace orv

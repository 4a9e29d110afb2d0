#include "snapshot/win/frm_capture.h"

#include <windowsx.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <cstring>
#include <stdexcept>
#include <vector>

#include "base/bmp.h"
#include "snapshot/packed_dib.h"
#include "base/win/log.h"
#include "base/win/utf.h"
#include "snapshot/win/c_image.h"
#include "snapshot/win/dc_sampler.h"

namespace orv {
namespace {

std::unique_ptr<FrmCapture>& Instance() {
    static std::unique_ptr<FrmCapture> capture;
    return capture;
}

constexpr UINT kUnloadMessage = WM_APP + 1;  // the window goes once its handler has returned

// A 24-bit top-down DIB section of width x height selected into a new memory DC.
struct Dib24 {
    UniqueDc dc;
    UniqueBitmap bitmap;
    HGDIOBJ old = nullptr;
    std::uint8_t* bits = nullptr;
    ~Dib24() { if (dc && old) SelectObject(dc.get(), old); }
    bool Make(int width, int height) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* p = nullptr;
        dc.reset(CreateCompatibleDC(nullptr));
        bitmap.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0));
        if (!dc || !bitmap) return false;
        old = SelectObject(dc.get(), bitmap.get());
        bits = static_cast<std::uint8_t*>(p);
        return old != nullptr && old != HGDI_ERROR;
    }
};

// The clipboard's bitmap: the bitmap file's packed DIB (header and bottom-up rows).
bool PutOnClipboard(HWND owner, const std::vector<std::uint8_t>& bmpFile) {
    if (bmpFile.size() <= kBmpFileHeaderBytes || !OpenClipboard(owner)) return false;
    EmptyClipboard();
    bool put = false;
    if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bmpFile.size() - kBmpFileHeaderBytes)) {
        if (void* p = GlobalLock(mem)) {
            std::memcpy(p, bmpFile.data() + kBmpFileHeaderBytes, bmpFile.size() - kBmpFileHeaderBytes);
            GlobalUnlock(mem);
            put = SetClipboardData(CF_DIB, mem) != nullptr;
        }
        if (!put) GlobalFree(mem);
    }
    CloseClipboard();
    return put;
}

// Written next to its place and then moved over it: a failed write leaves any file of that
// name as it was. 0 or the system's error.
DWORD WriteWholeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    const std::wstring part = path + L".part";
    HANDLE f = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD written = 0;
    const BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    DWORD error = ok ? 0 : GetLastError();
    CloseHandle(f);
    if (ok && !MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) error = GetLastError();
    if (error) DeleteFileW(part.c_str());
    return error;
}

std::string TempFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    return n > 0 && n <= MAX_PATH ? Narrow(temp) : std::string();
}

}  // namespace

bool FrmCapture::Show(const SnapContext& context) {
    auto& capture = Instance();
    if (capture) {
        SetForegroundWindow(capture->hwnd());
        return true;
    }
    std::unique_ptr<FrmCapture> c(new FrmCapture(context));
    if (!RegisterClassOnce(kCaptureClass) || !c->Freeze()) return false;
    const RECT& r = c->screen_;
    if (!c->Window::Create(kCaptureClass, L"", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, nullptr)) {
        LogError("CreateWindowEx (the snapshot's selection)");
        return false;
    }
    c->cursor_ = LoadCursorW(nullptr, IDC_CROSS);
    capture = std::move(c);
    HWND w = capture->hwnd();
    ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
    SetFocus(w);
    if (capture->context_.settings.SnapZoom) capture->magnify_ = FMagnify::Create(w);
    return true;
}

bool FrmCapture::IsOpen() { return Instance() != nullptr; }

void FrmCapture::Close() {
    if (auto& c = Instance()) c->Unload();
}

FrmCapture::~FrmCapture() {
    magnify_.reset();
    if (frozenDc_ && frozenOld_) SelectObject(frozenDc_.get(), frozenOld_);
    if (hwnd()) DestroyWindow(hwnd());
}

// The whole virtual screen as it is now, pixel for pixel.
bool FrmCapture::Freeze() {
    screen_.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    screen_.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    screen_.right = screen_.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen_.bottom = screen_.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const int w = screen_.right - screen_.left, h = screen_.bottom - screen_.top;
    HDC screen = GetDC(nullptr);
    if (!screen) return false;
    frozenDc_.reset(CreateCompatibleDC(screen));
    frozen_.reset(CreateCompatibleBitmap(screen, w, h));
    bool ok = frozenDc_ && frozen_;
    if (ok) {
        frozenOld_ = SelectObject(frozenDc_.get(), frozen_.get());
        ok = BitBlt(frozenDc_.get(), 0, 0, w, h, screen, screen_.left, screen_.top, SRCCOPY | CAPTUREBLT) != 0;
        GdiFlush();
    }
    ReleaseDC(nullptr, screen);
    if (!ok) LogError("The screen cannot be frozen for a snapshot");
    return ok;
}

void FrmCapture::DrawLine(POINT a, POINT b) {
    if (HDC dc = GetDC(hwnd())) {
        InvertOutline(dc, a, b);
        ReleaseDC(hwnd(), dc);
    }
}

void FrmCapture::InvertOutline(HDC dc, POINT a, POINT b) {
    const int mode = SetROP2(dc, R2_NOT);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    // Both corners belong to the outline.
    Rectangle(dc, std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SetROP2(dc, mode);
}

// The rectangle between the press and the release (the release pixel included) goes to the
// clipboard, to a numbered file and to the viewer, each step on its own: a failing one does
// not stop the next.
void FrmCapture::CaptureArea(float x1, float x2, float y1, float y2) {
    Settings& s = context_.settings;
    if (s.SnapSound) sndPlaySoundW(Widen(context_.programFolder + "\\capture.wav").c_str(), SND_ASYNC | SND_NODEFAULT);
    magnify_.reset();
    const std::optional<SnapRect> r = CaptureRect(x1, x2, y1, y2);
    if (!r) return;
    Dib24 picture;  // picTemp
    if (!picture.Make(r->width, r->height) ||
        !BitBlt(picture.dc.get(), 0, 0, r->width, r->height, frozenDc_.get(), r->left, r->top, SRCCOPY)) {
        LogError("The snapshot's picture cannot be made");
        return;
    }
    GdiFlush();
    // One bitmap file; the clipboard takes its packed DIB.
    const std::vector<std::uint8_t> bmp =
        BmpFile24(TopDownView(picture.bits, r->width, r->height, Bmp24Stride(static_cast<std::uint32_t>(r->width))));
    if (!PutOnClipboard(hwnd(), bmp)) LogError("The snapshot cannot go to the clipboard");

    auto fail = [&](const std::string& why) {
        Log("Snapshot: " + s.SnapSaveLastFile + " is not saved: " + why);
        if (context_.tell) context_.tell("The snapshot could not be saved as " + s.SnapSaveLastFile + ": " + why + ". It is on the clipboard.");
    };
    bool saved = false;
    if (s.SnapSaveOn) {
        if (const std::optional<std::int32_t> next = NextSnapCount(s.SnapSaveCount)) {
            s.SnapSaveCount = *next;
            s.SnapSaveLastFile = SnapFileName(s.SnapSavePath, s.SnapSavePrefix, s.SnapSaveCount, s.SnapSaveFormat);
            if (s.SnapSaveFormat == 1) {
                cImage image;
                try {
                    if (!image.CopyHDC(picture.dc.get(), r->width, r->height)) throw std::runtime_error("the picture cannot be read");
                    SaveJpeg(image, s.SnapSaveLastFile, s.SnapJpgQuality);
                    saved = true;
                } catch (const std::exception& e) {
                    fail(e.what());
                }
            } else if (const DWORD error = WriteWholeFile(Widen(s.SnapSaveLastFile), bmp)) {
                fail(ErrorText(error));
            } else {
                saved = true;
            }
        } else {
            Log("Snapshot: the counter is at its end; nothing is saved");
        }
    }
    if (s.SnapPreview) {
        if (!s.SnapSaveOn) {
            s.SnapSaveLastFile = TempFolder() + "\\RVTempX.BMP";
            if (const DWORD error = WriteWholeFile(Widen(s.SnapSaveLastFile), bmp)) fail(ErrorText(error));
            else saved = true;
        }
        if (saved) {
            const auto shown = reinterpret_cast<INT_PTR>(ShellExecuteW(GetDesktopWindow(), L"open", Widen(s.SnapSaveLastFile).c_str(),
                                                                       nullptr, nullptr, SW_SHOWNORMAL));
            if (shown <= 32) Log("Snapshot: " + s.SnapSaveLastFile + " cannot be opened (" + std::to_string(shown) + ")");
        }
    }
}

// After a capture and after Escape: the zoom window goes, the window goes, the bar comes back.
void FrmCapture::Unload() {
    magnify_.reset();
    ShowWindow(hwnd(), SW_HIDE);
    std::function<void()> closed = context_.onClosed;
    PostMessageW(hwnd(), kUnloadMessage, 0, 0);  // deleted once no handler of it runs
    if (closed) closed();
}

LRESULT FrmCapture::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            if (HDC dc = BeginPaint(hwnd(), &ps)) {
                const RECT& p = ps.rcPaint;
                BitBlt(dc, p.left, p.top, p.right - p.left, p.bottom - p.top, frozenDc_.get(), p.left, p.top, SRCCOPY);
                if (drawn_) InvertOutline(dc, start_, last_);  // within what was repainted
                EndPaint(hwnd(), &ps);
            }
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_SETCURSOR:
            if (LOWORD(lp) == HTCLIENT) return SetCursor(cursor_), TRUE;
            break;
        case WM_LBUTTONDOWN:
            if (drawn_) DrawLine(start_, last_), drawn_ = false;
            start_ = last_ = at;
            SetCapture(hwnd());
            return 0;
        case WM_MOUSEMOVE:
            if (wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_XBUTTON1 | MK_XBUTTON2)) {
                if (drawn_) DrawLine(start_, last_);
                DrawLine(start_, at);
                drawn_ = true;
            }
            last_ = at;
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_XBUTTONUP:
            if (!IsWindowVisible(hwnd())) return 0;
            ReleaseCapture();
            if (drawn_) DrawLine(start_, last_), drawn_ = false;
            CaptureArea(static_cast<float>(start_.x), static_cast<float>(at.x), static_cast<float>(start_.y),
                        static_cast<float>(at.y));
            Unload();
            return msg == WM_XBUTTONUP ? TRUE : 0;
        case WM_KEYDOWN:
            if (wp == VK_ESCAPE) {
                if (IsWindowVisible(hwnd())) Unload();
            } else if (magnify_) {
                magnify_->OnZoomKey(static_cast<unsigned>(wp));
            }
            return 0;
        case kUnloadMessage:
            Instance().reset();  // this object goes: nothing after this line
            return 0;
    }
    if (magnify_ && magnify_->Closed()) magnify_.reset();
    return Window::OnMessage(msg, wp, lp);
}

}  // namespace orv

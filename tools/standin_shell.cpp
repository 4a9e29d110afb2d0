// A stand-in for the Windows shell's desktop window on the Wine test stand. Wine has no
// "Program Manager" window; this one has the class, title and behaviour programs expect:
// full screen, always at the bottom of the z-order, never activated, not in the task list,
// painted like a desktop (wallpaper or background colour, then the Desktop folder's entries
// as icons with their names). Wine's own desktop window, which would paint a second (centred)
// wallpaper over every window, is made to paint nothing (standin_hook.dll, beside this exe).
//
//   standin_shell.exe                 run until closed
//   standin_shell.exe --ready=PATH    also write PATH once the first paint is done
//   standin_shell.exe --warmup        create a font, measure text, exit 0 (pays Wine's font scan)
//
//   standin_shell.exe --shape=24h2    the shell's windows as from Windows 11 24H2 (default:
//                                     --shape=classic, as Windows 10 and 11 before 24H2)
//
// The windows, as the shell makes them:
//   classic  "Progman" holds the icon layer, "SHELLDLL_DefView". Asked with message 0x052C,
//            it moves that layer into a new top-level "WorkerW" that shows only the icons (its
//            window region is the icons' pixels) and puts a second, empty "WorkerW" behind it,
//            which paints the wallpaper: "WorkerW"(icons), "WorkerW", "Progman", bottom last.
//   24h2     "Progman" holds "SHELLDLL_DefView" in front of a "WorkerW" child that paints the
//            wallpaper; 0x052C changes nothing.
// The registered message "OrvStandinRebuild" sent to "Progman" destroys those windows and
// makes them anew, as a restarting Explorer does (wParam 0 the same shape, 1 classic, 2 24h2),
// then broadcasts "TaskbarCreated".
//
// What Wine 8 paints of a video placed there from another process: nothing. A child window
// whose top-level window belongs to another process is never painted (the media device's
// window nor a plain one); a top-level window of ours stacked right behind the icons' "WorkerW"
// is drawn over it all the same, since Wine's X driver only ever raises a window to the top
// and never stacks one below another; a colour-keyed layered window is painted over by every
// window behind it that paints later. The video plays in the right window, unseen.
//
// One thread; a 300 ms timer polls a change notification on the Desktop folder and rescans.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <olectl.h>
#include <ocidl.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr wchar_t kClassName[] = L"Progman";
constexpr wchar_t kTitle[] = L"Program Manager";
constexpr UINT_PTR kScanTimer = 1;
constexpr UINT kScanMs = 300;
constexpr int kCellW = 96;  // at 96 DPI; scaled with the display's DPI
constexpr int kCellH = 84;
constexpr int kMargin = 8;
constexpr wchar_t kIconViewClass[] = L"SHELLDLL_DefView";
constexpr wchar_t kWorkerClass[] = L"WorkerW";
constexpr UINT kSpawnWorker = 0x052C;
// Where the icons' "WorkerW" shows what lies behind it (the pixels of this colour): its window
// region leaves them out. A colour-keyed layered window would do on Windows, but Wine does not
// keep the windows behind one from painting over it; a window region clips them. Near black,
// so the edges of smoothed icon titles blend into a dark outline.
constexpr COLORREF kSeeThrough = RGB(1, 0, 1);

enum class Shape { Classic = 1, Win24H2 = 2 };

// One entry of the Desktop folder as painted.
struct Entry {
    std::wstring name;
    bool folder = false;
    HICON icon = nullptr;  // owned

    Entry() = default;
    Entry(std::wstring n, bool f) : name(std::move(n)), folder(f) {}
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;
    Entry(Entry&& o) noexcept : name(std::move(o.name)), folder(o.folder), icon(std::exchange(o.icon, nullptr)) {}
    Entry& operator=(Entry&& o) noexcept {
        if (this != &o) {
            if (icon) DestroyIcon(icon);
            name = std::move(o.name);
            folder = o.folder;
            icon = std::exchange(o.icon, nullptr);
        }
        return *this;
    }
    ~Entry() {
        if (icon) DestroyIcon(icon);
    }
};

// The wallpaper as the registry describes it; the file's time and size tell a new picture
// saved under the same name.
struct WallpaperKey {
    std::wstring path;
    int style = 0;  // WallpaperStyle: 0 centre, 2 stretch, 6 fit, 10 fill, 22 span
    bool tile = false;
    FILETIME written = {};
    DWORD size = 0;

    bool operator==(const WallpaperKey& o) const {
        return path == o.path && style == o.style && tile == o.tile &&
               CompareFileTime(&written, &o.written) == 0 && size == o.size;
    }
};

struct Shell {
    HWND hwnd = nullptr;        // "Progman"
    Shape shape = Shape::Classic;
    HWND iconView = nullptr;    // "SHELLDLL_DefView": the icons
    HWND iconWorker = nullptr;  // classic, once asked: the top-level "WorkerW" holding iconView
    HWND backWorker = nullptr;  // the "WorkerW" that paints the wallpaper (classic: top-level)
    UINT rebuildMessage = 0;
    std::wstring desktopDir;
    HANDLE change = INVALID_HANDLE_VALUE;  // FindFirstChangeNotification on desktopDir
    std::vector<Entry> entries;
    HFONT font = nullptr;  // icon title font, owned
    std::wstring readyPath;
    bool painted = false;
    COLORREF color = 0;         // desktop background colour as last painted
    HBRUSH colorBrush = nullptr;  // owned, of color
    WallpaperKey wallpaper;     // as last loaded
    HBITMAP picture = nullptr;  // owned, the wallpaper's pixels (null: none or unreadable)
};

Shell g_shell;  // one shell per process; the window procedure reaches it from here

bool RunningOnWine() {
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

std::wstring RegText(HKEY root, const wchar_t* subkey, const wchar_t* name, bool* found = nullptr) {
    wchar_t buf[MAX_PATH * 2] = {};
    DWORD size = sizeof buf - sizeof(wchar_t);
    const bool ok = RegGetValueW(root, subkey, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr,
                                 buf, &size) == ERROR_SUCCESS;
    if (found) *found = ok;
    return ok ? std::wstring(buf) : std::wstring();
}

// Wine keeps system parameters that were set without saving them (SetSysColors, SPI_... without
// SPIF_UPDATEINIFILE) under this key, and every process caches the values it has read once: a
// change made by another process reaches this one only through the registry.
constexpr wchar_t kWineVolatile[] = L"Software\\Wine\\Temporary System Parameters\\";

COLORREF DesktopColor() {
    if (RunningOnWine()) {
        bool found = false;
        const std::wstring text =
            RegText(HKEY_CURRENT_USER, (std::wstring(kWineVolatile) + L"Control Panel\\Colors").c_str(), L"Background",
                    &found);
        int r = 0, g = 0, b = 0;
        if (found && swscanf(text.c_str(), L"%d %d %d", &r, &g, &b) == 3) return RGB(r, g, b);
    }
    return GetSysColor(COLOR_BACKGROUND);
}

std::wstring DesktopValue(const wchar_t* name) {
    if (RunningOnWine()) {
        bool found = false;
        std::wstring text =
            RegText(HKEY_CURRENT_USER, (std::wstring(kWineVolatile) + L"Control Panel\\Desktop").c_str(), name, &found);
        if (found) return text;
    }
    return RegText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", name);
}

WallpaperKey CurrentWallpaper() {
    WallpaperKey key;
    key.path = DesktopValue(L"Wallpaper");
    key.style = _wtoi(DesktopValue(L"WallpaperStyle").c_str());
    key.tile = _wtoi(DesktopValue(L"TileWallpaper").c_str()) != 0;
    WIN32_FILE_ATTRIBUTE_DATA fa;
    if (!key.path.empty() && GetFileAttributesExW(key.path.c_str(), GetFileExInfoStandard, &fa)) {
        key.written = fa.ftLastWriteTime;
        key.size = fa.nFileSizeLow;
    }
    return key;
}

// BMP through LoadImage; JPEG, GIF and the rest through OLE's picture decoder, as Windows'
// shell shows them too. Returns an owned DIB section or null.
HBITMAP LoadPicture(const std::wstring& path) {
    if (path.empty()) return nullptr;
    auto* bmp = static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (bmp) return bmp;
    IPicture* picture = nullptr;
    if (FAILED(OleLoadPicturePath(const_cast<LPOLESTR>(path.c_str()), nullptr, 0, 0, IID_IPicture,
                                  reinterpret_cast<void**>(&picture))) ||
        !picture)
        return nullptr;
    OLE_HANDLE handle = 0;
    SHORT type = PICTYPE_NONE;
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(picture->get_Handle(&handle)))
        bmp = static_cast<HBITMAP>(CopyImage(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP,
                                             0, 0, LR_CREATEDIBSECTION));
    picture->Release();
    return bmp;
}

// Draws the wallpaper over the background the way Windows' shell places it.
void DrawWallpaper(HDC dc, const RECT& area, HBITMAP picture, const WallpaperKey& key) {
    BITMAP bm = {};
    if (!picture || !GetObjectW(picture, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight == 0) return;
    const int bw = bm.bmWidth;
    const int bh = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    const int w = area.right - area.left;
    const int h = area.bottom - area.top;
    HDC src = CreateCompatibleDC(dc);
    if (!src) return;
    HGDIOBJ old = SelectObject(src, picture);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    if (key.tile) {
        for (int y = area.top; y < area.bottom; y += bh)
            for (int x = area.left; x < area.right; x += bw) BitBlt(dc, x, y, bw, bh, src, 0, 0, SRCCOPY);
    } else if (key.style == 2) {
        StretchBlt(dc, area.left, area.top, w, h, src, 0, 0, bw, bh, SRCCOPY);
    } else if (key.style == 6 || key.style == 10 || key.style == 22) {
        // fit: the whole picture, bars of background; fill/span: covers all, cut at the sides
        const double sx = static_cast<double>(w) / bw;
        const double sy = static_cast<double>(h) / bh;
        const double scale = key.style == 6 ? std::min(sx, sy) : std::max(sx, sy);
        const int dw = static_cast<int>(bw * scale + 0.5);
        const int dh = static_cast<int>(bh * scale + 0.5);
        StretchBlt(dc, area.left + (w - dw) / 2, area.top + (h - dh) / 2, dw, dh, src, 0, 0, bw, bh, SRCCOPY);
    } else {
        BitBlt(dc, area.left + (w - bw) / 2, area.top + (h - bh) / 2, bw, bh, src, 0, 0, SRCCOPY);
    }
    SelectObject(src, old);
    DeleteDC(src);
}

// Brings the colour and the wallpaper up to date; true when either changed.
bool RefreshLook(Shell& s, bool reloadWallpaper) {
    bool changed = false;
    const COLORREF color = DesktopColor();
    if (!s.colorBrush || color != s.color) {
        if (s.colorBrush) DeleteObject(s.colorBrush);
        s.color = color;
        s.colorBrush = CreateSolidBrush(color);
        changed = true;
    }
    WallpaperKey key = CurrentWallpaper();
    if (reloadWallpaper || !(key == s.wallpaper)) {
        if (s.picture) DeleteObject(s.picture);
        s.picture = LoadPicture(key.path);
        s.wallpaper = std::move(key);
        changed = true;
    }
    return changed;
}

std::wstring DesktopDirectory() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return path;
}

// The names (and kinds) of the folder's entries, sorted as Explorer would list them by name.
std::vector<std::pair<std::wstring, bool>> ListFolder(const std::wstring& dir) {
    std::vector<std::pair<std::wstring, bool>> out;
    if (dir.empty()) return out;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileExW((dir + L"\\*").c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) return out;
    do {
        const std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..") continue;
        if (fd.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
        out.emplace_back(name, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
        if (a.second != b.second) return a.second;  // folders first
        return CompareStringOrdinal(a.first.c_str(), -1, b.first.c_str(), -1, TRUE) == CSTR_LESS_THAN;
    });
    return out;
}

void WatchFolder(Shell& s) {
    if (s.change != INVALID_HANDLE_VALUE) FindCloseChangeNotification(s.change);
    s.change = INVALID_HANDLE_VALUE;
    if (s.desktopDir.empty()) return;
    s.change = FindFirstChangeNotificationW(
        s.desktopDir.c_str(), FALSE,
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES);
}

// Rescans the Desktop folder; returns true when the list of entries changed.
bool Rescan(Shell& s) {
    const std::wstring dir = DesktopDirectory();
    if (dir != s.desktopDir) {
        s.desktopDir = dir;
        WatchFolder(s);
    }
    auto listed = ListFolder(s.desktopDir);
    bool same = listed.size() == s.entries.size();
    for (size_t i = 0; same && i < listed.size(); ++i)
        same = listed[i].first == s.entries[i].name && listed[i].second == s.entries[i].folder;
    if (same) return false;

    std::vector<Entry> fresh;
    fresh.reserve(listed.size());
    for (auto& [name, folder] : listed) {
        Entry e(std::move(name), folder);
        SHFILEINFOW sfi = {};
        const std::wstring full = s.desktopDir + L"\\" + e.name;
        if (SHGetFileInfoW(full.c_str(), 0, &sfi, sizeof sfi, SHGFI_ICON | SHGFI_LARGEICON)) e.icon = sfi.hIcon;
        if (!e.icon) {
            // Fall back to the generic icon for the kind, by attributes only.
            const DWORD attr = e.folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
            if (SHGetFileInfoW(e.name.c_str(), attr, &sfi, sizeof sfi,
                               SHGFI_ICON | SHGFI_LARGEICON | SHGFI_USEFILEATTRIBUTES))
                e.icon = sfi.hIcon;
        }
        fresh.push_back(std::move(e));
    }
    s.entries = std::move(fresh);
    return true;
}

void RebuildFont(Shell& s) {
    if (s.font) DeleteObject(s.font);
    LOGFONTW lf = {};
    if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0)) {
        lf.lfHeight = -12;
        lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
    }
    s.font = CreateFontIndirectW(&lf);
}

// Icons fill columns from the top-left, as on a shell's desktop.
void PaintEntries(const Shell& s, HDC dc, const RECT& area) {
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY) > 0 ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    const int cellW = MulDiv(kCellW, dpi, 96), cellH = MulDiv(kCellH, dpi, 96), margin = MulDiv(kMargin, dpi, 96);
    const int rows = std::max(1, static_cast<int>((area.bottom - area.top - margin) / cellH));
    HGDIOBJ oldFont = SelectObject(dc, s.font ? s.font : GetStockObject(DEFAULT_GUI_FONT));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = GetTextColor(dc);
    const int iconW = GetSystemMetrics(SM_CXICON);
    const int iconH = GetSystemMetrics(SM_CYICON);
    for (size_t i = 0; i < s.entries.size(); ++i) {
        const int col = static_cast<int>(i) / rows;
        const int row = static_cast<int>(i) % rows;
        const int x = area.left + margin + col * cellW;
        const int y = area.top + margin + row * cellH;
        if (x >= area.right) break;
        const Entry& e = s.entries[i];
        if (e.icon) DrawIconEx(dc, x + (cellW - iconW) / 2, y + 2, e.icon, iconW, iconH, 0, nullptr, DI_NORMAL);
        RECT text = {x + 2, y + 4 + iconH, x + cellW - 2, y + cellH};
        const UINT fmt = DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS | DT_NOPREFIX | DT_EDITCONTROL;
        RECT shadow = text;
        OffsetRect(&shadow, 1, 1);
        SetTextColor(dc, RGB(0, 0, 0));
        DrawTextW(dc, e.name.c_str(), -1, &shadow, fmt);
        SetTextColor(dc, RGB(255, 255, 255));
        DrawTextW(dc, e.name.c_str(), -1, &text, fmt);
    }
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

// The icons' "WorkerW" keeps only the pixels that are not see-through (a window region made
// of each row's runs); set only when it changes, since a new region repaints the window.
void ShapeToIcons(const Shell& s, HDC mem, HBITMAP bmp, int w, int h) {
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> px(static_cast<size_t>(w) * h);
    if (!GetDIBits(mem, bmp, 0, h, px.data(), &bi, DIB_RGB_COLORS)) return;
    const DWORD key = (GetRValue(kSeeThrough) << 16) | (GetGValue(kSeeThrough) << 8) | GetBValue(kSeeThrough);
    std::vector<RECT> runs;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w;) {
            if ((px[static_cast<size_t>(y) * w + x] & 0xFFFFFF) == key) { ++x; continue; }
            const int x0 = x;
            while (x < w && (px[static_cast<size_t>(y) * w + x] & 0xFFFFFF) != key) ++x;
            runs.push_back({x0, y, x, y + 1});
        }
    std::vector<char> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* rd = reinterpret_cast<RGNDATA*>(data.data());
    rd->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(runs.size()),
               static_cast<DWORD>(runs.size() * sizeof(RECT)), {0, 0, w, h}};
    if (!runs.empty()) memcpy(rd->Buffer, runs.data(), runs.size() * sizeof(RECT));
    HRGN shape = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), rd);
    HRGN now = CreateRectRgn(0, 0, 0, 0);
    const bool same = shape && GetWindowRgn(s.iconWorker, now) != ERROR && EqualRgn(shape, now);
    DeleteObject(now);
    if (shape && !same) SetWindowRgn(s.iconWorker, shape, TRUE);  // the window owns it now
    else if (shape) DeleteObject(shape);
}

// Each window paints its layer: the icon layer its icons, over the wallpaper while it is a
// child of "Progman" and over the see-through colour inside the icons' "WorkerW"; that
// "WorkerW" only the see-through colour; "Progman" and the back "WorkerW" the wallpaper.
void Paint(Shell& s, HWND hwnd) {
    const bool icons = hwnd == s.iconView;
    const bool seeThrough = hwnd == s.iconWorker || (icons && s.iconWorker && GetParent(hwnd) == s.iconWorker);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    const int w = client.right - client.left;
    const int h = client.bottom - client.top;
    // Into a memory bitmap first, then one blit: no flicker when the icons change.
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = mem ? CreateCompatibleBitmap(dc, w, h) : nullptr;
    if (mem && bmp) {
        HGDIOBJ oldBmp = SelectObject(mem, bmp);
        // Wine's PaintDesktop cannot read the class brush of a desktop window owned by another
        // process and fills with the DC's current brush instead: make that the desktop colour.
        if (seeThrough) {
            HBRUSH key = CreateSolidBrush(kSeeThrough);
            FillRect(mem, &client, key);
            DeleteObject(key);
        } else {
            HBRUSH brush = s.colorBrush ? s.colorBrush : GetSysColorBrush(COLOR_BACKGROUND);
            HGDIOBJ oldBrush = SelectObject(mem, brush);
            FillRect(mem, &client, brush);
            PaintDesktop(mem);
            SelectObject(mem, oldBrush);
            // Only the process that owns the desktop window gets a wallpaper from PaintDesktop
            // on Wine; a shell paints its own anyway.
            DrawWallpaper(mem, client, s.picture, s.wallpaper);
        }
        if (icons) PaintEntries(s, mem, client);
        if (icons && seeThrough) ShapeToIcons(s, mem, bmp, w, h);
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, mem, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
        SelectObject(mem, oldBmp);
    } else {
        PaintDesktop(dc);
        if (icons) PaintEntries(s, dc, client);
    }
    if (bmp) DeleteObject(bmp);
    if (mem) DeleteDC(mem);
    EndPaint(hwnd, &ps);

    if (icons && !s.painted) {
        s.painted = true;
        if (!s.readyPath.empty()) {
            HANDLE f = CreateFileW(s.readyPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            if (f != INVALID_HANDLE_VALUE) {
                char line[32];
                const int n = wsprintfA(line, "%lu\n", GetCurrentProcessId());
                DWORD written = 0;
                WriteFile(f, line, static_cast<DWORD>(n), &written, nullptr);
                CloseHandle(f);
            }
        }
    }
}

// Wine's desktop window paints its own (always centred) wallpaper on top of every window whenever
// it is invalidated, a second picture over ours. standin_hook.dll, loaded into its process through
// a message hook, makes it paint nothing, as a desktop window under a full-screen shell shows
// nothing on Windows. Returns whether the desktop window says so (a property it sets).
bool QuietenDesktopWindow(HINSTANCE instance) {
    HWND desktop = GetDesktopWindow();
    const DWORD thread = GetWindowThreadProcessId(desktop, nullptr);
    if (!thread) return false;
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(instance, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return false;
    std::wstring dll(path);
    dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"standin_hook.dll";
    HMODULE module = LoadLibraryW(dll.c_str());
    auto* proc = module ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module, "QuietDesktopHook")))
                        : nullptr;
    if (!proc || !SetWindowsHookExW(WH_GETMESSAGE, proc, module, thread)) return false;
    for (int i = 0; i < 50 && !GetPropW(desktop, L"OrvQuietDesktop"); ++i) {
        PostMessageW(desktop, WM_NULL, 0, 0);  // the hook runs when that thread takes a message
        Sleep(40);
    }
    return GetPropW(desktop, L"OrvQuietDesktop") != nullptr;
}

void CoverScreen(HWND hwnd) {
    SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void InvalidateLayers(const Shell& s) {
    for (HWND h : {s.hwnd, s.iconView, s.iconWorker, s.backWorker})
        if (h) InvalidateRect(h, nullptr, FALSE);
}

HWND MakeLayer(const wchar_t* cls, HWND parent) {
    const DWORD style = (parent ? WS_CHILD : WS_POPUP | WS_CLIPCHILDREN) | WS_CLIPSIBLINGS;
    const DWORD exStyle = parent ? 0 : WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    RECT r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (parent) GetClientRect(parent, &r);
    return CreateWindowExW(exStyle, cls, L"", style, 0, 0, r.right, r.bottom, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// The windows of the shape, as the shell makes them when it starts.
void BuildLayers(Shell& s) {
    s.iconView = MakeLayer(kIconViewClass, s.hwnd);  // a new child goes behind the others
    if (s.shape == Shape::Win24H2) s.backWorker = MakeLayer(kWorkerClass, s.hwnd);
    for (HWND h : {s.backWorker, s.iconView})
        if (h) ShowWindow(h, SW_SHOWNOACTIVATE);
}

// Classic, asked with 0x052C: the icon layer moves into a top-level "WorkerW" that shows only
// the icons, with an empty "WorkerW" behind it, both in front of "Progman".
void SplitIconLayer(Shell& s) {
    if (s.shape != Shape::Classic || s.iconWorker || !s.iconView) return;
    s.backWorker = MakeLayer(kWorkerClass, nullptr);
    s.iconWorker = MakeLayer(kWorkerClass, nullptr);
    if (!s.backWorker || !s.iconWorker) return;
    SetWindowRgn(s.iconWorker, CreateRectRgn(0, 0, 0, 0), FALSE);  // nothing shows till the icons paint
    SetParent(s.iconView, s.iconWorker);
    for (HWND h : {s.iconWorker, s.backWorker, s.hwnd})  // each to the bottom: this order, Progman last
        SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateLayers(s);
}

// As a restarting Explorer: the windows go and come back anew, then the taskbar's broadcast.
void RebuildLayers(Shell& s, WPARAM shape) {
    for (HWND* h : {&s.iconWorker, &s.backWorker, &s.iconView}) {
        if (*h && IsWindow(*h)) DestroyWindow(*h);
        *h = nullptr;
    }
    if (shape == static_cast<WPARAM>(Shape::Classic) || shape == static_cast<WPARAM>(Shape::Win24H2))
        s.shape = static_cast<Shape>(shape);
    BuildLayers(s);
    InvalidateLayers(s);
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    Shell& s = g_shell;
    if (hwnd != s.hwnd && s.hwnd) {  // a layer: it paints, it is never activated
        switch (msg) {
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: Paint(s, hwnd); return 0;
        default: return DefWindowProcW(hwnd, msg, wp, lp);
        }
    }
    if (msg == kSpawnWorker) return SplitIconLayer(s), 0;
    if (msg == s.rebuildMessage && msg) return RebuildLayers(s, wp), 0;
    switch (msg) {
    case WM_CREATE:
        s.hwnd = hwnd;
        RebuildFont(s);
        RefreshLook(s, true);
        Rescan(s);
        SetTimer(hwnd, kScanTimer, kScanMs, nullptr);
        return 0;
    case WM_TIMER:
        if (wp == kScanTimer) {
            bool look = true;  // without a notification handle, rescan on every tick
            if (s.change != INVALID_HANDLE_VALUE) {
                look = WaitForSingleObject(s.change, 0) == WAIT_OBJECT_0;
                if (look) FindNextChangeNotification(s.change);
            }
            // The folder can be replaced as a whole (path change) without a notification.
            bool repaint = false;
            if (look || DesktopDirectory() != s.desktopDir) repaint = Rescan(s);
            // A broadcast can be lost (or late, behind a hung window): compare the look too.
            if (RefreshLook(s, false)) repaint = true;
            if (repaint) InvalidateLayers(s);
            return 0;
        }
        break;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_WINDOWPOSCHANGING: {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
        if (!(pos->flags & SWP_NOZORDER)) pos->hwndInsertAfter = HWND_BOTTOM;
        break;
    }
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT covers every pixel
    case WM_PAINT:
        Paint(s, hwnd);
        return 0;
    case WM_SETTINGCHANGE:
        // Another process changed the wallpaper (perhaps to the same path, a new picture).
        RefreshLook(s, wp == SPI_SETDESKWALLPAPER);
        if (wp == SPI_SETICONTITLELOGFONT || wp == SPI_SETNONCLIENTMETRICS) RebuildFont(s);
        InvalidateLayers(s);
        return 0;
    case WM_SYSCOLORCHANGE:
        RefreshLook(s, false);
        InvalidateLayers(s);
        return 0;
    case WM_DISPLAYCHANGE: {
        CoverScreen(hwnd);
        const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
        for (HWND h : {s.iconWorker, s.backWorker, s.iconView})
            if (h) SetWindowPos(h, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateLayers(s);
        return 0;
    }
    case WM_DESTROY:
        KillTimer(hwnd, kScanTimer);
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// Pays Wine's one-time font scan: create a font, select it, measure a text.
int Warmup() {
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return 1;
    LOGFONTW lf = {};
    lf.lfHeight = -12;
    lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    const BOOL ok = GetTextExtentPoint32W(dc, L"Orvanta \x00e4\x00f6\x00fc", 11, &size);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return ok && size.cx > 0 ? 0 : 2;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    PWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; argv && i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--warmup") {
            LocalFree(argv);
            return Warmup();
        }
        if (arg.rfind(L"--ready=", 0) == 0) g_shell.readyPath = arg.substr(8);
        if (arg == L"--shape=24h2") g_shell.shape = Shape::Win24H2;
    }
    if (argv) LocalFree(argv);

    if (FindWindowW(kClassName, nullptr)) return 3;  // a desktop window exists already
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // for the picture decoder

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) return 4;
    for (const wchar_t* cls : {kIconViewClass, kWorkerClass}) {
        wc.lpszClassName = cls;
        if (!RegisterClassExW(&wc)) return 4;
    }
    g_shell.rebuildMessage = RegisterWindowMessageW(L"OrvStandinRebuild");

    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, kTitle,
                                WS_POPUP | WS_CLIPCHILDREN, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 5;
    if (!QuietenDesktopWindow(instance)) return 6;  // two pictures would show: no stand
    BuildLayers(g_shell);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    CoverScreen(hwnd);
    UpdateWindow(hwnd);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (g_shell.change != INVALID_HANDLE_VALUE) FindCloseChangeNotification(g_shell.change);
    g_shell.entries.clear();
    if (g_shell.font) DeleteObject(g_shell.font);
    if (g_shell.colorBrush) DeleteObject(g_shell.colorBrush);
    if (g_shell.picture) DeleteObject(g_shell.picture);
    if (SUCCEEDED(com)) CoUninitialize();
    return static_cast<int>(msg.wParam);
}

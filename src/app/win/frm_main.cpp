#include "app/win/frm_main.h"

#include <commctrl.h>
#include <shlobj.h>

#include <tuple>
#include <utility>

#include "app/win/app_paths.h"
#include "app/win/bar_buttons.h"
#include "app/win/bar_ids.h"
#include "app/win/default_wallpapers.h"
#include "app/win/watchdog.h"
#include "base/win/log.h"
#include "base/win/utf.h"
#include "base/win/window_dpi.h"
#include "controls/win/candy_button.h"
#include "controls/win/frm_about.h"
#include "snapshot/win/frm_capture.h"
#include "snapshot/win/snap_output.h"

#include "../../../res/resource.h"

namespace orv {

namespace {
constexpr wchar_t kInstanceMutex[] = L"Local\\OrvantaZ.SingleInstance";
constexpr UINT_PTR kRelayerTimer = 1;
constexpr UINT kRelayerMs = 150;
constexpr int kRelayers = 2;  // re-layerings after a switch
// How long quitting waits for desktop 1's look while an application hangs.
constexpr DWORD kQuitLookMs = 1500;

// The bar's own: the watchdog is made now.
constexpr UINT kStartWatchdogMessage = WM_APP + 1;
constexpr UINT_PTR kWallpaperTimer = 2;  // the next default wallpaper is made

// Where the bar is made, before its stored place is read.
constexpr int kBarFirstLeft = 200;
constexpr int kBarFirstTop = 200;

// The system's message font at a height in pixels.
UniqueFont BarFont(int height, LONG weight) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    LOGFONTW lf{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) lf = ncm.lfMessageFont;
    else wcscpy_s(lf.lfFaceName, L"Tahoma");
    lf.lfHeight = -height;
    lf.lfWidth = 0;
    lf.lfWeight = weight;
    lf.lfQuality = CLEARTYPE_QUALITY;
    return UniqueFont(CreateFontIndirectW(&lf));
}

void MoveChild(HWND child, const BarBox& b) { MoveChildTo(child, b.left, b.top, b.width, b.height); }

// What a second start posts to the running bar: show yourself.
UINT ShowBarMessage() {
    static const UINT message = RegisterWindowMessageW(L"Quillon.OrvantaZ.ShowBar.7d3f61c2");
    return message;
}

// What the uninstaller posts to the running bar: quit without asking, the way the quit
// button does once answered (every hidden window shown again, the settings saved).
UINT QuitMessage() {
    static const UINT message = RegisterWindowMessageW(L"Quillon.OrvantaZ.Quit.7d3f61c2");
    return message;
}
}  // namespace

// ---------------------------------------------------------------------------------------
// FrmMain

FrmMain::FrmMain() : flavour_(CurrentFlavour()) {}

// The bar and its buttons go before the font and pictures they use.
FrmMain::~FrmMain() {
    if (hwnd()) DestroyWindow(hwnd());
}

int FrmMain::Run() {
    if (!FormLoad()) return 0;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (unloaded_) lookOps_.FinishLook(kQuitLookMs);
    wallpapers_.Wait();  // their values and files whole before we end
    Log("Ended cleanly");
    return 0;
}

bool FrmMain::FormLoad() {
    // Another instance already running: say so and end, touching nothing.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, kInstanceMutex);
    const bool alreadyRunning = GetLastError() == ERROR_ALREADY_EXISTS;
    instanceMutex_.reset(mutex);
    if (alreadyRunning) {
        // Its bar may be hidden with no other way back: the running one is asked to show it.
        if (HWND bar = FindWindowW(kBarClass, nullptr)) PostMessageW(bar, ShowBarMessage(), 0, 0);
        MessageBoxW(nullptr, L"Only one instance of this program can run.", L"Advice", MB_OK | MB_ICONSTOP);
        return false;
    }

    // The bar carries the application title and stays out of the task list.
    icon_ = LoadIconW(ModuleInstance(), MAKEINTRESOURCEW(IDI_APP));
    if (!CreateBar()) {
        const DWORD error = GetLastError();
        if (MakeDataFolders()) StartFailed("its bar window", error);
        return false;
    }

    store_ = std::make_unique<RegistryStore>(kSettingsRoot, flavour_.appName);
    // The bar first, in its place and drawn with its buttons' faces; their windows and the
    // rest are made behind it before any message is taken (so before any click).
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    PlaceBar();
    UpdateWindow(hwnd());
    if (!CreateBarButtons()) {
        const DWORD error = GetLastError();
        if (MakeDataFolders()) StartFailed("the bar's buttons", error);
        return false;
    }

    // Behind the shown bar: the data folder with the log (a folder that cannot be made ends
    // the start), the common controls and what the bar does not show at once. The shell's
    // and the common controls' DLLs are loaded from here on, not with the exe.
    if (!MakeDataFolders()) return false;
    Log(std::string(flavour_.productName) + " " ORV_VERSION " started: " + ExePath());
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);  // Form_Initialize
    if (!CreateBarTips()) Log("The bar's tooltips cannot be made: " + ErrorText(GetLastError()));

    // The menu's form, made with the others; its owner-drawn handling comes after the tray icon.
    menu_ = FrmMenu::Create(*this, *store_, flavour_);
    if (!menu_) Log("The tray menu cannot be made: the bar is the only way in");
    else menu_->SetShowOnTop(topmost_);
    windowOps_.SetActivationKeeper(hwnd());
    lookOps_.SetDepartedSource([this] { return windowOps_.TakeDeparted(); });
    deskWindows_ = std::make_unique<DeskWindows>(windowOps_, flavour_.appTitle);
    look_ = std::make_unique<DesktopLook>(lookOps_, *store_, folders_.dataFolder);
    // The player plays from the records LoadSettings fills; nothing plays before a switch.
    if (flavour_.hasVideo && !(video_ = DesktopVideoWin::Create(lookOps_, videoOptions_, Widen(ExePath()))))
        Log("The video player cannot be made: every desktop shows its own look");
    DesktopVideo& video = video_ ? static_cast<DesktopVideo&>(video_->Video()) : noVideo_;
    desks_ = std::make_unique<DeskManager>(DeskManagerDeps{*deskWindows_, *look_, iconShelf_, video, *this},
                                           folders_.desktopFolder, folders_.dataFolder + flavour_.iconFolderPrefix);

    // A run killed before left windows hidden, files in another desktop's folder and its
    // desktop's look: all come back first, so desktop 1 is current in every sense. Then
    // desktop 1 takes over the look found on the screen, unless desktop 1's own was just put back.
    const bool recovered = RecoverLeftovers(folders_, flavour_, *look_).valid;
    journalOps_ = std::make_unique<Win32JournalOps>(JournalPath(folders_));
    // The journal is written before any window is hidden: the watchdog, which waits for this
    // process to end and then replays a journal left behind, is up before it.
    journalOps_->SetWriteGate([this] { watchdog_.Up(); });
    journal_ = std::make_unique<DeskJournal>(*journalOps_);
    desks_->SetJournal(journal_.get());
    if (!recovered) look_->SaveDesktopLook(1);
    // The first start's pictures are made behind the bar, one whenever the message loop is idle.
    if (wallpapers_.Start(*store_, folders_)) SetTimer(hwnd(), kWallpaperTimer, 1, nullptr);
    LoadSettings(*store_, *this, flavour_.hasVideo, settings_);
    desks_->SetSharedIcons(settings_.SharedIconsOn);
    PumpMessages();
    CreateTrayIcon();
    if (menu_) menu_->SetupTrayMenu();
    PumpMessages();
    // The message loop's first message makes the watchdog; a switch before it waits for it.
    PostMessageW(hwnd(), kStartWatchdogMessage, 0, 0);
    return true;
}

// The data folder under the application-data folder, or under the program folder when the
// shell names none or it cannot be made there; the log goes into it. False when it can be
// made nowhere: start-up ends, said in a message box and in a log in the temporary folder.
bool FrmMain::MakeDataFolders() {
    const std::string program = ProgramFolder(), desktop = GetSpecialFolder(CSIDL_DESKTOPDIRECTORY);
    folders_ = ResolveFolders(flavour_, program, desktop, GetSpecialFolder(CSIDL_APPDATA));
    const std::string first = folders_.dataFolder;
    DWORD error = CreateDataFolder(folders_);
    if (error != 0) {
        folders_ = ResolveFolders(flavour_, program, desktop, "");
        if (folders_.dataFolder != first) error = CreateDataFolder(folders_);
    }
    if (error != 0) {
        wchar_t temp[MAX_PATH + 1] = {};
        if (GetTempPathW(MAX_PATH + 1, temp)) OpenLog(temp);
        StartFailed("its data folder " + first, error);
        return false;
    }
    OpenLog(Widen(folders_.dataFolder));
    if (folders_.dataFolder != first) Log("The data folder " + first + " cannot be made: " + folders_.dataFolder + " serves");
    CreateIconFolders(folders_, flavour_);
    return true;
}

// Start-up cannot go on because what it needs cannot be made: the user and the log are told.
void FrmMain::StartFailed(const std::string& what, DWORD error) {
    const std::string why = what + " cannot be made";
    Log("Start-up ends: " + why + ": " + std::to_string(error) + " " + ErrorText(error));
    const std::string text = std::string(flavour_.productName) + " cannot start: " + why + ".\n\n" + ErrorText(error);
    MessageBoxW(nullptr, Widen(text).c_str(), Widen(flavour_.appTitle).c_str(), MB_OK | MB_ICONSTOP);
}

bool FrmMain::CreateBar() {
    RegisterClassOnce(kBarClass, icon_);
    const BarLayout first = LayOutBar(96);
    if (!CandyButton::Register() ||
        !Create(kBarClass, Widen(flavour_.appTitle).c_str(), WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW,
                kBarFirstLeft, kBarFirstTop, first.width, first.height, nullptr))
        return false;
    // Focus rectangles only once the keyboard is used, as elsewhere in the system.
    SendMessageW(hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    LayOutBarFor(static_cast<int>(WindowDpi(hwnd())));
    return true;
}

bool FrmMain::CreateBarButtons() {
    // Each in its place for the bar's DPI, as the bar has drawn it already.
    HWND* const windows[] = {&deskButtons_[0], &deskButtons_[1], &deskButtons_[2], &deskButtons_[3],
                             &deskButtons_[4], &deskButtons_[5], &snapButton_,     &videoButton_, &settingButton_};
    const std::vector<BarButtonSpec> buttons = BarButtonSpecs(layout_, pictures_);
    if (buttons.size() != std::size(windows)) return false;
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (!(*windows[i] = CreateBarButton(hwnd(), buttons[i], font_.get()))) return false;
    const BarLayout& l = layout_;
    if (!hideButton_.Create(hwnd(), kIdImgButton5, l.hide, [this] { DoAction(kActionHideBar); }) ||
        !quitButton_.Create(hwnd(), kIdImgButton4, l.quit, [this] { DoAction(kActionQuit); }))
        return false;
    quitButton_.Show(pictures_.quit.get(), l.pressedOffset, l.quit);
    hideButton_.Show(pictures_.hide.get(), l.pressedOffset, l.hide);
    return true;
}

bool FrmMain::CreateBarTips() {
    // Not owned by the bar: under Wine a topmost window owned by the bar keeps the bar itself
    // from being made topmost. It goes with the bar all the same (WM_DESTROY).
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                            ModuleInstance(), nullptr);
    if (!tips_) return false;
    SetTipFont(layout_.dpi);
    const std::pair<HWND, const wchar_t*> tips[] = {
        {snapButton_, L"Capture Screen Area"}, {videoButton_, L"Settings"}, {settingButton_, L"Settings"}};
    bool all = true;
    for (const auto& [button, text] : tips) {
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = hwnd();
        ti.uId = reinterpret_cast<UINT_PTR>(button);
        ti.lpszText = const_cast<wchar_t*>(text);
        all = SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) && all;
    }
    return all;
}

// The tooltips' font, once they are made (after the bar is shown).
void FrmMain::SetTipFont(int dpi) {
    if (!tips_) return;
    UniqueFont font = BarFont(ScaleForDpi(12, dpi), FW_NORMAL);
    if (!font) return;
    SendMessageW(tips_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    tipFont_ = std::move(font);
}

// Every part of the bar for a DPI: its size, the buttons' places, the fonts and pictures.
// The pictures are drawn for the size they are shown at, so they stay crisp at any DPI.
void FrmMain::LayOutBarFor(int dpi) {
    layout_ = LayOutBar(dpi);
    const BarLayout& l = layout_;
    RECT now{};
    GetClientRect(hwnd(), &now);
    if (now.right != l.width || now.bottom != l.height)
        SetWindowPos(hwnd(), nullptr, 0, 0, l.width, l.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The old font and pictures go once the buttons show the new ones.
    UniqueFont font = BarFont(l.captionHeight, FW_BOLD);
    BarPictures pictures = MakeBarPictures(l);
    PlaceButtons(font.get(), pictures);
    if (font) font_ = std::move(font);
    pictures_ = std::move(pictures);
    SetTipFont(dpi);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

// The buttons made so far to the current layout, with the font and pictures given.
void FrmMain::PlaceButtons(HFONT font, const BarPictures& pictures) {
    const BarLayout& l = layout_;
    for (int i = 0; i < kDeskCount; ++i) {
        if (!deskButtons_[i]) continue;
        if (font) SendMessageW(deskButtons_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        MoveChild(deskButtons_[i], l.desk[i]);
    }
    const std::tuple<HWND, const BarBox&, HICON> tools[] = {{snapButton_, l.snap, pictures.snap.get()},
                                                            {videoButton_, l.video, pictures.video.get()},
                                                            {settingButton_, l.setting, pictures.setting.get()}};
    for (const auto& [button, box, icon] : tools) {
        if (!button) continue;
        CandyButton::From(button)->SetPicture(icon);
        MoveChild(button, box);
    }
    if (quitButton_.hwnd()) quitButton_.Show(pictures.quit.get(), l.pressedOffset, l.quit);
    if (hideButton_.hwnd()) hideButton_.Show(pictures.hide.get(), l.pressedOffset, l.hide);
}

void FrmMain::PlaceBar() {
    BarPlacement p = ReadBarPlacement(*store_);
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    // A stored position on no monitor at all (a monitor gone, a value edited by hand) would
    // leave the bar where nobody can reach it: it comes onto the nearest monitor instead.
    const ScreenRect bar = BarRectAt(p, w, h);
    const RECT wanted{bar.left, bar.top, bar.right, bar.bottom};
    if (!MonitorFromRect(&wanted, MONITOR_DEFAULTTONULL)) {
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        if (GetMonitorInfoW(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &mi)) {
            const RECT& a = mi.rcWork;
            p = MoveWithin(p, w, h, {a.left, a.top, a.right, a.bottom});
        }
    }
    MoveWindow(hwnd(), p.x, p.y, w, h, TRUE);
    topmost_ = p.topmost;
    if (p.topmost) SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (menu_) menu_->SetShowOnTop(p.topmost);
}

void FrmMain::PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void FrmMain::DoAction(int index) {
    if (!desks_) return;
    const int before = desks_->CurrentDesk();
    desks_->DoAction(index);
    if (desks_->CurrentDesk() != before) {
        ShowDeskInTray(true);
        KeepBarOnTop();
        // The windows just shown may be raised by their own applications a little later.
        relayersLeft_ = kRelayers;
        SetTimer(hwnd(), kRelayerTimer, kRelayerMs, nullptr);
    }
}

void FrmMain::KeepBarOnTop() {
    // The windows just shown were activated; where the window system restacks on
    // activation without regard to other processes' topmost windows (Wine's X11 driver
    // does), re-layering puts the bar back above them. Elsewhere it changes nothing.
    if (!topmost_ || !IsWindowVisible(hwnd())) return;
    constexpr UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
    SetWindowPos(hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, flags);
    // A desktop repaint after the wallpaper change can draw over the bar without telling it.
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void FrmMain::MarkCurrentDesk(int desk) {
    // Scheme 2 for all, then scheme 1 for the current desktop's button.
    for (HWND b : deskButtons_) CandyButton::From(b)->SetColorScheme(2);
    if (desk >= 1 && desk <= kDeskCount) CandyButton::From(deskButtons_[desk - 1])->SetColorScheme(1);
    if (menu_) menu_->MarkCurrentDesk(desk);
    // Painted now, before the switch that follows moves any window: the user sees the
    // click taken at once, however long the windows take.
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    PaintedOnScreen();
}

void FrmMain::HideBar() { ShowWindow(hwnd(), SW_HIDE); }

bool FrmMain::ConfirmQuit() {
    return MessageBoxW(hwnd(), L"Do you want to quit?", Widen(flavour_.appTitle).c_str(),
                       MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

void FrmMain::EndApplication() {
    PumpMessages();
    RemoveTrayIcon();
    FormQueryUnload();
    DestroyWindow(hwnd());
    PostQuitMessage(0);
}

void FrmMain::RestoreOnCrash() noexcept {
    const auto showAll = [this] {
        if (!deskWindows_) return;
        // Asynchronously: a hung window must not hold up the others or the end.
        for (int desk = 1; desk <= kDeskCount; ++desk)
            for (const DeskWindowEntry& e : deskWindows_->DeskWindowList(desk)) ShowWindowAsync(ToHwnd(e.handle), e.showCmd);
    };
    showAll();
    if (look_) {
        try {
            lookOps_.RequestLook(look_->StoredLook(1));
            lookOps_.FinishLook(kQuitLookMs);
        } catch (...) {
            // out of memory: the windows matter most
        }
    }
    // A crash on another thread leaves the user-interface thread running, maybe inside a
    // switch: a hide it started just before the fatal path is undone here.
    showAll();
}

void FrmMain::FormQueryUnload() {
    if (unloaded_ || !desks_) return;
    unloaded_ = true;
    desks_->RestoreAllDesktops();

    ShowWindow(hwnd(), SW_SHOWNORMAL);
    RECT rc{};
    GetWindowRect(hwnd(), &rc);
    WriteBarPosition(*store_, rc.left * kTwipsPerPixel, rc.top * kTwipsPerPixel);
    SaveSettings(*store_, *this, flavour_.hasVideo, settings_);
    if (menu_) menu_->RemoveTrayMenu();
    FrmAbout::Close();
    FrmCapture::Close();
    SnapClipboard::Release();  // the last snapshot stays on the clipboard after we are gone
    systray_.reset();  // oSysTray released (the icon is gone already unless the session ends)
    StopHotkeys();
}

LRESULT FrmMain::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == ShowBarMessage() && msg != 0) {
        // A second start of the program: the bar comes back, also after the hide button.
        ShowWindow(hwnd(), SW_SHOWNORMAL);
        ShowBar(topmost_);
        return 0;
    }
    if (msg == QuitMessage() && msg != 0) {
        Log("Asked to quit from outside (the uninstaller)");
        EndApplication();
        return 0;
    }
    switch (msg) {
        case kStartWatchdogMessage:
            watchdog_.Up();
            return 0;
        case WM_COMMAND:
            if (HIWORD(wp) == BN_CLICKED) {
                const int id = LOWORD(wp);
                if (id >= kIdDesk0 && id < kIdDesk0 + kDeskCount) DoAction(id - kIdDesk0 + 1);
                else if (id == kIdSnap) StartSnapshot();
                else if (id == kIdSetting) RunModalDialog([this](HWND owner) { ShowAdvOptions(owner); });
                else if (id == kIdVideo) RunModalDialog([this](HWND owner) { ShowVideoOptions(owner, true); });
                else break;
                return 0;
            }
            break;
        case WM_MOUSEMOVE:
            // Every part of the bar that is no button is a drag handle (the background, the
            // border strips, the edges, the grip): the left button alone moves it like a caption.
            if ((wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == MK_LBUTTON) {
                ReleaseCapture();
                SendMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
                return 0;
            }
            break;
        case WM_TIMER:
            if (wp == kWallpaperTimer) {
                if (!wallpapers_.MakeNext()) KillTimer(hwnd(), kWallpaperTimer);
                return 0;
            }
            if (wp == kRelayerTimer) {
                KeepBarOnTop();
                // Also once a look held up by a hung application has reached the screen.
                if (--relayersLeft_ <= 0 && lookOps_.LookDone()) KillTimer(hwnd(), kRelayerTimer);
                return 0;
            }
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            // Into a picture of the whole bar first, then one copy: no flicker.
            PaintDc pdc(hwnd());
            UniqueBitmap picture(CreateCompatibleBitmap(pdc.get(), layout_.width, layout_.height));
            UniqueDc mem(CreateCompatibleDC(pdc.get()));
            if (!picture || !mem) return 0;
            SelectGuard sel(mem.get(), picture.get());
            PaintBar(mem.get(), layout_);
            if (!deskButtons_[0]) PaintBarButtonFaces(mem.get(), layout_, pictures_, font_.get());
            BitBlt(pdc.get(), 0, 0, layout_.width, layout_.height, mem.get(), 0, 0, SRCCOPY);
            return 0;
        }
        case WM_DPICHANGED: {
            // Moved to a monitor of another DPI, or its DPI changed: laid out, drawn and
            // placed anew where the system suggests.
            const auto* suggested = reinterpret_cast<const RECT*>(lp);
            LayOutBarFor(LOWORD(wp));
            if (suggested)
                SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, layout_.width, layout_.height,
                             SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_DESTROY:
            if (tips_) DestroyWindow(std::exchange(tips_, nullptr));
            break;
        case WM_CLOSE:
            DoAction(kActionQuit);  // closing the bar is a quit request
            return 0;
        case WM_ENDSESSION:
            if (wp) {  // the session ends: every hidden window comes back, desktop 1's look too
                FormQueryUnload();
                lookOps_.FinishLook(kQuitLookMs);
                Log("The session ends: every window shown again, the settings saved");
            }
            return 0;
        default:
            break;
    }
    return Default(msg, wp, lp);
}

}  // namespace orv

// The standard dialogs' rules, without <windows.h>: the open-file dialog's flags, its filter
// text in the system's form, its buffers and what the caller gets back (cCommonDlg), and the
// folder browser's start folder and remembered selection (mBrowseFolder).
//
// Texts are UTF-16 here, unlike the other hearts: they are the very buffers the dialogs read
// and write, and the callers hold file names as std::wstring.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orv::cdlg {

// Open-file flags (the system's values).
inline constexpr std::uint32_t kOfnReadOnly = 0x1;
inline constexpr std::uint32_t kOfnHideReadOnly = 0x4;
inline constexpr std::uint32_t kOfnEnableHook = 0x20;
inline constexpr std::uint32_t kOfnEnableTemplate = 0x40;
inline constexpr std::uint32_t kOfnAllowMultiSelect = 0x200;
inline constexpr std::uint32_t kOfnFileMustExist = 0x1000;
inline constexpr std::uint32_t kOfnExplorer = 0x80000;
inline constexpr std::uint32_t kOfnEnableSizing = 0x800000;
inline constexpr std::uint32_t kOfnExNoPlacesBar = 0x1;  // the extended flags

// Characters of the file name and file title buffers.
inline constexpr std::size_t kPathChars = 260;

// lShInitView: leave the file list's view as the dialog makes it.
inline constexpr std::int32_t kKeepView = 1;
// The file list's view commands (sent as WM_COMMAND to the list's "SHELLDLL_DefView").
inline constexpr std::int32_t kReportView = 28716;
inline constexpr std::int32_t kThumbnailView = 28717;

// Owner: a window handle's value, or none.
inline constexpr std::intptr_t kNoOwner = -1;

// VBGetOpenFileName's parameters, in and out.
struct OpenFileArgs {
    std::wstring filename;         // in: the initial file name; out: the chosen path, or empty
    std::wstring fileTitle;        // out: the chosen file's name without its folder, or empty
    bool fileMustExist = false;
    bool multiSelect = false;
    bool readOnly = false;         // in: ticks read-only; out: the user left it ticked
    bool hideReadOnly = false;
    std::wstring filter;           // in: "description|pattern|..."; out: the chosen pair,
                                   // description NUL pattern, or empty
    std::int32_t filterIndex = 1;  // in: 1-based filter to select; out: the chosen one, -1 when none
    std::wstring initDir;
    std::wstring dlgTitle;
    std::wstring defaultExt;
    std::intptr_t owner = kNoOwner;
    std::int32_t flags = 0;        // in: further flags; out: the flags the dialog returned, 0 when none
    bool hideBar = false;          // no places bar
    std::int32_t shInitView = kKeepView;  // the view command for the file list
};

// Every "|" and every ":" becomes a NUL; two NULs end the list.
std::wstring ConvertFilter(std::wstring_view filter);

// The index-th (1-based) description and pattern of a converted filter, joined by one NUL;
// empty when there is no such pair.
std::wstring FilterPair(std::wstring_view converted, std::int32_t index);

// The flags the dialog gets: the caller's without the hook and template flags, the
// Boolean parameters' flags, and hook, explorer style and sizing when the view is set.
std::uint32_t OpenFileFlags(const OpenFileArgs& args);
std::uint32_t OpenFileFlagsEx(const OpenFileArgs& args);
inline bool UsesViewHook(const OpenFileArgs& args) { return args.shInitView != kKeepView; }

// A text followed by NULs up to kPathChars characters (a longer text keeps one NUL).
std::wstring PathBuffer(std::wstring_view text);
// A buffer's text before its first NUL.
std::wstring BeforeNul(std::wstring_view buffer);

// What the dialog call gave back.
struct OpenFileOutcome {
    std::int32_t apiReturn = 0;       // 1: a file was chosen
    std::uint32_t extendedError = 0;  // the dialog library's code when apiReturn is not 1
    std::wstring_view fileBuffer;
    std::wstring_view titleBuffer;
    std::uint32_t flags = 0;
    std::int32_t filterIndex = 0;
};

// Sets the outputs of args for the outcome (a cancel and an error give empty texts, flags 0
// and filterIndex -1); true when a file was chosen. convertedFilter: what the dialog got.
bool ApplyOpenFileOutcome(OpenFileArgs& args, std::wstring_view convertedFilter, const OpenFileOutcome& outcome);

// The full open-file record is used only where the version query succeeded on the NT family
// (platform 2) with major version exactly 5.
bool IsWin2000Plus(bool queried, std::uint32_t platformId, std::uint32_t majorVersion);

// The folder browser's flags: only file-system folders, not below the domain, status text,
// new dialog style, 0x8000, and all sixteen upper bits.
inline constexpr std::uint32_t kBrowseFlags = 0xFFFF8047u;

// The folder browser's remembered folder, kept for the whole run, and its dialog's state.
class BrowseFolderState {
public:
    // Before a dialog: a start folder of more than one character is taken; with none, the
    // application's folder when nothing is remembered yet. Returns the folder to open at.
    const std::wstring& Begin(std::wstring_view start, std::wstring_view appFolder);
    // The dialog is up and LastBrowseFolder() has been sent as its selection: selections
    // count from now on (not the one that sending made).
    void OnInitialized() { initialised_ = true; }
    // The selection changed to path (empty when it is no file-system folder): true when it is
    // shown as the status text and remembered.
    bool OnSelectionChanged(std::wstring_view path);
    const std::wstring& LastBrowseFolder() const { return last_; }

private:
    std::wstring last_;
    bool initialised_ = false;
};

}  // namespace orv::cdlg

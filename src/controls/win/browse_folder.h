// mBrowseFolder: the system's folder browser, opened at a start folder (or, without one, at
// the folder last selected in it during this run, at first the program's folder), showing
// the selected path as its status text.
#pragma once

#include <windows.h>

#include <string>

namespace orv {

// The folder chosen (owned by owner, titled with title), or empty when the user cancels or
// chooses no file-system folder. A start folder of one character or none counts as none.
std::wstring BrowseForFolder(HWND owner, const std::wstring& title, const std::wstring& startFolder);

}  // namespace orv

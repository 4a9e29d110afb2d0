// cCommonDlg: the system's open-file dialog behind VBGetOpenFileName, with the file list's
// view chosen through a hook. An object serves the calls of one user.
#pragma once

#include <windows.h>

#include <cstdint>

#include "controls/common_dlg.h"

namespace orv {

class CCommonDlg {
public:
    CCommonDlg() { SetOSVersion(); }

    // The open-file dialog (see cdlg::OpenFileArgs for what goes in and comes out); true when
    // the user chose a file. A failing call leaves the outputs as a cancel does and keeps the
    // dialog library's code in ExtendedError(). No message is shown.
    bool VBGetOpenFileName(cdlg::OpenFileArgs& args);

    std::int32_t APIReturn() const { return apiReturn_; }
    std::int32_t ExtendedError() const { return extendedError_; }

    // The record's size: the full OPENFILENAMEW where IsWin2000Plus, else the 4.0 record
    // (which has no room for the extended flags).
    void SetOSVersion();
    DWORD StructSize() const { return structSize_; }
    static bool IsWin2000Plus();

private:
    DWORD structSize_ = 0;
    std::int32_t apiReturn_ = 0;
    std::int32_t extendedError_ = 0;
};

}  // namespace orv

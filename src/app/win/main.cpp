#include <windows.h>

#include "app/win/frm_main.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int code = 0;
    {
        orv::FrmMain app;
        code = app.Run();
    }
    SetErrorMode(SEM_NOGPFAULTERRORBOX);
    return code;
}

#include <windows.h>

#include "app/win/frm_main.h"
#include "app/win/watchdog.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    if (auto program = orv::WatchdogHandle(commandLine)) return orv::RunWatchdog(*program);
    int code = 0;
    {
        orv::FrmMain app;
        code = app.Run();
    }
    SetErrorMode(SEM_NOGPFAULTERRORBOX);
    return code;
}

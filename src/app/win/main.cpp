#include <windows.h>

#include "app/win/frm_main.h"
#include "app/win/watchdog.h"
#include "base/win/fatal.h"
#include "video/win/media_process.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    if (auto program = orv::WatchdogHandle(commandLine)) return orv::RunWatchdog(*program);
    if (auto program = orv::MediaClientHandle(commandLine)) return orv::RunMediaProcess(*program);
    int code = 0;
    {
        orv::FrmMain app;
        // From here on a crash anywhere shows every hidden window again before the end.
        orv::InstallFatalPath([](void* a) noexcept { static_cast<orv::FrmMain*>(a)->RestoreOnCrash(); }, &app);
        code = app.Run();
        orv::InstallFatalPath(nullptr, nullptr);  // app goes now
    }
    SetErrorMode(SEM_NOGPFAULTERRORBOX);
    return code;
}

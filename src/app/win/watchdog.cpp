#include "app/win/watchdog.h"

#include <shlobj.h>

#include "app/win/app_paths.h"
#include "app/win/journal_file.h"
#include "app/win/look_ops.h"
#include "app/win/shell_files.h"
#include "base/win/handles.h"
#include "base/win/helper_process.h"
#include "base/win/log.h"
#include "base/win/utf.h"
#include "settings/win/registry_store.h"

namespace orv {

namespace {
constexpr wchar_t kWatchdogSwitch[] = L"/watchdog ";
constexpr wchar_t kRecoveryMutex[] = L"Local\\OrvantaZ.Recovery";
constexpr DWORD kRecoveryWaitMs = 30000;
constexpr DWORD kWatchdogLookMs = 10000;  // the watchdog's wait for a hung application
}  // namespace

std::wstring JournalPath(const AppFolders& folders) { return Widen(folders.dataFolder + kJournalName); }

RecoveryReport RecoverLeftovers(const AppFolders& folders, const FlavourInfo& f, DesktopLook& look) {
    // The watchdog of a killed run and a new start may both find the journal: one at a time.
    UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kRecoveryMutex));
    const DWORD wait = mutex ? WaitForSingleObject(mutex.get(), kRecoveryWaitMs) : WAIT_FAILED;
    Win32JournalOps ops(JournalPath(folders));
    ShellIconShelf icons;
    const RecoveryReport r = RecoverJournal(ops, icons, look, folders.desktopFolder, folders.dataFolder + f.iconFolderPrefix);
    if (r.found) Log(DescribeRecovery(r));
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ReleaseMutex(mutex.get());
    return r;
}

bool StartWatchdog() {
    return static_cast<bool>(StartHelperProcess(Widen(ExePath()), kWatchdogSwitch, SYNCHRONIZE, "Watchdog").process);
}

std::optional<HANDLE> WatchdogHandle(const wchar_t* commandLine) { return HelperHandle(commandLine, kWatchdogSwitch); }

int RunWatchdog(HANDLE program) {
    const FlavourInfo& f = CurrentFlavour();
    const AppFolders folders = ResolveFolders(f, ProgramFolder(), GetSpecialFolder(CSIDL_DESKTOPDIRECTORY),
                                              GetSpecialFolder(CSIDL_APPDATA));
    if (WaitForSingleObject(program, INFINITE) != WAIT_OBJECT_0) return 1;
    CloseHandle(program);
    // A clean end removed the journal; only a killed or crashed run leaves it.
    if (!Win32JournalOps(JournalPath(folders)).Exists()) return 0;
    OpenLog(Widen(folders.dataFolder));
    RegistryStore store(kSettingsRoot, f.appName);
    // The watchdog has waited since the program started: a colour it read back then may be
    // kept by the process, so the colour is always set.
    Win32LookOps lookOps(&PutLookOnScreenSettingColour);
    DesktopLook look(lookOps, store, folders.dataFolder);
    RecoverLeftovers(folders, f, look);
    lookOps.FinishLook(kWatchdogLookMs);
    CloseLog();
    return 0;
}

}  // namespace orv

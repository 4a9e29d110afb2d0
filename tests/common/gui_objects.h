// How many GUI objects a process holds, for tests that repeat an action and assert no growth.
// GetGuiResources where it works; Wine 8 stubs it (0, error 120), so there the counts come
// from the handle tables themselves.
#pragma once

#include <windows.h>

namespace orv::test {

// GDI objects (DCs, bitmaps, brushes, pens, fonts, regions, ...) of the process (opened with
// PROCESS_QUERY_INFORMATION | PROCESS_VM_READ); -1 when they cannot be read. Under Wine: the
// used entries of the process's GDI handle table, read through its PEB.
int GdiObjectCount(HANDLE process);

// Windows of the process: top-level ones with all their descendants, and message-only ones.
int WindowCount(DWORD pid);

// USER objects of this process: windows, menus, icons and cursors. Under Wine, where another
// process's menus and icons cannot be seen at all, only this process's own can be counted.
int UserHandleCount();

}  // namespace orv::test

#include "base/win/event_log.h"

#include <windows.h>

#include <string>

#include "base/win/utf.h"

namespace orv {

bool ReportErrorEvent(std::string_view text) {
    HANDLE source = RegisterEventSourceW(nullptr, L"Orvanta Solvane");
    if (!source) return false;
    const std::wstring wide = Widen(text);
    const wchar_t* strings[] = {wide.c_str()};
    const bool written = ReportEventW(source, EVENTLOG_ERROR_TYPE, 0, 0, nullptr, 1, 0, strings, nullptr) != FALSE;
    DeregisterEventSource(source);
    return written;
}

}  // namespace orv

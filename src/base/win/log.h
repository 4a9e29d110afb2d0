// A small log file in the data folder: failures of system calls with the system's text,
// recoveries and the fatal path. Bounded: when it grows past kLogLimitBytes the file
// becomes the previous log (one kept) and a new one starts. Every function may be called
// from any thread, before OpenLog (the lines are then dropped) and on the fatal path.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

inline constexpr std::uint64_t kLogLimitBytes = 256 * 1024;
inline constexpr const wchar_t* kLogName = L"Orvanta.log";
inline constexpr const wchar_t* kPreviousLogName = L"Orvanta.old.log";

// Starts logging into folder\Orvanta.log (appending). False when the file cannot be opened.
bool OpenLog(const std::wstring& folder);
void CloseLog();

// One line, stamped with the local time and the process id.
void Log(std::string_view line);
// "<what> failed: <code> <the system's message for it>".
void LogError(std::string_view what, DWORD error = GetLastError());

// The system's message text for an error code, without the trailing line break.
std::string ErrorText(DWORD error);

}  // namespace orv

// UTF-8 inside, UTF-16 at the Win32 edge.
#pragma once

#include <string>
#include <string_view>

namespace orv {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// UTF-16 text in a Windows code page (CP_ACP: the system's ANSI one); a character the code
// page lacks becomes its default character ('?').
std::string ToCodePage(std::wstring_view utf16, unsigned codePage);

}  // namespace orv

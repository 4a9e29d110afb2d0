// Where the program, the user's folders and the data folders are.
#pragma once

#include <string>

#include "app/flavour.h"

namespace orv {

// The path of a shell special folder (16 desktop, 26 application data, 5 documents), empty
// on failure.
std::string GetSpecialFolder(int csidl);
std::string ExePath();
std::string ProgramFolder();  // without a trailing separator
// The system temporary folder, trailing separator included.
std::string GetTempFolder();

// base & "\Quillon", the data folder, and the six icon folders; errors are ignored.
void CreateDataFolders(const std::string& base, const AppFolders& folders, const FlavourInfo& f);

}  // namespace orv

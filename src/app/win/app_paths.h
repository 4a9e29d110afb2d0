// Where the program, the user's folders and the data folders are.
#pragma once

#include <string>

#include "app/flavour.h"

namespace orv {

// The path of a shell special folder (a CSIDL_ value), empty on failure.
std::string GetSpecialFolder(int csidl);
std::string ExePath();
std::string ProgramFolder();  // without a trailing separator

// dataBase & "\Quillon", the data folder, and the six icon folders; errors are ignored.
void CreateDataFolders(const AppFolders& folders, const FlavourInfo& f);

}  // namespace orv

// Where the program, the user's folders and the data folders are.
#pragma once

#include <string>

#include "app/flavour.h"

namespace orv {

// The path of a shell special folder (a CSIDL_ value), empty on failure.
std::string GetSpecialFolder(int csidl);
std::string ExePath();
std::string ProgramFolder();  // without a trailing separator

// dataBase & "\Quillon" and the data folder: 0 when the data folder is there afterwards,
// else the error of making it.
unsigned long CreateDataFolder(const AppFolders& folders);
// The six icon folders; a failure is logged and the next one made.
void CreateIconFolders(const AppFolders& folders, const FlavourInfo& f);

}  // namespace orv

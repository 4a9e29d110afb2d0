#include "app/flavour.h"

namespace orv {

namespace {
constexpr FlavourInfo kFlavours[] = {
    {1, "Tessara", " Tessara", "\\Quillon\\Tessara", "\\TessDesk", "Tessara", "\\Tessara.pdf",
     4, false, false, false},
    {2, "OrvantaZ", " Orvanta Solvane", "\\Quillon\\Orvanta\\", "\\OrvDesk", "Orvanta Solvane",
     "\\Orvanta.pdf", 6, true, true, true},
};
}  // namespace

const FlavourInfo& Flavour(int flavour) { return kFlavours[flavour == 1 ? 0 : 1]; }

std::string AppFolders::IconFolder(const FlavourInfo& f, int desk) const {
    return dataFolder + f.iconFolderPrefix + std::to_string(desk);
}

std::string AppFolders::WallpaperCopy(int desk) const {
    return dataFolder + "\\Wall" + std::to_string(desk) + ".bmp";
}

std::string AppFolders::DefaultPicture(int desk) const {
    return programFolder + "\\bg" + std::to_string(desk) + ".jpg";
}

std::string AppFolders::HelpFile(const FlavourInfo& f) const { return programFolder + f.helpFileName; }

AppFolders ResolveFolders(const FlavourInfo& f, const std::string& programFolder,
                          const std::string& desktopFolder, const std::string& appDataFolder) {
    AppFolders a;
    a.programFolder = programFolder;
    a.desktopFolder = desktopFolder;
    a.dataBase = appDataFolder.empty() ? programFolder : appDataFolder;
    a.dataFolder = a.dataBase + f.dataFolderSuffix;
    return a;
}

}  // namespace orv

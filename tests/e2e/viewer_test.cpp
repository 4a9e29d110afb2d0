// The stand's program for .pdf files, through which the settings dialog's "&Help" is seen to
// open the manual (Wine has no program for .pdf files of its own).
#include "e2e/driver.h"

#include <shellapi.h>

namespace orv::e2e {
namespace {

// Faults: the stand registers no program for .pdf files (the shell then fails or opens
// nothing); the command passes "%1" unquoted (a path with blanks arrives in pieces); the path
// loses its non-ASCII letters on the way to the record.
TEST(StandViewer, TheShellOpensPdfFilesInTheTestViewer) {
    const test::TempFolder folder;
    for (const char* name : {"Orvanta.pdf", "a manual with blanks.pdf", "Bénédicte Øster.pdf"}) {
        const fs::path pdf = PathFromUtf8(folder / name);
        test::WriteFile(pdf, "%PDF-1.4\n");
        ForgetViewedFiles();
        const auto r = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", pdf.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        ASSERT_GT(r, 32) << name << ": ShellExecuteW failed with " << r;
        const std::wstring viewed = LastViewedFile(10000);
        EXPECT_EQ(CompareStringOrdinal(viewed.c_str(), -1, pdf.c_str(), -1, TRUE), CSTR_EQUAL)
            << name << ": the viewer was asked for \"" << Utf8FromPath(viewed) << "\"";
    }
}

}  // namespace
}  // namespace orv::e2e

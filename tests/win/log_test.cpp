#include <gtest/gtest.h>

#include "base/win/log.h"
#include "common/test_files.h"

namespace orv {
namespace {

// Faults: the log grows without bound, the full log is lost instead of kept as the previous
// one, a failure is logged without its code or the system's text.
TEST(Log, FailuresCarryTheSystemsTextAndAFullLogBecomesThePreviousOne) {
    test::TempFolder t;
    ASSERT_TRUE(OpenLog(t.path().wstring()));
    LogError("CreateFileW x.txt", ERROR_FILE_NOT_FOUND);
    const std::string first = test::ReadFile(t.path() / kLogName);
    EXPECT_NE(first.find("CreateFileW x.txt failed: 2 "), std::string::npos) << first;
    EXPECT_GT(first.size(), std::string_view("CreateFileW x.txt failed: 2 \r\n").size() + 30) << "with the system's text";

    const std::string filler(1000, 'x');
    for (std::uint64_t i = 0; i < kLogLimitBytes / filler.size() + 2; ++i) Log(filler);
    Log("last line");
    CloseLog();
    const std::string now = test::ReadFile(t.path() / kLogName), previous = test::ReadFile(t.path() / kPreviousLogName);
    EXPECT_LT(now.size(), kLogLimitBytes);
    EXPECT_NE(now.find("last line"), std::string::npos);
    EXPECT_NE(previous.find("CreateFileW x.txt failed"), std::string::npos) << "the old lines are kept";
    Log("after closing");  // dropped, not a crash
}

}  // namespace
}  // namespace orv

// The listing in scratch directories: byte order, dot-files, the failure
// line, and no directory left open.
#include "ui/controls/DirectoryListing.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ui/base/ImageTestSupport.hpp"

namespace zil::testing {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

std::ptrdiff_t openDescriptors() { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); }

TEST(DirectoryListing, SortsByBytesKeepsDotFilesAndReportsWhatCannotBeOpened) {
    InScratchDir scratch;
    const std::ptrdiff_t before = openDescriptors();
    fs::create_directories("some/sub");
    fs::create_directory("none");
    for (const char* name : {"b", "a", "ab", "B", ".hidden"}) std::ofstream(fs::path("some") / name).put('x');
    const std::string withNul("some\0sub", 8);
    const std::pair<std::string, Names> cases[] = {
        {"some", {".hidden", "B", "a", "ab", "b", "sub"}},  // '.' < 'B' < 'a'; a prefix first
        {"none", {}},
        {"missing", {"Could not open directory missing"}},
        {"some/b", {"Could not open directory some/b"}},  // a file
        {withNul, {"Could not open directory " + withNul}},
    };
    for (const auto& [dir, want] : cases) EXPECT_EQ(listDirectory(dir), want) << dir;
    EXPECT_EQ(openDescriptors(), before);
}

}  // namespace
}  // namespace zil::testing

#include <gtest/gtest.h>

#include "ReaderTestFiles.hpp"
#include "shell/Errors.hpp"
#include "shell/InStream.hpp"

namespace zil {
namespace {

std::vector<std::string> lines(const std::string& path) {
    auto in = InStream::open(path);
    EXPECT_TRUE(in);
    std::vector<std::string> out;
    for (;;) {
        in->refill();
        if (in->atEnd()) break;
        out.push_back(in->inputLine());
    }
    in->close();
    return out;
}

TEST(InStream, LinesKeepTheirNewlineAndTheLastGetsOne) {
    testing::ScratchDir dir;
    std::string longLine(3 * InStream::kBufferSize + 5, 'x');  // read across several fills
    EXPECT_EQ(lines(dir.write("a", "one\r\n\n" + longLine + "\ntwo")),
              (std::vector<std::string>{"one\r\n", "\n", longLine + "\n", "two\n"}));
    EXPECT_EQ(lines(dir.write("b", "")), std::vector<std::string>{});
}

TEST(InStream, FailuresOfOpenReadAndClosedStream) {
    testing::ScratchDir dir;
    EXPECT_EQ(InStream::open(dir.path("missing")), nullptr);

    auto d = InStream::open(dir.path(""));  // a directory opens but cannot be read
    ASSERT_TRUE(d);
    EXPECT_THROW(d->refill(), SysErr);

    auto in = InStream::open(dir.write("a", "x"));
    in->close();
    EXPECT_TRUE(in->closed());
    EXPECT_THROW(in->refill(), Io);
    EXPECT_THROW(in->inputLine(), Io);
}

}  // namespace
}  // namespace zil

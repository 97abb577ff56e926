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
    EXPECT_EQ(lines(dir.write("a", "one\r\n\ntwo")), (std::vector<std::string>{"one\r\n", "\n", "two\n"}));
    EXPECT_EQ(lines(dir.write("b", "")), std::vector<std::string>{});
}

TEST(InStream, LineLongerThanTheBufferIsReadAcrossFills) {
    testing::ScratchDir dir;
    std::string longLine(3 * InStream::kBufferSize + 5, 'x');
    EXPECT_EQ(lines(dir.write("a", longLine + "\nshort\n")), (std::vector<std::string>{longLine + "\n", "short\n"}));
}

TEST(InStream, AtTheEndInputLineGivesEmptyText) {
    testing::ScratchDir dir;
    auto in = InStream::open(dir.write("a", "x\n"));
    EXPECT_EQ(in->inputLine(), "x\n");
    EXPECT_EQ(in->inputLine(), "");
    EXPECT_FALSE(in->atEnd());  // taken back by inputLine
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

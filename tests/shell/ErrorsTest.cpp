#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "ShellTestSupport.hpp"
#include "shell/OutStream.hpp"

namespace zil {
namespace {

using testing::Capture;

template <class E>
std::string report(E e) {
    Capture c(false);
    reportException(std::make_exception_ptr(e), c.out());
    return c.text();
}

TEST(ErrorReport, ThreeForms) {
    EXPECT_EQ(report(EGeneric::named("IndexOutOfRange", "readAt")),
              "Generic exception of type IndexOutOfRange raised: readAt\n");
    EXPECT_EQ(report(EGeneric::internal("Zero divide in Matrix4x4.Trans.transformPoint")),
              "Software bug: Zero divide in Matrix4x4.Trans.transformPoint\n");
    EXPECT_EQ(report(EGeneric(7, "odd", "Name")), "Software bug: odd\n");  // any kind but 0
    EXPECT_EQ(report(Io("broken pipe")),
              "Software bug: Unanticipated exception of type: Io raised with the following message: Io");
    EXPECT_EQ(report(std::out_of_range("x")),
              "Software bug: Unanticipated exception of type: Subscript raised with the following message: Subscript");
}

TEST(OutStream, BufferingFlushAndClose) {
    Capture b(true), u(false);
    b.out().output("abc");
    outputString(u.out(), "xyz");
    EXPECT_EQ(b.text(), "");
    EXPECT_EQ(u.text(), "xyz");
    b.out().flush();
    EXPECT_EQ(b.text(), "abc");
    // A full buffer is written out and nothing is lost.
    b.out().output(std::string(OutStream::kBufferSize + 100, 'q'));
    EXPECT_EQ(b.text().size(), OutStream::kBufferSize);
    b.out().close();  // closing flushes what is pending
    EXPECT_EQ(b.text().size(), 100u);
    EXPECT_THROW(b.out().output("more"), Io);
    OutStream bad(-1, false);
    EXPECT_THROW(bad.output("x"), Io);
}

// The shut-down as the top-level handler sees it: 0 when every stream was
// written and closed, 1 for Io, 2 for SysErr; 10 when it ended well but
// left `fd` open.
int shutDown(int fd) {
    int status = 0;
    try {
        closeAllStreams();
    } catch (const Io&) {
        status = 1;
    } catch (const SysErr&) {
        status = 2;
    }
    return status == 0 && ::fcntl(fd, F_GETFD) != -1 ? 10 : status;
}

// Each case runs in a child process: the shut-down closes the test's own
// standard streams too.
TEST(ShutDown, WritesPendingOutputAndPassesFailuresOn) {
    testing::ScratchDir dir;
    const std::string path = dir.path("out.txt");
    auto withStream = [](int fd, std::string_view text) {
        (new OutStream(fd, true))->output(text);  // left open, as the program leaves its streams
        std::_Exit(shutDown(fd));
    };
    EXPECT_EXIT(withStream(::open(path.c_str(), O_WRONLY | O_CREAT, 0600), "pending"),
                ::testing::ExitedWithCode(0), "");
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "pending");
    // Standard output on a full disk: the lost text is an Io failure.
    EXPECT_EXIT(withStream(::open("/dev/full", O_WRONLY), "lost"), ::testing::ExitedWithCode(1), "");
    // A descriptor that cannot be closed.
    EXPECT_EXIT(withStream(900, ""), ::testing::ExitedWithCode(2), "");
}

TEST(Trace, LinesOnStandardOutput) {
    std::string out = testing::stdoutOf([] {
        try {
            throw Divide();
        } catch (...) {
            EXPECT_THROW(flushAndReraise("RenderPreview.render"), Divide);
        }
        reportInternalError("Expected SUMVALUE not found", "ZilLCoordTransforms.mapSUMVALUE");
        reportInternalError("plain");
    });
    EXPECT_EQ(out,
              "Exception in RenderPreview.render\n"
              "Internal Error: Expected SUMVALUE not found in function ZilLCoordTransforms.mapSUMVALUE\n"
              "Internal Error: plain\n");
}

}  // namespace
}  // namespace zil

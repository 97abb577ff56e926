#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "shell/Errors.hpp"
#include "shell/OutStream.hpp"

namespace zil {
namespace {

// A stream over a pipe, so tests can read back exactly what was written.
struct PipeStream {
    int fds[2];
    OutStream* stream;
    explicit PipeStream(bool buffered) {
        if (::pipe(fds) != 0) std::abort();
        ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
        stream = new OutStream(fds[1], buffered);
    }
    ~PipeStream() {
        delete stream;
        ::close(fds[0]);
        ::close(fds[1]);
    }
    std::string read() {
        std::string s;
        char buf[512];
        ssize_t n;
        while ((n = ::read(fds[0], buf, sizeof buf)) > 0) s.append(buf, static_cast<size_t>(n));
        return s;
    }
};

std::string report(std::exception_ptr e) {
    PipeStream p(false);
    reportException(e, *p.stream);
    return p.read();
}

TEST(ErrorReport, ThreeForms) {
    EXPECT_EQ(report(std::make_exception_ptr(EGeneric::named("IndexOutOfRange", "readAt"))),
              "Generic exception of type IndexOutOfRange raised: readAt\n");
    EXPECT_EQ(report(std::make_exception_ptr(EGeneric::named("UIAttributes", ""))),
              "Generic exception of type UIAttributes raised: \n");
    EXPECT_EQ(report(std::make_exception_ptr(EGeneric::internal("Zero divide in Matrix4x4.Trans.transformPoint"))),
              "Software bug: Zero divide in Matrix4x4.Trans.transformPoint\n");
    // Any kind other than 0 is an internal error.
    EXPECT_EQ(report(std::make_exception_ptr(EGeneric(7, "odd", "Name"))), "Software bug: odd\n");
    EXPECT_EQ(report(std::make_exception_ptr(StopApp())),
              "Software bug: Unanticipated exception of type: StopApp raised with the following message: StopApp");
    EXPECT_EQ(report(std::make_exception_ptr(Io("broken pipe"))),
              "Software bug: Unanticipated exception of type: Io raised with the following message: Io");
}

TEST(ErrorReport, NamesOfExceptions) {
    EXPECT_EQ(exnName(Subscript()), "Subscript");
    EXPECT_EQ(exnName(InternalError("x")), "InternalError");
    EXPECT_EQ(exnName(SyntaxError("m", 3)), "SyntaxError");
    EXPECT_EQ(exnName(EGeneric::named("A", "b")), "EGeneric");
    EXPECT_EQ(exnName(std::out_of_range("x")), "Subscript");
}

TEST(OutStream, BufferedHoldsUntilFlushAndUnbufferedWritesAtOnce) {
    PipeStream b(true);
    b.stream->output("abc");
    EXPECT_EQ(b.read(), "");
    b.stream->flush();
    EXPECT_EQ(b.read(), "abc");

    PipeStream u(false);
    outputString(*u.stream, "xyz");
    EXPECT_EQ(u.read(), "xyz");
}

TEST(OutStream, FullBufferIsWrittenAndNothingIsLost) {
    PipeStream b(true);
    std::string big(OutStream::kBufferSize + 100, 'q');
    b.stream->output(big);
    EXPECT_EQ(b.read().size(), OutStream::kBufferSize);
    b.stream->flush();
    EXPECT_EQ(b.read().size(), 100u);
}

TEST(OutStream, ClosedStreamRaisesIoAndFailedWriteRaisesIo) {
    PipeStream b(true);
    b.stream->output("tail");
    b.stream->close();  // closing flushes what is pending
    EXPECT_EQ(b.read(), "tail");
    EXPECT_THROW(b.stream->output("more"), Io);

    OutStream bad(-1, false);
    EXPECT_THROW(bad.output("x"), Io);
}

TEST(Trace, LinesOnStandardOutput) {
    testing::internal::CaptureStdout();
    try {
        try {
            throw Divide();
        } catch (...) {
            flushAndReraise("RenderPreview.render");
        }
    } catch (const Divide&) {
    }
    reportInternalError("Expected SUMVALUE not found", "ZilLCoordTransforms.mapSUMVALUE");
    reportInternalError("plain");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Exception in RenderPreview.render\n"
              "Internal Error: Expected SUMVALUE not found in function ZilLCoordTransforms.mapSUMVALUE\n"
              "Internal Error: plain\n");
}

}  // namespace
}  // namespace zil

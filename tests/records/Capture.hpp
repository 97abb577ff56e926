#pragma once
// A stream over a pipe: what a test reads back is exactly what the code
// wrote and flushed. And standard output captured around a call.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "shell/OutStream.hpp"

namespace zil::test {

struct Capture {
    int fds[2];
    OutStream* stream;
    explicit Capture(bool buffered = true) {
        if (::pipe(fds) != 0) std::abort();
        ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
        stream = new OutStream(fds[1], buffered);
    }
    ~Capture() {
        if (!stream->closed()) ::close(fds[1]);  // a closed stream closed its end itself
        delete stream;
        ::close(fds[0]);
    }
    OutStream& out() { return *stream; }
    // Everything flushed so far (and consumed).
    std::string text() {
        std::string s;
        char buf[512];
        ssize_t n;
        while ((n = ::read(fds[0], buf, sizeof buf)) > 0) s.append(buf, static_cast<size_t>(n));
        return s;
    }
};

// Everything `f` writes to standard output.
template <class F>
std::string stdoutOf(F f) {
    ::testing::internal::CaptureStdout();
    f();
    return ::testing::internal::GetCapturedStdout();
}

}  // namespace zil::test

#include "shell/OutStream.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "shell/Errors.hpp"

namespace zil {

namespace {
std::vector<OutStream*>& openStreams() {
    static std::vector<OutStream*> streams;
    return streams;
}
}  // namespace

OutStream::OutStream(int descriptor, bool buffered)
    : fd_(descriptor), buffered_(buffered), lineFlush_(buffered && ::isatty(descriptor) == 1) {
    openStreams().push_back(this);
}

OutStream::~OutStream() {
    auto& list = openStreams();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void OutStream::writeAll(const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd_, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw Io(std::strerror(errno));
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

void OutStream::output(std::string_view text) {
    if (closed_) throw Io("closed stream");
    if (!buffered_) {
        writeAll(text.data(), text.size());
        return;
    }
    while (!text.empty()) {
        std::size_t room = kBufferSize - pos_;
        std::size_t n = std::min(room, text.size());
        std::memcpy(buffer_.data() + pos_, text.data(), n);
        pos_ += n;
        text.remove_prefix(n);
        if (pos_ == kBufferSize) flush();
    }
    if (lineFlush_ && std::memchr(buffer_.data(), '\n', pos_) != nullptr) flush();
}

void OutStream::flush() {
    if (closed_ || pos_ == 0) return;
    std::size_t n = pos_;
    pos_ = 0;  // a failed write drops the bytes rather than repeating them forever
    writeAll(buffer_.data(), n);
}

void OutStream::close() {
    if (closed_) return;
    flush();
    closed_ = true;
    if (::close(fd_) != 0) throw SysErr(std::strerror(errno));
}

void outputString(OutStream& stream, std::string_view text) { stream.output(text); }

OutStream& stdOut() {
    static OutStream s(1, true);
    return s;
}

OutStream& stdErr() {
    static OutStream s(2, false);
    return s;
}

void printMessage(OutStream& stream, std::string_view text) {
    stream.output(text);
    stream.flush();
}

void printMessage(std::string_view text) { printMessage(stdOut(), text); }

void closeAllStreams() {
    auto& list = openStreams();
    while (!list.empty()) {
        OutStream* s = list.front();
        s->close();
        list.erase(list.begin());
    }
}

}  // namespace zil

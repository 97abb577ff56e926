#include "shell/InStream.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "shell/Constants.hpp"
#include "shell/Errors.hpp"

namespace zil {

std::unique_ptr<InStream> InStream::open(std::string_view name) {
    int flags = 0;
    for (int f : Constants::fileOpenFlags) flags |= f;
    std::string path(name);  // the NUL the call needs comes with c_str()
    int fd;
    do {
        fd = ::open(path.c_str(), flags, 0);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return nullptr;
    return std::make_unique<InStream>(fd);
}

InStream::~InStream() {
    if (!closed_) ::close(fd_);
}

void InStream::refill() {
    if (closed_) throw Io("closed stream");
    if (atEnd_ || position_ != end_) return;
    ssize_t n;
    do {
        n = ::read(fd_, buffer_.data(), kBufferSize);
    } while (n < 0 && errno == EINTR);
    if (n < 0) throw SysErr(std::strerror(errno));
    if (n == 0) {
        atEnd_ = true;
        return;
    }
    position_ = 0;
    end_ = static_cast<std::size_t>(n);
}

std::string InStream::inputLine() {
    std::string line;
    for (;;) {
        refill();
        if (atEnd_) {
            atEnd_ = false;
            if (!line.empty() && line.back() != '\n') line.push_back('\n');
            return line;
        }
        std::string_view rest = unread();
        std::size_t nl = rest.find('\n');
        if (nl != std::string_view::npos) {
            line.append(rest.substr(0, nl + 1));
            position_ += nl + 1;
            return line;
        }
        line.append(rest);
        position_ = end_;
    }
}

void InStream::close() {
    if (closed_) return;
    closed_ = true;
    if (::close(fd_) != 0) throw SysErr(std::strerror(errno));
}

}  // namespace zil

#pragma once
// Buffered input stream over one open file descriptor, with a line reader.
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace zil {

class InStream {
public:
    static constexpr std::size_t kBufferSize = 4096;

    // Opens `name` read-only; nullptr when open(2) fails.
    static std::unique_ptr<InStream> open(std::string_view name);

    explicit InStream(int descriptor) : fd_(descriptor) {}
    // Closes the descriptor when close() was not called, so no error path
    // leaks it.
    ~InStream();
    InStream(const InStream&) = delete;
    InStream& operator=(const InStream&) = delete;

    // Makes unread bytes available when none are: a closed stream raises
    // Io, a failing read SysErr; a read of 0 bytes sets the at-end flag.
    void refill();
    // The next line with its newline; a last line without one gets one.
    // At the end of the file: "" (and the at-end flag is cleared).
    std::string inputLine();
    // Closes the descriptor and marks the stream closed; a failing close
    // raises SysErr (the stream counts as closed all the same).
    void close();

    // The unread bytes in the buffer, and taking them.
    std::string_view unread() const { return {buffer_.data() + position_, end_ - position_}; }
    void consume(std::size_t n) { position_ += n; }

    bool atEnd() const { return atEnd_; }
    bool closed() const { return closed_; }
    int descriptor() const { return fd_; }

private:
    int fd_;
    std::size_t end_ = 0;
    std::size_t position_ = 0;
    bool atEnd_ = false;
    bool closed_ = false;
    std::array<char, kBufferSize> buffer_{};
};

}  // namespace zil

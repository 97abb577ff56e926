#pragma once
// Buffered output streams over file descriptors. Every message of the
// program goes through one of these.
#include <array>
#include <cstddef>
#include <string_view>

namespace zil {

class OutStream {
public:
    static constexpr std::size_t kBufferSize = 4096;

    // A buffered stream keeps up to 4,096 bytes; one on a terminal is also
    // written out at each newline. The stream joins the list of open streams.
    OutStream(int descriptor, bool buffered);
    ~OutStream();
    OutStream(const OutStream&) = delete;
    OutStream& operator=(const OutStream&) = delete;

    // Appends text; a closed stream raises Io.
    void output(std::string_view text);
    // Writes out the buffered bytes; a failing write raises Io.
    void flush();
    // Flushes, marks the stream closed and closes its descriptor. A failed
    // write raises Io (the stream stays open), a failed close SysErr.
    void close();

    int descriptor() const { return fd_; }
    bool closed() const { return closed_; }
    bool buffered() const { return buffered_; }

private:
    void writeAll(const char* data, std::size_t size);

    int fd_;
    bool buffered_;
    bool lineFlush_;
    bool closed_ = false;
    std::size_t pos_ = 0;
    std::array<char, kBufferSize> buffer_{};
};

void outputString(OutStream& stream, std::string_view text);

// The two standard streams: output buffered, error not.
OutStream& stdOut();
OutStream& stdErr();

// Writes a message to standard output, or to `stream`, and flushes it at
// once.
void printMessage(std::string_view text);
void printMessage(OutStream& stream, std::string_view text);

// Shut-down: flushes and closes every open output stream, taking each off
// the list. The first failure passes on (Io for a write, SysErr for a
// close): output that cannot be written is never reported as written.
void closeAllStreams();

}  // namespace zil

#pragma once
// The system's exceptions, the names they are reported under, the top-level
// report and the trace lines that error paths write before passing an
// exception on.
#include <exception>
#include <string>
#include <string_view>

namespace zil {

class OutStream;

// Base of every exception the system raises itself. `exnName` is the name
// under which the exception is reported.
class Exn : public std::exception {
public:
    virtual std::string_view exnName() const noexcept = 0;
    const char* what() const noexcept override { return exnName().data(); }
};

// The system's own error value: kind 0 is a named error, any other kind an
// internal error that carries only its message.
class EGeneric : public Exn {
public:
    EGeneric(int kind, std::string message, std::string name)
        : kind(kind), message(std::move(message)), name(std::move(name)) {}
    static EGeneric named(std::string name, std::string message) { return {0, std::move(message), std::move(name)}; }
    static EGeneric internal(std::string message) { return {1, std::move(message), ""}; }
    std::string_view exnName() const noexcept override { return "EGeneric"; }

    int kind;
    std::string message;
    std::string name;
};

#define ZIL_SIMPLE_EXN(Cls)                                                        \
    class Cls : public Exn {                                                       \
    public:                                                                        \
        std::string_view exnName() const noexcept override { return #Cls; }        \
    };

// Named exceptions that carry nothing.
ZIL_SIMPLE_EXN(StopApp)
ZIL_SIMPLE_EXN(LocalBug)
ZIL_SIMPLE_EXN(InconsistencyError)
ZIL_SIMPLE_EXN(Error)
ZIL_SIMPLE_EXN(Divide)
ZIL_SIMPLE_EXN(BackendError)
ZIL_SIMPLE_EXN(StopTabbing)
ZIL_SIMPLE_EXN(Insert)
ZIL_SIMPLE_EXN(InvalidControlID)
ZIL_SIMPLE_EXN(ControlDestroyed)
ZIL_SIMPLE_EXN(ParseError)

// Failures of the basic operations; reports show only their names.
ZIL_SIMPLE_EXN(Subscript)
ZIL_SIMPLE_EXN(Size)
ZIL_SIMPLE_EXN(Overflow)
ZIL_SIMPLE_EXN(Div)
ZIL_SIMPLE_EXN(Domain)
ZIL_SIMPLE_EXN(Chr)
ZIL_SIMPLE_EXN(Empty)
ZIL_SIMPLE_EXN(Fail)
ZIL_SIMPLE_EXN(Match)
ZIL_SIMPLE_EXN(Bind)
#undef ZIL_SIMPLE_EXN

// Output on a closed stream, or a failed write while flushing.
class Io : public Exn {
public:
    explicit Io(std::string detail = {}) : detail(std::move(detail)) {}
    std::string_view exnName() const noexcept override { return "Io"; }
    std::string detail;
};

// A failed system call, with the operating system's error text.
class SysErr : public Exn {
public:
    explicit SysErr(std::string detail = {}) : detail(std::move(detail)) {}
    std::string_view exnName() const noexcept override { return "SysErr"; }
    std::string detail;
};

// Raised by the field getters and the toolkit's event handling; the getters'
// value is kept as its printed text, which no report shows.
class InternalError : public Exn {
public:
    explicit InternalError(std::string value = {}) : value(std::move(value)) {}
    std::string_view exnName() const noexcept override { return "InternalError"; }
    std::string value;
};

// Raised by the UI description reader: a message and the input position.
class SyntaxError : public Exn {
public:
    SyntaxError(std::string message, long position) : message(std::move(message)), position(position) {}
    std::string_view exnName() const noexcept override { return "SyntaxError"; }
    std::string message;
    long position;
};

// The name under which any exception is reported. Standard-library failures
// map onto the basic operations' names.
std::string_view exnName(const std::exception& e) noexcept;
std::string_view exnName(std::exception_ptr e) noexcept;

namespace Excn {
// Writes the report of an EGeneric to `out`.
void output(const EGeneric& e, OutStream& out);
}  // namespace Excn

// The application handler's report of any exception, on `out` (standard
// error in the program).
void reportException(std::exception_ptr e, OutStream& out);

// Inside a catch block: writes "Exception in " + operation + "\n" to
// standard output, flushes, and rethrows the exception being handled.
[[noreturn]] void flushAndReraise(std::string_view operation);

// Writes "Internal Error: " + fault (+ " in function " + function) + "\n" to
// `out` and flushes it.
void reportInternalError(std::string_view fault, std::string_view function, OutStream& out);
void reportInternalError(std::string_view fault, std::string_view function = {});

}  // namespace zil

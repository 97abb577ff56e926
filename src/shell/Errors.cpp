#include "shell/Errors.hpp"

#include <new>
#include <stdexcept>
#include <string>

#include "shell/OutStream.hpp"

namespace zil {

std::string_view exnName(const std::exception& e) noexcept {
    if (auto* x = dynamic_cast<const Exn*>(&e)) return x->exnName();
    if (dynamic_cast<const std::bad_alloc*>(&e)) return "Size";
    if (dynamic_cast<const std::out_of_range*>(&e)) return "Subscript";
    if (dynamic_cast<const std::length_error*>(&e)) return "Size";
    if (dynamic_cast<const std::overflow_error*>(&e)) return "Overflow";
    if (dynamic_cast<const std::domain_error*>(&e)) return "Domain";
    return "Fail";
}

std::string_view exnName(std::exception_ptr e) noexcept {
    try {
        std::rethrow_exception(e);
    } catch (const std::exception& x) {
        return exnName(x);
    } catch (...) {
        return "Fail";
    }
}

namespace Excn {
void output(const EGeneric& e, OutStream& out) {
    if (e.kind == 0) {
        outputString(out, "Generic exception of type " + e.name + " raised: ");
        outputString(out, e.message);
        outputString(out, "\n");
    } else {
        outputString(out, "Software bug: ");
        outputString(out, e.message);
        outputString(out, "\n");
    }
}
}  // namespace Excn

void reportException(std::exception_ptr e, OutStream& out) {
    try {
        std::rethrow_exception(e);
    } catch (const EGeneric& g) {
        Excn::output(g, out);
    } catch (...) {
        std::string name(exnName(std::current_exception()));
        outputString(out, "Software bug: Unanticipated exception of type: " + name +
                              " raised with the following message: " + name);
    }
    out.flush();
}

void flushAndReraise(std::string_view operation) {
    printMessage("Exception in " + std::string(operation) + "\n");
    throw;
}

void reportInternalError(std::string_view fault, std::string_view function, OutStream& out) {
    std::string line = "Internal Error: " + std::string(fault);
    if (!function.empty()) line += " in function " + std::string(function);
    line += "\n";
    printMessage(out, line);
}

void reportInternalError(std::string_view fault, std::string_view function) {
    reportInternalError(fault, function, stdOut());
}

}  // namespace zil

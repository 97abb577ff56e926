#pragma once
// Helpers shared by the shell tests: a scratch directory removed afterwards,
// captured output, and the text of a named error.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "records/Capture.hpp"
#include "shell/Errors.hpp"

namespace zil::testing {

using test::Capture;
using test::stdoutOf;

class ScratchDir {
public:
    ScratchDir() : dir_((std::filesystem::temp_directory_path() / "zilreadXXXXXX").string()) {
        if (::mkdtemp(dir_.data()) == nullptr) std::abort();
    }
    ~ScratchDir() { std::filesystem::remove_all(dir_); }
    ScratchDir(const ScratchDir&) = delete;
    std::string path(std::string_view name) const { return (std::filesystem::path(dir_) / name).string(); }
    // Writes `content` to `name` in the directory and returns its path.
    std::string write(std::string_view name, std::string_view content) const {
        std::ofstream(path(name), std::ios::binary) << content;
        return path(name);
    }

private:
    std::string dir_;
};

// "name: message" of the named error (kind 0) that `f` raises.
template <class F>
std::string failureOf(F f) {
    try {
        f();
    } catch (const EGeneric& e) {
        return (e.kind == 0 ? e.name : "kind " + std::to_string(e.kind)) + ": " + e.message;
    }
    return "no error";
}

}  // namespace zil::testing

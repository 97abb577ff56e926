#pragma once
// A scratch directory for the tests of the file readers, removed afterwards.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace zil::testing {

class ScratchDir {
public:
    ScratchDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "zilreadXXXXXX").string();
        if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
        dir_ = tmpl;
    }
    ~ScratchDir() { std::filesystem::remove_all(dir_); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // Writes `content` to `name` in the directory and returns its path.
    std::string write(std::string_view name, std::string_view content) const {
        std::string p = path(name);
        std::ofstream(p, std::ios::binary).write(content.data(), static_cast<std::streamsize>(content.size()));
        return p;
    }
    std::string path(std::string_view name) const { return (dir_ / name).string(); }

private:
    std::filesystem::path dir_;
};

}  // namespace zil::testing

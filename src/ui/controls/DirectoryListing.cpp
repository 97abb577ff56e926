#include "ui/controls/DirectoryListing.hpp"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "shell/AppConfig.hpp"
#include "ui/base/UIAttributes.hpp"

namespace zil {

namespace {

struct CloseDirectory {
    void operator()(DIR* d) const { closedir(d); }  // a failure to close changes nothing here
};

}  // namespace

std::vector<std::string> listDirectory(std::string_view dir) {
    const auto failed = [dir] { return std::vector<std::string>{"Could not open directory " + std::string(dir)}; };
    try {
        if (dir.find('\0') != std::string_view::npos) return failed();  // would open another directory
        const std::unique_ptr<DIR, CloseDirectory> handle(opendir(std::string(dir).c_str()));
        if (!handle) return failed();
        std::vector<std::string> names;
        for (;;) {
            errno = 0;
            const dirent* entry = readdir(handle.get());
            if (entry == nullptr) break;  // the end, or a read error: what was read stands
            const std::string_view name = entry->d_name;
            if (name != "." && name != "..") names.emplace_back(name);
        }
        std::sort(names.begin(), names.end(),
                  [](const std::string& a, const std::string& b) { return compareStrings(a, b) == Order::Less; });
        return names;
    } catch (...) {
        return failed();
    }
}

void fillWithDirectoryListing(const UIAttributes& attributes, const IdCell& strings, std::string_view dir) {
    const std::shared_ptr<Attr::NStrings::Value> list = attributes.get<Attr::NStrings>(strings, "strings");
    const std::vector<std::string> names = listDirectory(dir);
    list->reset();
    for (const std::string& name : names) list->append(name);
}

}  // namespace zil

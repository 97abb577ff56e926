#pragma once
// The resource-directory table read from "app.config": lines of a key, "="
// and a value. The look-and-feel and font loaders put the value for their key
// in front of each bitmap file name.
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "shell/Constants.hpp"

namespace zil {

enum class Order { Less, Equal, Greater };

// Byte-wise comparison, bytes as unsigned numbers; a proper prefix is Less.
Order compareStrings(std::string_view a, std::string_view b);

namespace AppConfig {

struct KeyLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return compareStrings(a, b) == Order::Less; }
};

using Table = std::map<std::string, std::string, KeyLess>;
// Absent until a load succeeds.
using Cell = std::optional<Table>;

// The process-wide table.
Cell& cell();

// Adds (key, value); a key already present raises Insert and changes nothing.
void insert(Table& table, std::string key, std::string value);

// Reads the file into `into`. A missing, unreadable or malformed file (a line
// without "=", a key given twice) leaves `into` as it was; nothing is
// written and nothing is raised.
void load(Cell& into, std::string_view fileName = Constants::appConfigFile);
inline void load() { load(cell()); }

}  // namespace AppConfig

// The value stored for `key`, or "./" when the table is absent or lacks it.
std::string lookupResourcePath(const AppConfig::Cell& config, std::string_view key);
inline std::string lookupResourcePath(std::string_view key) { return lookupResourcePath(AppConfig::cell(), key); }

}  // namespace zil

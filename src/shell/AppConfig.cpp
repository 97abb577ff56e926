#include "shell/AppConfig.hpp"

#include <algorithm>
#include <cstring>

#include "shell/Errors.hpp"
#include "shell/InStream.hpp"

namespace zil {

Order compareStrings(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    int c = n == 0 ? 0 : std::memcmp(a.data(), b.data(), n);  // memcmp compares unsigned bytes
    if (c < 0) return Order::Less;
    if (c > 0) return Order::Greater;
    if (a.size() == b.size()) return Order::Equal;
    return a.size() < b.size() ? Order::Less : Order::Greater;
}

namespace AppConfig {

Cell& cell() {
    static Cell config;
    return config;
}

void insert(Table& table, std::string key, std::string value) {
    auto [at, added] = table.try_emplace(std::move(key), std::move(value));
    (void)at;
    if (!added) throw Insert();
}

namespace {

// Splits "key=value\n" at its first "="; Fail when there is none.
std::pair<std::string, std::string> splitLine(const std::string& line) {
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) throw Fail();
    std::size_t valueEnd = line.size() - 1;  // the line always ends in its newline
    return {line.substr(0, eq), line.substr(eq + 1, valueEnd - (eq + 1))};
}

}  // namespace

void load(Cell& into, std::string_view fileName) {
    std::unique_ptr<InStream> in;
    try {
        in = InStream::open(fileName);
        if (!in) return;
        Table table;
        while (!in->atEnd()) {
            in->refill();
            if (in->atEnd()) break;
            auto [key, value] = splitLine(in->inputLine());
            insert(table, std::move(key), std::move(value));
        }
        in->close();
        into = std::move(table);
    } catch (...) {
        // Any failure leaves the previous table; the stream's destructor
        // closes a descriptor still open.
    }
}

}  // namespace AppConfig

std::string lookupResourcePath(const AppConfig::Cell& config, std::string_view key) {
    if (config) {
        auto it = config->find(key);
        if (it != config->end()) return it->second;
    }
    return std::string(Constants::defaultResourcePath);
}

}  // namespace zil

// The constant data: the checks a wrong digit or a lost entry would fail.
#include <gtest/gtest.h>

#include <array>
#include <set>

#include "shell/Constants.hpp"

namespace zil::testing {
namespace {

TEST(Constants, CubeFacesUseEachVertexThreeTimesAndTheEdgeGroupsSplitTheTwelveEdges) {
    std::array<int, 8> uses{};
    for (const auto& face : Constants::cubeFaces)
        for (std::int32_t v : face) ++uses[v];
    EXPECT_EQ(uses, (std::array<int, 8>{3, 3, 3, 3, 3, 3, 3, 3}));

    std::set<std::int32_t> edges(Constants::yellowEdges.begin(), Constants::yellowEdges.end());
    edges.insert(Constants::blueEdges.begin(), Constants::blueEdges.end());
    EXPECT_EQ(edges.size(), 12u);
    EXPECT_EQ(*edges.rbegin(), 11);
}

TEST(Constants, FlagListsCombineToTheirFlags) {
    struct Case {
        const char* what;
        std::uint32_t all, expected;
    };
    auto orOf = [](const auto& flags) {
        std::uint32_t all = 0;
        for (auto f : flags) all |= static_cast<std::uint32_t>(f);
        return all;
    };
    const Case cases[] = {
        {"SDL start: video only", orOf(Constants::sdlInitFlags), 0x20},
        {"video mode", orOf(Constants::videoModeFlags), 0},
        {"file open: read-only", orOf(Constants::fileOpenFlags), 0},
        {"depth surface: source alpha", orOf(Constants::depthSurfaceFlags), 0x00010000},
    };
    for (const Case& c : cases) EXPECT_EQ(c.all, c.expected) << c.what;
}

}  // namespace
}  // namespace zil::testing

#include <gtest/gtest.h>

#include <array>

#include "shell/Constants.hpp"

namespace zil {
namespace {

TEST(Constants, NamedErrorValuesAreSharedAndOfTheirKind) {
    EXPECT_EQ(&Constants::errReadAt(), &Constants::errReadAt());
    EXPECT_EQ(Constants::errReadAt().kind, 0);
    EXPECT_EQ(Constants::errNoCharacterSpecs().kind, 1);
    EXPECT_EQ(Constants::errNoCharacterSpecs().name, "");
}

TEST(Constants, CubeFacesUseEachVertexThreeTimes) {
    std::array<int, 8> uses{};
    for (const auto& f : Constants::cubeFaces)
        for (int v : f) ++uses[static_cast<std::size_t>(v)];
    for (int u : uses) EXPECT_EQ(u, 3);
}

TEST(Constants, FlagsAndRectangles) {
    std::uint32_t init = 0;
    for (auto f : Constants::sdlInitFlags) init |= f;
    EXPECT_EQ(init, 0x20u);
    EXPECT_TRUE(Constants::emptyRect.isEmpty());
    EXPECT_FALSE(Constants::demoPageRect.isEmpty());
    EXPECT_TRUE((IRect2D{5, 5, 3, 0}).isEmpty());
    EXPECT_TRUE((IRect2D{5, 5, -1, 3}).isEmpty());
    EXPECT_EQ(Constants::demoPageRect, (IRect2D{0, 0, 400, 400}));
}

}  // namespace
}  // namespace zil

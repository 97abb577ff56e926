#include <gtest/gtest.h>

#include <array>
#include <sstream>

#include "shell/Constants.hpp"

namespace zil {
namespace {

TEST(Constants, NamedErrorValues) {
    EXPECT_EQ(Constants::errReadAt().name, "IndexOutOfRange");
    EXPECT_EQ(Constants::errReadAt().message, "readAt");
    EXPECT_EQ(Constants::errWriteAt().message, "writeAt");
    EXPECT_EQ(Constants::errChildNotInParent().message, "Internal error: Child not found in parent control!");
    EXPECT_EQ(Constants::errNoCharacterSpecs().kind, 1);
    EXPECT_EQ(Constants::errNoCharacterSpecs().name, "");
    EXPECT_EQ(Constants::errCacheNotReady().name, "CacheNotReady");
    EXPECT_EQ(Constants::errDivideByZero().message, "Matrix4x4Mult.invert");
    EXPECT_EQ(Constants::errZeroDivideTransformPoint().message, "Zero divide in Matrix4x4.Trans.transformPoint");
    EXPECT_EQ(Constants::errRectangleAttribute().name, "UIXMLBuild");
    EXPECT_EQ(Constants::errMandatoryAttributes().message,
              "The attributes class, name, visible and boundingbox must always be specified for UI-controls!");
    // Shared, not rebuilt.
    EXPECT_EQ(&Constants::errReadAt(), &Constants::errReadAt());
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

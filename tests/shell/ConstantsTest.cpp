// The constant data: the checks a wrong digit or a lost entry would fail.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

#include "shell/Constants.hpp"
#include "shell/ShellTestSupport.hpp"

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

TEST(Constants, NamedErrorsCarryTheirNamesAndMessages) {
    struct Case {
        const EGeneric& e;
        std::string expected;
    };
    const Case cases[] = {
        {Constants::errReadAt(), "IndexOutOfRange: readAt"},
        {Constants::errWriteAt(), "IndexOutOfRange: writeAt"},
        {Constants::errChildNotInParent(), "ChildNotInParent: Internal error: Child not found in parent control!"},
        {Constants::errNoCharacterSpecs(), "kind 1: No character specs in BitmapFontFunc!"},
        {Constants::errCacheNotReady(), "CacheNotReady: No cache rendered in SDLBitmapFont.drawStringOn!"},
        {Constants::errDivideByZero(), "DivideByZero: Matrix4x4Mult.invert"},
        {Constants::errZeroDivideTransformPoint(), "kind 1: Zero divide in Matrix4x4.Trans.transformPoint"},
        {Constants::errRectangleAttribute(), "UIXMLBuild: Could not parse rectangle attribute"},
        {Constants::errMandatoryAttributes(),
         "UIXMLBuild: The attributes class, name, visible and boundingbox must always be specified for UI-controls!"},
    };
    for (const Case& c : cases) EXPECT_EQ(failureOf([&] { throw c.e; }), c.expected);
}

TEST(Constants, TheDemoBarsInTheOrderTheyAreBound) {
    std::string table;
    for (const auto& b : Constants::demoBars)
        table += std::string(b.control) + " " + std::string(b.value) + " " + std::to_string(b.range) + "\n";
    EXPECT_EQ(table,
              "zoombar zoom 5.000000\n"
              "cornersharpnessbar cornersharpness 4.000000\n"
              "yellowedgesharpnessbar yellowedgesharpness 4.000000\n"
              "blueedgesharpnessbar blueedgesharpness 4.000000\n");
    EXPECT_EQ(Constants::demoPageRect, (IRect2D{0, 0, 400, 400}));
    EXPECT_EQ(Constants::keyRepeatDelay, 200);
    EXPECT_EQ(Constants::keyRepeatInterval, 10);
}

}  // namespace
}  // namespace zil::testing

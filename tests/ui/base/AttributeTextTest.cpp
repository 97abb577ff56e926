#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ui/base/AttributeText.hpp"

namespace zil {
namespace {

using namespace AttributeText;

TEST(AttributeText, RealsAndRectangles) {
    const std::pair<std::string, std::optional<double>> reals[] = {
        {"+3.25", 3.25}, {"~12", -12.0}, {"-007.250", -7.25},  // 7 + 250 / 10^3
        {".5", {}}, {"3.", {}}, {"1e5", {}}, {" 3", {}},
        {std::string(400, '9'), {}},         // not finite
        {"1." + std::string(400, '9'), {}},  // inf / inf
    };
    for (const auto& [text, want] : reals) EXPECT_EQ(realFromText(text), want) << text;
    const std::pair<const char*, std::optional<IRect2D>> rects[] = {
        {" { x = 10 , y = 20 , w = 100 , h = 30 }", IRect2D{10, 20, 100, 30}},
        {"{x=1,y=2,w=3,h=4}junk", IRect2D{1, 2, 3, 4}},
        {"{x=2147483647,y=0,w=0,h=0}", IRect2D{INT32_MAX, 0, 0, 0}},
        {"{x=2147483648,y=0,w=0,h=0}", {}},
        {"{x=-1,y=2,w=3,h=4}", {}},
        {"{y=2,x=1,w=3,h=4}", {}},
        {"{x=1,y=2,w=3,h=4", {}},
        {"{x=1,\ty=2,w=3,h=4}", {}},  // only spaces are skipped
    };
    for (const auto& [text, want] : rects) EXPECT_EQ(parseRectangle(text), want) << text;
}

TEST(AttributeText, Lists) {
    struct Case {
        const char* text;
        std::vector<std::string> strings;
        std::vector<std::int32_t> bools;
    };
    // The pieces lie between the third character and the last two.
    const Case cases[] = {
        {"[ \"a\", \"b\" ]", {"a", "b"}, {}},
        {"[\"a\",\"b\"]", {"", ""}, {}},                    // pieces a" and "b
        {"[ true, x,,  , false ]", {"ru", "als"}, {1, 0}},  // blank, empty, short pieces
        {"[ true , TRUE ]", {"rue", "RU"}, {}},             // "true " is not the word
        {"[ ]", {}, {}},                                    // shorter than four
    };
    for (const Case& c : cases) {
        EXPECT_EQ(stringsFromText(c.text), c.strings) << c.text;
        EXPECT_EQ(boolsFromText(c.text), c.bools) << c.text;
    }
}

}  // namespace
}  // namespace zil

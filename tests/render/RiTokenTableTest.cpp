#include <gtest/gtest.h>

#include "render/RiTokenTable.hpp"

namespace zil {
namespace {

TEST(RiTokenTable, StandardNumbering) {
    RiTokenTable table;
    RiStandardTokens t = internStandardTokens(table);
    EXPECT_EQ(table.lastId(), 106);
    EXPECT_EQ(t.P, (Rt::Token{0, "P"}));
    EXPECT_EQ(t.N, (Rt::Token{4, "N"}));
    EXPECT_EQ(t.perspective.id, 51);
    EXPECT_EQ(t.orthographic.id, 52);
    EXPECT_EQ(t.raster.id, 70);
    EXPECT_EQ(t.camera.id, 72);
    EXPECT_EQ(t.object.id, 74);
    EXPECT_EQ(t.catmullClark, (Rt::Token{76, "catmull-clark"}));
    EXPECT_EQ(t.crease.id, 78);
    EXPECT_EQ(t.corner.id, 79);
    // "abort" was interned twice; the next new name did not skip an id.
    EXPECT_EQ(table.intern("abort").id, 95);
    EXPECT_EQ(table.intern("ignore").id, 96);
    EXPECT_EQ(table.intern("box").id, 106);
    EXPECT_EQ(table.lastId(), 106);
    // The demo's output name comes next.
    EXPECT_EQ(table.intern("subdivisionTestOutput.rib"), (Rt::Token{107, "subdivisionTestOutput.rib"}));
}

TEST(RiTokenTable, PrefixesAreDistinctNames) {
    RiTokenTable table;
    EXPECT_EQ(table.intern("az").id, 0);
    EXPECT_EQ(table.intern("a").id, 1);
    EXPECT_EQ(table.intern("").id, 2);
    EXPECT_EQ(table.intern("a").id, 1);
    EXPECT_EQ(table.intern("az").id, 0);
    EXPECT_EQ(table.intern("azz").id, 3);
    EXPECT_EQ(table.lastId(), 3);
}

}  // namespace
}  // namespace zil

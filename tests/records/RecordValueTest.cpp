#include <gtest/gtest.h>

#include "records/FieldAccess.hpp"
#include "records/ZilLValue.hpp"
#include "Capture.hpp"

namespace zil {
namespace {

using LV = ZilLListValue;

std::vector<std::string> names(const FieldArray& f) {
    std::vector<std::string> out;
    for (const ZilLField& x : f) out.emplace_back(x.name.str());
    return out;
}

TEST(FieldLookup, FirstExactMatchWins) {
    const FieldArray f{{FieldName("x"), ZilLValue::INT(1)}, {FieldName("x"), ZilLValue::INT(2)}};
    ASSERT_NE(findField(f, FieldName("x")), nullptr);
    EXPECT_EQ(findField(f, FieldName("x"))->value.asInt(), 1);
    EXPECT_EQ(findField(f, FieldName("X")), nullptr);
    EXPECT_EQ(findField(f, FieldName("x ")), nullptr);
    EXPECT_EQ(findField(FieldArray{}, FieldName("x")), nullptr);
}

TEST(ConvertRecordValue, KeepsFirstOfEachNameAndReversesFieldOrder) {
    LV v = LV::RECORD({{"a", LV::INT(1)}, {"b", LV::REAL(2.5)}, {"a", LV::INT(3)}});
    ZilLValue r = convertRecordValue(v);
    ASSERT_TRUE(r.isRecord());
    EXPECT_EQ(names(r.fields()), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(r.fields()[1].value.asInt(), 1);
    EXPECT_EQ(r.fields()[0].value.asReal(), 2.5);

    ZilLValue mesh = convertRecordValue(LV::RECORD({{"vertices", LV::ARRAY({})}, {"faces", LV::ARRAY({})}}));
    EXPECT_EQ(names(mesh.fields()), (std::vector<std::string>{"faces", "vertices"}));

    ZilLValue empty = convertRecordValue(LV::RECORD({}));
    ASSERT_TRUE(empty.isRecord());
    EXPECT_EQ(empty.fields().size(), 0u);
}

TEST(ConvertRecordValue, ArraysKeepElementOrderAndConvertNestedRecords) {
    std::vector<LV> elems;
    for (int i = 0; i < 3; ++i) elems.push_back(LV::RECORD({{"vertexIndex", LV::INT(i)}, {"k", LV::INT(-i)}}));
    ZilLValue a = convertRecordValue(LV::ARRAY(std::move(elems)));
    ASSERT_TRUE(a.isArray());
    ValueArray e = a.elements();
    ASSERT_EQ(e.size(), 3u);
    test::Capture c;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(names(e[i].fields()), (std::vector<std::string>{"k", "vertexIndex"}));
        EXPECT_EQ(getIntegerField(e[i].fields(), "vertexIndex", c.out()), i);
    }
    ZilLValue b = convertRecordValue(LV::BASIC(ZilLBasic::XYZ(1, 2, 3)));
    EXPECT_EQ(b.asXyz(), (Xyz{1, 2, 3}));
}

TEST(Sharing, HoldersOfOneRecordSeeInPlaceChanges) {
    test::Capture c;
    ZilLValue vertex = ZilLValue::RECORD(FieldArray{{FieldName("vertexSharpness"), ZilLValue::REAL(0.0)}});
    ZilLValue other = vertex;  // shares, does not copy
    FieldArray before = other.fields();
    FieldArray after = setRealField(vertex.fields(), "vertexSharpness", c.out(), 0.75);
    EXPECT_TRUE(after.sameArray(before));
    EXPECT_EQ(getRealField(other.fields(), "vertexSharpness", c.out()), 0.75);
    EXPECT_EQ(c.text(), "");

    // Element writes into an array are seen by every holder of the array.
    ZilLValue arr = ZilLValue::ARRAY(ValueArray{ZilLValue::INT(1), ZilLValue::INT(2)});
    ZilLValue outer = ZilLValue::RECORD(FieldArray{{FieldName("vertices"), arr}});
    ValueArray got = getArrayField(outer.fields(), "vertices", c.out());
    got.set(1, ZilLValue::INT(9));
    EXPECT_EQ(arr.elements()[1].asInt(), 9);
}

TEST(Values, WrongKindAndBadIndexRaise) {
    ZilLValue i = ZilLValue::INT(3);
    EXPECT_THROW(i.fields(), Match);
    EXPECT_THROW(i.asReal(), Match);
    EXPECT_THROW(i.sumName(), Match);
    EXPECT_EQ(i.basic().asInt(), 3);
    ValueArray a{ZilLValue::INT(1)};
    EXPECT_THROW(a.at(1), Subscript);
    EXPECT_THROW(a.set(5, ZilLValue::INT(0)), Subscript);
    ZilLValue s = ZilLValue::SUMVALUE("ScaleXYZ", ZilLValue::XYZ(1, 2, 3));
    EXPECT_EQ(s.sumName().str(), "ScaleXYZ");
    EXPECT_EQ(s.sumArgument().asXyz(), (Xyz{1, 2, 3}));
    EXPECT_EQ(ZilLValue::REAL(-0.0).basic().kind(), ZilLBasic::Kind::REAL);
}

TEST(Values, CopiesAndMovesKeepTreesAlive) {
    ZilLValue root;
    {
        ZilLValue leaf = ZilLValue::SUMVALUE("TranslateXYZ", ZilLValue::XYZ(4, 5, 6));
        ZilLValue rec = ZilLValue::RECORD(FieldArray{{FieldName("t"), leaf}});
        root = ZilLValue::ARRAY(ValueArray{rec, rec});
    }
    ValueArray e = root.elements();
    EXPECT_TRUE(e[0].sameNode(e[1]));
    ZilLValue moved = std::move(root);
    EXPECT_EQ(moved.elements()[1].fields()[0].value.sumArgument().asXyz().z, 6.0);
}

// Node storage is reused once freed: arrays of many sizes, dropped in a
// scattered order and made again, must each keep their own elements.
TEST(Values, FreedNodesAreReusedWithoutMixingContents) {
    const FieldName k("k");
    auto make = [&](std::size_t n, std::int32_t tag) {
        return ZilLValue::ARRAY(ValueArray::generate(n, [&](std::size_t i) {
            return ZilLValue::RECORD(FieldArray{{k, ZilLValue::INT(tag * 1000 + static_cast<std::int32_t>(i))}});
        }));
    };
    auto intact = [&](const ZilLValue& v, std::int32_t tag) {
        const ValueArray e = v.elements();
        for (std::size_t i = 0; i < e.size(); ++i)
            if (e[i].fields()[0].value.asInt() != tag * 1000 + static_cast<std::int32_t>(i)) return false;
        return true;
    };
    std::vector<ZilLValue> live;
    for (std::int32_t t = 0; t < 60; ++t) live.push_back(make(static_cast<std::size_t>(t % 40 + 1), t));
    for (std::size_t i = 0; i < live.size(); i += 3) live[i] = ZilLValue();
    for (std::size_t i = 0; i < live.size(); i += 3) {
        const auto t = static_cast<std::int32_t>(i + 100);
        live[i] = make(static_cast<std::size_t>(t % 40 + 1), t);
    }
    for (std::size_t i = 0; i < live.size(); ++i)
        EXPECT_TRUE(intact(live[i], static_cast<std::int32_t>(i % 3 == 0 ? i + 100 : i))) << i;
}

// A failure while filling a new array drops the elements made so far and
// leaves the storage fit for the next arrays.
TEST(Values, FailedFillReleasesItsElements) {
    const ZilLValue shared = ZilLValue::XYZ(1, 2, 3);
    for (int round = 0; round < 3; ++round) {
        EXPECT_THROW(ValueArray::generate(8,
                                          [&](std::size_t i) {
                                              if (i == 5) throw Size();
                                              return shared;
                                          }),
                     Size);
    }
    const ValueArray ok = ValueArray::generate(8, [&](std::size_t) { return shared; });
    EXPECT_TRUE(ok[7].sameNode(shared));
    EXPECT_EQ(ok[7].asXyz().z, 3.0);
}

}  // namespace
}  // namespace zil

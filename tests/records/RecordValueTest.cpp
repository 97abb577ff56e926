#include <gtest/gtest.h>

#include <functional>

#include "RecordsTestUtil.hpp"
#include "records/FieldAccess.hpp"
#include "records/ZilLValue.hpp"

namespace zil::test {
namespace {

using LV = ZilLListValue;

std::vector<std::string> names(const FieldArray& f) {
    std::vector<std::string> out;
    for (const ZilLField& x : f) out.emplace_back(x.name.str());
    return out;
}

FieldArray sample() {
    return FieldArray{{FieldName("vertexIndex"), ZilLValue::INT(-1)},
                      {FieldName("point"), ZilLValue::RECORD(FieldArray{{FieldName("x"), ZilLValue::REAL(1.5)}})},
                      {FieldName("edgeSharpness"), ZilLValue::REAL(1.5)},
                      {FieldName("corners"), ZilLValue::ARRAY(ValueArray{ZilLValue::INT(7)})}};
}

TEST(Getters, MissingFieldsGiveDefaultsFoundOnesAreUncopied) {
    Capture c;
    FieldArray f = sample();
    EXPECT_EQ(getIntegerField(f, "absent", c.out()), -1);
    EXPECT_EQ(getRealField(f, "absent", c.out()), 0.0);
    ValueArray fallback{ZilLValue::INT(1)};
    EXPECT_TRUE(getArrayField(f, "absent", c.out(), fallback).sameArray(fallback));
    EXPECT_TRUE(getArrayField(f, "absent", c.out()).empty());
    EXPECT_TRUE(getRecordField(f, "absent", c.out()).empty());
    EXPECT_EQ(getRealField(f, "edgeSharpness", c.out()), 1.5);
    EXPECT_TRUE(getArrayField(f, "corners", c.out()).sameArray(f[3].value.elements()));
    EXPECT_EQ(getRealField(getRecordField(f, "point", c.out()), "x", c.out()), 1.5);
    EXPECT_EQ(forceGetIntegerField(f, "vertexIndex", c.out()), -1);
    EXPECT_EQ(c.text(), "");
}

TEST(Getters, WrongKindPrintsTwoLinesAndRaises) {
    FieldArray f = sample();
    const struct { std::function<void(OutStream&)> call; std::string fault, field; } cases[] = {
        {[&](OutStream& o) { getIntegerField(f, "edgeSharpness", o); },
         "int match error: function getIntegerField", "edgeSharpness"},
        {[&](OutStream& o) { forceGetIntegerField(f, "point", o); },
         "int match error: function forceGetIntegerField", "point"},
        {[&](OutStream& o) { getRealField(f, "vertexIndex", o); },
         "real match error: function getRealField", "vertexIndex"},
        {[&](OutStream& o) { getArrayField(f, "point", o); }, "array match error: function getArrayField", "point"},
        {[&](OutStream& o) { getRecordField(f, "corners", o); },
         "record match error: function getRecordField", "corners"},
        {[&](OutStream& o) { forceGetIntegerField(f, "vertexValence", o); },
         "Could not find field vertexValence in forceGetField", "vertexValence"},
    };
    for (const auto& k : cases) {
        Capture c;
        EXPECT_THROW(k.call(c.out()), InternalError);
        EXPECT_EQ(c.text(), "Internal Error: " + k.fault + "\nInternal Error: Could not get field " + k.field + "\n");
    }
    // A failed write passes through without the second line.
    Capture closed;
    closed.out().close();
    EXPECT_THROW(getIntegerField(f, "edgeSharpness", closed.out()), Io);
}

TEST(Setters, ExistingFieldChangesInPlaceAbsentOneIsAppended) {
    Capture c;
    FieldArray f = sample();
    EXPECT_TRUE(setRealField(f, FieldName("edgeSharpness"), c.out(), 2.0).sameArray(f));
    EXPECT_EQ(getRealField(f, "edgeSharpness", c.out()), 2.0);
    setIntegerField(f, "point", c.out(), 4);  // the old kind does not matter
    EXPECT_EQ(getIntegerField(f, "point", c.out()), 4);
    FieldArray r = setIntegerField(f, "vertexValence", c.out(), 3);
    EXPECT_FALSE(r.sameArray(f));
    ASSERT_EQ(r.size(), f.size() + 1);
    EXPECT_EQ(getIntegerField(r, "vertexValence", c.out()), 3);
    EXPECT_EQ(getIntegerField(f, "vertexValence", c.out()), -1);
    // Copies of a value share it: an in-place change shows through each.
    ZilLValue vertex = ZilLValue::RECORD(f), other = vertex;
    setRealField(vertex.fields(), "edgeSharpness", c.out(), 0.75);
    EXPECT_EQ(getRealField(other.fields(), "edgeSharpness", c.out()), 0.75);
    getArrayField(other.fields(), "corners", c.out()).set(0, ZilLValue::INT(9));
    EXPECT_EQ(f[3].value.elements()[0].asInt(), 9);
    EXPECT_EQ(c.text(), "");
}

TEST(Setters, RepeatedOrMissingNamesAreReported) {
    Capture c;
    FieldArray f{{FieldName("s"), ZilLValue::REAL(0)}, {FieldName("t"), ZilLValue::INT(0)},
                 {FieldName("s"), ZilLValue::REAL(0)}};
    EXPECT_TRUE(setRealField(f, "s", c.out(), 0.5).sameArray(f));
    EXPECT_EQ(f[0].value.asReal(), 0.5);
    EXPECT_EQ(f[2].value.asReal(), 0.5);
    EXPECT_EQ(c.text(), "Internal Error: Expected field s not found in ZilL record!\n{s, t, s}\n");
    // Replacing never appends.
    FieldArray g{{FieldName("vertexIndex"), ZilLValue::INT(0)}, {FieldName("edgeSharpness"), ZilLValue::REAL(0)}};
    EXPECT_TRUE(replaceIntegerField(g, "neighborface", c.out(), 2).sameArray(g));
    EXPECT_EQ(c.text(), "Internal Error: Expected field neighborface not found in ZilL record!\n"
                        "{vertexIndex, edgeSharpness}\n");
    replaceIntegerField(g, "vertexIndex", c.out(), 5);
    EXPECT_EQ(g[0].value.asInt(), 5);
    replaceIntegerField(FieldArray{}, "neighboredge", c.out(), 1);
    EXPECT_EQ(c.text(), "Internal Error: Expected field neighboredge not found in ZilL record!\n{}\n");
}

TEST(ConvertRecordValue, ReversesFieldsKeepsFirstOfEachNameAndElementOrder) {
    ZilLValue r = convertRecordValue(LV::RECORD({{"a", LV::INT(1)}, {"b", LV::REAL(2.5)}, {"a", LV::INT(3)}}));
    EXPECT_EQ(names(r.fields()), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(r.fields()[1].value.asInt(), 1);
    EXPECT_EQ(r.fields()[0].value.asReal(), 2.5);
    EXPECT_TRUE(convertRecordValue(LV::RECORD({})).fields().empty());

    std::vector<LV> elems;
    for (int i = 0; i < 3; ++i) elems.push_back(LV::RECORD({{"vertexIndex", LV::INT(i)}, {"k", LV::INT(-i)}}));
    const ValueArray e = convertRecordValue(LV::ARRAY(std::move(elems))).elements();
    ASSERT_EQ(e.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(names(e[i].fields()), (std::vector<std::string>{"k", "vertexIndex"}));
        EXPECT_EQ(e[i].fields()[1].value.asInt(), i);
    }
    EXPECT_EQ(convertRecordValue(LV::BASIC(ZilLBasic::XYZ(1, 2, 3))).asXyz(), (Xyz{1, 2, 3}));
}

TEST(Values, WrongKindAndBadIndexRaise) {
    ZilLValue i = ZilLValue::INT(3);
    EXPECT_THROW(i.fields(), Match);
    EXPECT_THROW(i.asReal(), Match);
    EXPECT_THROW(i.sumName(), Match);
    ValueArray a{ZilLValue::INT(1)};
    EXPECT_THROW(a.at(1), Subscript);
    EXPECT_THROW(a.set(5, ZilLValue::INT(0)), Subscript);
}

// Node storage is reused once freed: arrays of many sizes, dropped in a
// scattered order and made again, must each keep their own elements.
TEST(Values, FreedNodesAreReusedWithoutMixingContents) {
    const FieldName k("k");
    auto make = [&](std::int32_t tag) {
        return ZilLValue::ARRAY(ValueArray::generate(static_cast<std::size_t>(tag % 40 + 1), [&](std::size_t i) {
            return ZilLValue::RECORD(FieldArray{{k, ZilLValue::INT(tag * 1000 + static_cast<std::int32_t>(i))}});
        }));
    };
    std::vector<ZilLValue> live;
    for (std::int32_t t = 0; t < 60; ++t) live.push_back(make(t));
    for (std::size_t i = 0; i < live.size(); i += 3) live[i] = ZilLValue();
    for (std::size_t i = 0; i < live.size(); i += 3) live[i] = make(static_cast<std::int32_t>(i + 100));
    for (std::size_t i = 0; i < live.size(); ++i) {
        const auto tag = static_cast<std::int32_t>(i % 3 == 0 ? i + 100 : i);
        const ValueArray e = live[i].elements();
        ASSERT_EQ(e.size(), static_cast<std::size_t>(tag % 40 + 1));
        for (std::size_t j = 0; j < e.size(); ++j)
            ASSERT_EQ(e[j].fields()[0].value.asInt(), tag * 1000 + static_cast<std::int32_t>(j)) << i;
    }
}

// A failure while filling a new array drops the elements made so far and
// leaves the storage fit for the next arrays.
TEST(Values, FailedFillReleasesItsElements) {
    const ZilLValue shared = ZilLValue::XYZ(1, 2, 3);
    for (int round = 0; round < 3; ++round)
        EXPECT_THROW(ValueArray::generate(8, [&](std::size_t i) { return i == 5 ? throw Size() : shared; }), Size);
    const ValueArray ok = ValueArray::generate(8, [&](std::size_t) { return shared; });
    EXPECT_TRUE(ok[7].sameNode(shared));
    EXPECT_EQ(ok[7].asXyz().z, 3.0);
}

// Assigning a value that only the old value keeps alive: the new value is
// taken before the old one is dropped, by copy, by move and onto itself.
TEST(Values, AssigningFromInsideTheOldValueKeepsTheNewOne) {
    auto nested = [] {
        return ZilLValue::ARRAY(ValueArray{ZilLValue::RECORD(FieldArray{{FieldName("x"), ZilLValue::XYZ(1, 2, 3)}})});
    };
    ZilLValue v = nested();
    v = v.elementSpan()[0];
    EXPECT_EQ(v.fields()[0].value.asXyz().y, 2.0);
    ZilLValue w = nested();
    w = std::move(const_cast<ZilLValue&>(w.elementSpan()[0]));
    EXPECT_EQ(w.fields()[0].value.asXyz().z, 3.0);
    ZilLValue& self = w;
    w = std::move(self);
    EXPECT_TRUE(w.isRecord());
    w = self;
    EXPECT_EQ(w.fields()[0].value.asXyz().x, 1.0);
}

}  // namespace
}  // namespace zil::test

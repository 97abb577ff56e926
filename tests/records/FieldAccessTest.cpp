#include <gtest/gtest.h>

#include "records/FieldAccess.hpp"
#include "Capture.hpp"

namespace zil {
namespace {

FieldArray sample() {
    return FieldArray{{FieldName("vertexIndex"), ZilLValue::INT(-1)},
                      {FieldName("point"), ZilLValue::RECORD(FieldArray{{FieldName("x"), ZilLValue::REAL(1.5)}})},
                      {FieldName("edgeSharpness"), ZilLValue::REAL(1.5)},
                      {FieldName("corners"), ZilLValue::ARRAY(ValueArray{ZilLValue::INT(7)})}};
}

TEST(Getters, MissingFieldsGiveTheirDefaultsSilently) {
    test::Capture c;
    FieldArray f = sample();
    EXPECT_EQ(getIntegerField(f, "absent", c.out()), -1);
    EXPECT_EQ(getIntegerField(f, "vertexIndex", c.out()), -1);  // indistinguishable from absent
    EXPECT_EQ(getRealField(f, "absent", c.out()), 0.0);
    ValueArray fallback{ZilLValue::INT(1)};
    EXPECT_TRUE(getArrayField(f, "absent", c.out(), fallback).sameArray(fallback));
    EXPECT_TRUE(getArrayField(f, "absent", c.out()).empty());
    EXPECT_TRUE(getRecordField(f, "absent", c.out()).empty());
    EXPECT_EQ(c.text(), "");
}

TEST(Getters, FoundFieldsAreReturnedUncopied) {
    test::Capture c;
    FieldArray f = sample();
    EXPECT_EQ(getRealField(f, "edgeSharpness", c.out()), 1.5);
    EXPECT_TRUE(getArrayField(f, "corners", c.out()).sameArray(f[3].value.elements()));
    FieldArray p = getRecordField(f, "point", c.out());
    EXPECT_EQ(getRealField(p, "x", c.out()), 1.5);
    EXPECT_EQ(forceGetIntegerField(f, "vertexIndex", c.out()), -1);
}

TEST(Getters, WrongKindPrintsTwoLinesAndRaises) {
    FieldArray f = sample();
    struct Case {
        std::function<void(OutStream&)> call;
        std::string expected;
    };
    std::vector<Case> cases{
        {[&](OutStream& o) { getIntegerField(f, "edgeSharpness", o); },
         "Internal Error: int match error: function getIntegerField\n"
         "Internal Error: Could not get field edgeSharpness\n"},
        {[&](OutStream& o) { forceGetIntegerField(f, "point", o); },
         "Internal Error: int match error: function forceGetIntegerField\n"
         "Internal Error: Could not get field point\n"},
        {[&](OutStream& o) { getRealField(f, "vertexIndex", o); },
         "Internal Error: real match error: function getRealField\n"
         "Internal Error: Could not get field vertexIndex\n"},
        {[&](OutStream& o) { getArrayField(f, "point", o); },
         "Internal Error: array match error: function getArrayField\n"
         "Internal Error: Could not get field point\n"},
        {[&](OutStream& o) { getRecordField(f, "corners", o); },
         "Internal Error: record match error: function getRecordField\n"
         "Internal Error: Could not get field corners\n"},
        {[&](OutStream& o) { forceGetIntegerField(f, "vertexValence", o); },
         "Internal Error: Could not find field vertexValence in forceGetField\n"
         "Internal Error: Could not get field vertexValence\n"},
    };
    for (const Case& k : cases) {
        test::Capture c;
        EXPECT_THROW(k.call(c.out()), InternalError);
        EXPECT_EQ(c.text(), k.expected);
    }
}

TEST(Getters, FailedWritePassesThroughWithoutTheSecondLine) {
    test::Capture c;
    c.out().close();
    EXPECT_THROW(getIntegerField(sample(), "edgeSharpness", c.out()), Io);
}

TEST(Setters, ExistingFieldIsChangedInPlace) {
    test::Capture c;
    FieldArray f = sample();
    FieldArray holder = f;
    FieldArray r = setRealField(f, FieldName("edgeSharpness"), c.out(), 2.0);
    EXPECT_TRUE(r.sameArray(f));
    EXPECT_EQ(getRealField(holder, "edgeSharpness", c.out()), 2.0);
    // Setters ignore the old kind.
    setIntegerField(f, "point", c.out(), 4);
    EXPECT_EQ(getIntegerField(holder, "point", c.out()), 4);
    EXPECT_EQ(c.text(), "");
}

TEST(Setters, AbsentFieldIsAppendedToANewArray) {
    test::Capture c;
    FieldArray f = sample();
    FieldArray r = setIntegerField(f, "vertexValence", c.out(), 3);
    EXPECT_FALSE(r.sameArray(f));
    ASSERT_EQ(r.size(), f.size() + 1);
    EXPECT_EQ(r[r.size() - 1].name.str(), "vertexValence");
    EXPECT_EQ(getIntegerField(r, "vertexValence", c.out()), 3);
    EXPECT_EQ(getIntegerField(f, "vertexValence", c.out()), -1);
    EXPECT_EQ(c.text(), "");
}

TEST(Setters, RepeatedNameIsSetEverywhereAndReported) {
    test::Capture c;
    FieldArray f{{FieldName("s"), ZilLValue::REAL(0)}, {FieldName("t"), ZilLValue::INT(0)},
                 {FieldName("s"), ZilLValue::REAL(0)}};
    FieldArray r = setRealField(f, "s", c.out(), 0.5);
    EXPECT_TRUE(r.sameArray(f));
    EXPECT_EQ(f[0].value.asReal(), 0.5);
    EXPECT_EQ(f[2].value.asReal(), 0.5);
    EXPECT_EQ(c.text(), "Internal Error: Expected field s not found in ZilL record!\n{s, t, s}\n");
}

TEST(Setters, ReplaceNeverAppends) {
    test::Capture c;
    FieldArray f{{FieldName("vertexIndex"), ZilLValue::INT(0)}, {FieldName("edgeSharpness"), ZilLValue::REAL(0)}};
    FieldArray r = replaceIntegerField(f, "neighborface", c.out(), 2);
    EXPECT_TRUE(r.sameArray(f));
    EXPECT_EQ(f.size(), 2u);
    EXPECT_EQ(c.text(),
              "Internal Error: Expected field neighborface not found in ZilL record!\n"
              "{vertexIndex, edgeSharpness}\n");
    replaceIntegerField(f, "vertexIndex", c.out(), 5);
    EXPECT_EQ(f[0].value.asInt(), 5);
    EXPECT_EQ(c.text(), "");
    replaceIntegerField(FieldArray{}, "neighboredge", c.out(), 1);
    EXPECT_EQ(c.text(), "Internal Error: Expected field neighboredge not found in ZilL record!\n{}\n");
}

}  // namespace
}  // namespace zil

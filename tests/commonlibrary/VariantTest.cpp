#include "commonlibrary/Variant.h"
#include "platform/errors/CRunTimeError.h"

#include <gtest/gtest.h>

using qlCommonLibrary::Variant;

namespace {

std::int32_t ErrorNumberOf(const std::function<void()>& fCall) {
    try {
        fCall();
    } catch (const CRunTimeError& oError) {
        return oError.Number();
    }
    return 0;
}

TEST(VariantTest, TypeCodes) {
    EXPECT_EQ(Variant().VarType(), 0);
    EXPECT_EQ(Variant::Null().VarType(), 1);
    EXPECT_EQ(Variant(std::int16_t{1}).VarType(), 2);
    EXPECT_EQ(Variant(1).VarType(), 3);
    EXPECT_EQ(Variant(1.0f).VarType(), 4);
    EXPECT_EQ(Variant(1.0).VarType(), 5);
    EXPECT_EQ(Variant::Currency(1.0).VarType(), 6);
    EXPECT_EQ(Variant(CDateTime()).VarType(), 7);
    EXPECT_EQ(Variant("s").VarType(), 8);
    EXPECT_EQ(Variant::Object(nullptr).VarType(), 9);
    EXPECT_EQ(Variant::Error(5).VarType(), 10);
    EXPECT_EQ(Variant(true).VarType(), 11);
    EXPECT_EQ(Variant::DataObject(nullptr).VarType(), 13);
    EXPECT_EQ(Variant::Decimal(1.0).VarType(), 14);
    EXPECT_EQ(Variant::Byte(1).VarType(), 17);
    EXPECT_EQ(Variant::Array({}).VarType(), 8192 + 12);
    EXPECT_TRUE(Variant::Array({}).IsArray());
}

TEST(VariantTest, TextForms) {
    EXPECT_EQ(Variant().ToString(), "");
    EXPECT_EQ(Variant(std::int16_t{-12}).ToString(), "-12");
    EXPECT_EQ(Variant(0.1 + 0.2).ToString(), "0.3");
    EXPECT_EQ(Variant(2.5).ToString(), "2.5");
    EXPECT_EQ(Variant(-0.0).ToString(), "0");
    EXPECT_EQ(Variant(1e20).ToString(), "1E+20");
    EXPECT_EQ(Variant(0.1f).ToString(), "0.1");
    EXPECT_EQ(Variant::Currency(-12.5).ToString(), "-12.5");
    EXPECT_EQ(Variant::Currency(3.0001).ToString(), "3.0001");
    EXPECT_EQ(Variant(true).ToString(), "True");
    EXPECT_EQ(Variant(false).ToString(), "False");
    EXPECT_EQ(Variant::Byte(255).ToString(), "255");
    EXPECT_EQ(Variant::Error(2042).ToString(), "Error 2042");
    EXPECT_EQ(Variant(CDateTime::FromParts(1998, 1, 5)).ToString(), "1/5/98");
    EXPECT_EQ(Variant(CDateTime::FromParts(2003, 12, 25, 0, 5, 9)).ToString(),
              "12/25/03 12:05:09 AM");
    EXPECT_EQ(Variant(CDateTime::FromParts(1899, 12, 30, 13, 0, 0)).ToString(), "1:00:00 PM");
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant::Null().ToString(); }), 94);
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant::Object(nullptr).ToString(); }), 13);
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant::Array({}).ToString(); }), 13);
}

TEST(VariantTest, NumbersFromText) {
    EXPECT_EQ(Variant::ParseNumber(" 12.5 "), 12.5);
    EXPECT_EQ(Variant::ParseNumber("-3"), -3.0);
    EXPECT_EQ(Variant::ParseNumber("+.5"), 0.5);
    EXPECT_EQ(Variant::ParseNumber("1e3"), 1000.0);
    EXPECT_EQ(Variant::ParseNumber("5."), 5.0);
    for (const char* szBad : {"", " ", "abc", "1,5", "1.2.3", "e5", "-", ".", "inf", "nan", "0x10",
                              "1e", "--1", "1e999"}) {
        EXPECT_FALSE(Variant::ParseNumber(szBad)) << szBad;
    }
    EXPECT_TRUE(Variant("12").IsNumeric());
    EXPECT_TRUE(Variant().IsNumeric());
    EXPECT_TRUE(Variant(true).IsNumeric());
    EXPECT_FALSE(Variant("x").IsNumeric());
    EXPECT_FALSE(Variant::Null().IsNumeric());
    EXPECT_FALSE(Variant(CDateTime()).IsNumeric());
    EXPECT_EQ(Variant(true).ToDouble(), -1.0);
    EXPECT_EQ(Variant("7.25").ToDouble(), 7.25);
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant("x").ToDouble(); }), 13);
}

TEST(VariantTest, Ordering) {
    EXPECT_EQ(Variant::Compare(Variant(std::int16_t{2}), Variant(2.5)), -1);
    EXPECT_EQ(Variant::Compare(Variant(3.0), Variant(std::int32_t{3})), 0);
    EXPECT_EQ(Variant::Compare(Variant("B"), Variant("a")), -1); // binary: upper case first
    EXPECT_EQ(Variant::Compare(Variant("\xC3\xA9"), Variant("z")), 1);
    EXPECT_EQ(Variant::Compare(Variant(1000), Variant("1")), -1);
    EXPECT_EQ(Variant::Compare(Variant(), Variant("")), 0);
    EXPECT_EQ(Variant::Compare(Variant(), Variant(std::int32_t{0})), 0);
    EXPECT_EQ(Variant::Compare(Variant("a"), Variant()), 1);
    EXPECT_EQ(Variant::Compare(Variant(CDateTime::FromParts(1998, 1, 5)),
                               Variant(CDateTime::FromParts(1998, 1, 4, 23, 0, 0))),
              1);
    EXPECT_FALSE(Variant::Compare(Variant::Null(), Variant::Null()));
    EXPECT_FALSE(Variant::Compare(Variant(1), Variant::Null()));
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant::Compare(Variant::Error(1), Variant(1)); }), 13);
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant::Compare(Variant::Array({}), Variant(1)); }), 13);
}

TEST(VariantTest, DatesAsSerialNumbers) {
    EXPECT_EQ(Variant::DateToSerial(CDateTime()), 0.0);
    EXPECT_EQ(Variant::DateToSerial(CDateTime::FromParts(1900, 1, 1)), 2.0);
    EXPECT_EQ(Variant::DateToSerial(CDateTime::FromParts(1998, 1, 5, 12, 0, 0)), 35800.5);
    EXPECT_EQ(Variant::SerialToDate(35800.5), CDateTime::FromParts(1998, 1, 5, 12, 0, 0));
    EXPECT_TRUE(Variant::SerialToDate(0.0).IsEmpty());
}

TEST(VariantTest, ArraysAndTheirBounds) {
    const Variant oArray = Variant::Array({"a", "b", "c"}, 1);
    EXPECT_EQ(oArray.Dimensions(), 1);
    EXPECT_EQ(oArray.LBound(), 1);
    EXPECT_EQ(oArray.UBound(), 3);
    EXPECT_EQ(oArray.At(3), Variant("c"));
    EXPECT_EQ(ErrorNumberOf([&] { (void)oArray.At(0); }), 9);
    EXPECT_EQ(ErrorNumberOf([&] { (void)oArray.At(1, 1); }), 9);
    EXPECT_EQ(ErrorNumberOf([&] { (void)oArray.UBound(2); }), 9);
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant("x").LBound(); }), 13);

    const Variant oRows = Variant::Rows({{Variant(1), Variant("one")}, {Variant(2)}});
    EXPECT_EQ(oRows.Dimensions(), 2);
    EXPECT_EQ(oRows.UBound(1), 1); // fields
    EXPECT_EQ(oRows.UBound(2), 1); // rows
    EXPECT_EQ(oRows.At(1, 0), Variant("one"));
    EXPECT_EQ(oRows.At(0, 1), Variant(2));
    EXPECT_TRUE(oRows.At(1, 1).IsEmpty());
    EXPECT_EQ(ErrorNumberOf([&] { (void)oRows.At(2, 0); }), 9);

    EXPECT_EQ(Variant::Array({"a"}), Variant::Array({"a"}));
    EXPECT_FALSE(Variant::Array({"a"}) == Variant::Array({"a"}, 1));
    EXPECT_FALSE(Variant(std::int16_t{1}) == Variant(1));
}

} // namespace

#include "CLibraryFixture.h"

using qlCommonLibrary::Variant;

namespace {

class ValueOperationsTest : public CLibraryFixture {};

TEST_F(ValueOperationsTest, NullHandling) {
    EXPECT_EQ(m_oLibrary.NullToString(Variant::Null()), "");
    EXPECT_EQ(m_oLibrary.NullToString(Variant(std::int32_t{12})), "12");
    EXPECT_EQ(m_oLibrary.NullToString(Variant(2.5)), "2.5");

    EXPECT_EQ(m_oLibrary.NullToNumeric(Variant::Null()), Variant(std::int16_t{0}));
    EXPECT_EQ(m_oLibrary.NullToNumeric(Variant("abc")), Variant(std::int16_t{0}));
    EXPECT_EQ(m_oLibrary.NullToNumeric(Variant(" 12.5 ")), Variant(" 12.5 "));
    EXPECT_EQ(m_oLibrary.NullToNumeric(Variant(3.5)), Variant(3.5));
    EXPECT_EQ(m_oLibrary.NullToNumeric(Variant(CDateTime::FromParts(1998, 1, 5))),
              Variant(std::int16_t{0}));

    EXPECT_EQ(m_oLibrary.ConvertNull(Variant::Null(), 8), Variant(""));
    EXPECT_TRUE(m_oLibrary.ConvertNull(Variant::Null(), 12).IsEmpty());
    EXPECT_EQ(m_oLibrary.ConvertNull(Variant::Null(), 3), Variant(std::int16_t{0}));
    EXPECT_EQ(m_oLibrary.ConvertNull(Variant::Null(), 17), Variant(std::int16_t{0}));
    EXPECT_EQ(m_oLibrary.ConvertNull(Variant::Null(), 11), Variant(false));
    EXPECT_EQ(m_oLibrary.ConvertNull(Variant::Null(), 7), Variant(CDateTime()));
    const Variant oNothing = m_oLibrary.ConvertNull(Variant::Null(), 13);
    EXPECT_EQ(oNothing.VarType(), Variant::vbObject);
    EXPECT_EQ(oNothing.ToObject(), nullptr);
    EXPECT_EQ(m_oLibrary.ConvertNull(Variant("kept"), 2), Variant("kept"));
    ExpectNoReport();
}

TEST_F(ValueOperationsTest, RoundFormatsAndReadsBack) {
    EXPECT_EQ(m_oLibrary.Round(Variant(1.26), 1), Variant(1.3));
    EXPECT_EQ(m_oLibrary.Round(Variant(0.4), 0), Variant(0.0));
    EXPECT_EQ(m_oLibrary.Round(Variant(2.5), 0), Variant(3.0));
    EXPECT_EQ(m_oLibrary.Round(Variant(-2.5), 0), Variant(-3.0));
    EXPECT_EQ(m_oLibrary.Round(Variant(-0.4), 0), Variant(0.0));
    // Half away from zero on the decimal digits, not on the binary value.
    EXPECT_EQ(m_oLibrary.Round(Variant(1.25), 1), Variant(1.3));
    EXPECT_EQ(m_oLibrary.Round(Variant(1.005), 2), Variant(1.01));
    EXPECT_EQ(m_oLibrary.Round(Variant(9.96), -1), Variant(10.0));
    EXPECT_EQ(m_oLibrary.Round(Variant(std::int16_t{7}), 2), Variant(7.0));
    EXPECT_EQ(m_oLibrary.Round(Variant::Currency(1.2345), 3), Variant(1.235));
    EXPECT_EQ(m_oLibrary.Round(Variant(0.5f), 0), Variant(1.0));
    EXPECT_EQ(m_oLibrary.Round(Variant(1.5e-7), 7), Variant(2e-7));
    EXPECT_EQ(m_oLibrary.Round(Variant(123456.0), 0), Variant(123456.0));

    const Variant oDate(CDateTime::FromParts(1998, 1, 5));
    EXPECT_EQ(m_oLibrary.Round(oDate, 0), oDate);
    EXPECT_EQ(m_oLibrary.Round(Variant("1.26"), 1), Variant("1.26"));
    EXPECT_TRUE(m_oLibrary.Round(Variant::Null(), 1).IsNull());
    EXPECT_TRUE(m_oLibrary.Round(Variant(true), 1).IsEmpty());
    EXPECT_TRUE(m_oLibrary.Round(Variant::Byte(3), 1).IsEmpty());
    ExpectNoReport();
    EXPECT_TRUE(m_oLibrary.Round(Variant(1.5), -32768).IsEmpty());
    OnlyReport(6, "Round");
}

TEST_F(ValueOperationsTest, MaxAndMinFollowVariantOrdering) {
    const Variant oFirst(std::int16_t{3});
    const Variant oSecond(std::int32_t{3});
    EXPECT_EQ(m_oLibrary.Max(oFirst, oSecond).VarType(), Variant::vbLong);
    EXPECT_EQ(m_oLibrary.Min(oFirst, oSecond).VarType(), Variant::vbLong);
    EXPECT_EQ(m_oLibrary.Max(Variant(std::int32_t{10}), Variant(9.5)), Variant(std::int32_t{10}));
    EXPECT_EQ(m_oLibrary.Min(Variant(std::int32_t{10}), Variant(9.5)), Variant(9.5));
    EXPECT_EQ(m_oLibrary.Max(Variant("b"), Variant("ab")), Variant("b"));
    EXPECT_EQ(m_oLibrary.Max(Variant("10"), Variant("9")), Variant("9")); // text: binary order
    EXPECT_EQ(m_oLibrary.Max(Variant(std::int32_t{99}), Variant("1")), Variant("1"));
    EXPECT_TRUE(m_oLibrary.Max(Variant(std::int32_t{5}), Variant::Null()).IsNull());
    EXPECT_EQ(m_oLibrary.Max(Variant::Null(), Variant(std::int32_t{5})), Variant(std::int32_t{5}));
    EXPECT_EQ(m_oLibrary.Min(Variant(), Variant(std::int32_t{-1})), Variant(std::int32_t{-1}));
    ExpectNoReport();
    EXPECT_TRUE(m_oLibrary.Max(Variant::Object(nullptr), Variant(std::int32_t{1})).IsEmpty());
    OnlyReport(13, "Max");
}

TEST_F(ValueOperationsTest, SwapExchangesValues) {
    Variant oFirst("a");
    Variant oSecond(std::int32_t{2});
    m_oLibrary.Swap(oFirst, oSecond);
    EXPECT_EQ(oFirst, Variant(std::int32_t{2}));
    EXPECT_EQ(oSecond, Variant("a"));
}

TEST_F(ValueOperationsTest, ConvertSecondsSplitsIntoParts) {
    std::int16_t iSeconds = -1;
    std::int16_t iMinutes = -1;
    Variant oHours;
    Variant oDays;
    m_oLibrary.ConvertSeconds(90061, iSeconds, iMinutes, &oHours, &oDays);
    EXPECT_EQ(oDays, Variant(std::int32_t{1}));
    EXPECT_EQ(oHours, Variant(std::int32_t{1}));
    EXPECT_EQ(iMinutes, 1);
    EXPECT_EQ(iSeconds, 1);
    m_oLibrary.ConvertSeconds(90061, iSeconds, iMinutes, &oHours);
    EXPECT_EQ(oHours, Variant(std::int32_t{1}));
    m_oLibrary.ConvertSeconds(-3661, iSeconds, iMinutes, &oHours, &oDays);
    EXPECT_EQ(oDays, Variant(std::int32_t{0}));
    EXPECT_EQ(oHours, Variant(std::int32_t{-1}));
    EXPECT_EQ(iMinutes, -1);
    EXPECT_EQ(iSeconds, -1);
    m_oLibrary.ConvertSeconds(2147483647, iSeconds, iMinutes);
    EXPECT_EQ(iMinutes, 14);
    EXPECT_EQ(iSeconds, 7);
    ExpectNoReport();
}

TEST_F(ValueOperationsTest, ParseDateSplitsShortDates) {
    std::string sMonth, sDay, sYear;
    m_oLibrary.ParseDate(Variant(CDateTime::FromParts(1998, 1, 5)), sMonth, sDay, sYear);
    EXPECT_EQ(sMonth + "|" + sDay + "|" + sYear, "01|05|98");
    m_oLibrary.ParseDate(Variant(CDateTime::FromParts(2003, 12, 25, 14, 0, 0)), sMonth, sDay,
                         sYear);
    EXPECT_EQ(sMonth + "|" + sDay + "|" + sYear, "12|25|03");
    m_oLibrary.ParseDate(Variant("3/7/1998"), sMonth, sDay, sYear);
    EXPECT_EQ(sMonth + "|" + sDay + "|" + sYear, "03|07|19");
    m_oLibrary.ParseDate(Variant("3/7/9"), sMonth, sDay, sYear);
    EXPECT_EQ(sYear, "09");
    ExpectNoReport();
    m_oLibrary.ParseDate(Variant::Null(), sMonth, sDay, sYear);
    OnlyReport(94, "ParseDate");
}

TEST_F(ValueOperationsTest, LeapYearsAndWords) {
    EXPECT_TRUE(m_oLibrary.IsLeapYear(1996));
    EXPECT_TRUE(m_oLibrary.IsLeapYear(2000));
    EXPECT_FALSE(m_oLibrary.IsLeapYear(1900));
    EXPECT_FALSE(m_oLibrary.IsLeapYear(1997));

    EXPECT_EQ(m_oLibrary.HiWord(0x12345678), 0x1234);
    EXPECT_EQ(m_oLibrary.LoWord(0x12345678), 0x5678);
    EXPECT_EQ(m_oLibrary.LoWord(0x0000FFFF), -1);
    EXPECT_EQ(m_oLibrary.HiWord(-1), -1);
    EXPECT_EQ(m_oLibrary.HiWord(std::int32_t{-2147483647 - 1}), -32768);
    EXPECT_EQ(m_oLibrary.MakeDWord(-1, 0), 65535);
    EXPECT_EQ(m_oLibrary.MakeDWord(0, -1), -65536);
    for (const std::int32_t lValue :
         {0, 1, -1, 65535, 65536, -65536, 0x7FFFFFFF, -2147483647 - 1, 0x12348765}) {
        EXPECT_EQ(m_oLibrary.MakeDWord(m_oLibrary.LoWord(lValue), m_oLibrary.HiWord(lValue)),
                  lValue);
    }
    ExpectNoReport();
}

TEST_F(ValueOperationsTest, SearchGetRowsArrayFindsSortedKeys) {
    // Field 0 holds the key, field 1 a name; rows sorted by the key.
    const Variant oRows = Variant::Rows({{Variant(std::int32_t{1}), Variant("one")},
                                         {Variant(std::int32_t{3}), Variant("three")},
                                         {Variant(std::int32_t{5}), Variant("five")},
                                         {Variant(std::int32_t{7}), Variant("seven")}});
    EXPECT_EQ(m_oLibrary.SearchGetRowsArray(oRows, Variant(std::int32_t{5}), 0), 2);
    EXPECT_EQ(m_oLibrary.SearchGetRowsArray(oRows, Variant(std::int32_t{1}), 0), 0);
    EXPECT_EQ(m_oLibrary.SearchGetRowsArray(oRows, Variant(std::int32_t{7}), 0), 3);
    EXPECT_EQ(m_oLibrary.SearchGetRowsArray(oRows, Variant(std::int16_t{3}), 0), 1);
    EXPECT_EQ(m_oLibrary.SearchGetRowsArray(oRows, Variant(std::int32_t{4}), 0), -1);
    EXPECT_EQ(m_oLibrary.SearchGetRowsArray(oRows, Variant(std::int32_t{9}), 0), -1);
    EXPECT_EQ(m_oLibrary.SearchGetRowsArray(oRows, Variant(std::int32_t{0}), 0), -1);
    EXPECT_EQ(m_oLibrary.SearchGetRowsArray(oRows, Variant::Null(), 0), -1);
    // Any field may be the key; the text order of field 1 is not sorted, so "seven" is missed.
    EXPECT_EQ(m_oLibrary.SearchGetRowsArray(oRows, Variant("one"), 1), 0);
    EXPECT_EQ(m_oLibrary.SearchGetRowsArray(oRows, Variant("zero"), 1), -1);
    ExpectNoReport();

    const Variant oSingle = Variant::Rows({{Variant("k")}});
    EXPECT_EQ(m_oLibrary.SearchGetRowsArray(oSingle, Variant("k"), 0), 0);
    EXPECT_EQ(m_oLibrary.SearchGetRowsArray(oSingle, Variant("j"), 0), -1);
}

TEST_F(ValueOperationsTest, SearchGetRowsArraySurvivesBadArguments) {
    const Variant oRows = Variant::Rows({{Variant(std::int32_t{1})}, {Variant(std::int32_t{2})}});
    EXPECT_EQ(m_oLibrary.SearchGetRowsArray(oRows, Variant(std::int32_t{1}), 3), -1);
    OnlyReport(9, "SearchGetRowsArray");
    EXPECT_EQ(m_oLibrary.SearchGetRowsArray(Variant("not an array"), Variant("x"), 0), -1);
    OnlyReport(13, "SearchGetRowsArray");
    EXPECT_EQ(m_oLibrary.SearchGetRowsArray(Variant::Array({"a", "b"}), Variant("a"), 0), -1);
    OnlyReport(9, "SearchGetRowsArray");
    EXPECT_EQ(m_oLibrary.SearchGetRowsArray(Variant::Rows({}), Variant("a"), 0), -1);
    OnlyReport(9, "SearchGetRowsArray");
    // A null among the keys stops the search instead of looping for ever.
    const Variant oHoles = Variant::Rows({{Variant(std::int32_t{1})},
                                          {Variant::Null()},
                                          {Variant::Null()},
                                          {Variant(std::int32_t{9})}});
    EXPECT_EQ(m_oLibrary.SearchGetRowsArray(oHoles, Variant(std::int32_t{5}), 0), -1);
    ExpectNoReport();
}

} // namespace

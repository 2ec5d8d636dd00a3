#include "platform/shell/CDateTime.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace {

TEST(DateTime, PartsAndFolderNames) {
    const CDateTime dt = CDateTime::FromParts(1998, 1, 5, 14, 2, 10);
    EXPECT_EQ(dt.Year(), 1998);
    EXPECT_EQ(dt.Month(), 1);
    EXPECT_EQ(dt.Day(), 5);
    EXPECT_EQ(dt.Hour(), 14);
    EXPECT_EQ(dt.Minute(), 2);
    EXPECT_EQ(dt.Second(), 10);
    EXPECT_EQ(dt.YearText(), "1998");
    EXPECT_EQ(dt.MonthName(), "January");
    EXPECT_EQ(dt.DayText(), "05");
    EXPECT_EQ(dt.ToIsoText(), "1998-01-05 14:02:10");
}

TEST(DateTime, EmptyDateAndDatesBeforeTheEpoch) {
    EXPECT_TRUE(CDateTime().IsEmpty());
    EXPECT_EQ(CDateTime().ToIsoText(), "1899-12-30 00:00:00");
    const CDateTime dt = CDateTime::FromParts(1899, 12, 31, 23, 59, 59);
    EXPECT_EQ(dt.Day(), 31);
    EXPECT_EQ(dt.Hour(), 23);
    EXPECT_EQ(dt.DatePart(), CDateTime::FromParts(1899, 12, 31));
}

TEST(DateTime, ArithmeticCrossesMonthsAndLeapDays) {
    const CDateTime dt = CDateTime::FromParts(1998, 3, 15, 10, 0, 0);
    EXPECT_EQ(dt.AddDays(-31), CDateTime::FromParts(1998, 2, 12, 10, 0, 0));
    EXPECT_EQ(CDateTime::FromParts(2000, 2, 28).AddDays(1), CDateTime::FromParts(2000, 2, 29));
    EXPECT_LT(CDateTime::FromParts(1998, 2, 12), CDateTime::FromParts(1998, 2, 12, 10));
}

TEST(DateTime, SpansBeyondTheCalendarStopAtItsEnds) {
    const CDateTime dNow = CDateTime::FromParts(1998, 3, 15, 10, 0, 0);
    // A hand-edited age of 2147483647 days lies before any day there is, never after now.
    const CDateTime dLongAgo = dNow.AddDays(-2147483647LL - 1);
    EXPECT_LT(dLongAgo, dNow);
    EXPECT_EQ(dLongAgo.Year(), 1);
    EXPECT_LT(dLongAgo.ToUnixTime(), dNow.ToUnixTime());
    const CDateTime dFarAhead = dNow.AddDays(2147483648LL);
    EXPECT_GT(dFarAhead, dNow);
    EXPECT_EQ(dFarAhead.Year(), 9999);
    EXPECT_EQ(dNow.AddDays(INT64_MIN / 2).Year(), 1) << "no overflow of the product";
    EXPECT_EQ(dNow.AddSeconds(INT64_MAX).Year(), 9999) << "no overflow of the sum";
    EXPECT_EQ(dNow.AddDays(-31), CDateTime::FromParts(1998, 2, 12, 10, 0, 0));
}

TEST(DateTime, ValidPartsRefuseImpossibleDates) {
    EXPECT_FALSE(CDateTime::FromValidParts(1998, 2, 30));
    EXPECT_FALSE(CDateTime::FromValidParts(1998, 13, 1));
    EXPECT_FALSE(CDateTime::FromValidParts(1998, 1, 1, 24));
    EXPECT_TRUE(CDateTime::FromValidParts(2000, 2, 29));
}

TEST(DateTime, MonthNamesAreEnglishWhateverTheLocale) {
    EXPECT_EQ(CDateTime::MonthFromName("March"), 3);
    EXPECT_EQ(CDateTime::MonthFromName("december"), 12);
    EXPECT_EQ(CDateTime::MonthFromName("Marz"), 0);
    EXPECT_STREQ(CDateTime::MonthNameOf(9), "September");
}

TEST(DateTime, UnixTimeRoundTripsThroughTheLocalClock) {
    const CDateTime dt = CDateTime::FromParts(2026, 7, 1, 12, 30, 45);
    EXPECT_EQ(CDateTime::FromUnixTime(dt.ToUnixTime()), dt);
}

} // namespace

#include "CLibraryFixture.h"
#include "commonlibrary/MLibraryStrings.h"

#include <stdexcept>

using qlCommonLibrary::Library;
using qlCommonLibrary::Variant;

namespace {

class ErrorConventionTest : public CLibraryFixture {};

TEST_F(ErrorConventionTest, ArgumentChecksReportTheirCodeMessageAndSource) {
    EXPECT_EQ(m_oLibrary.RInstr("a\\b\\c", "\\", Variant(std::int32_t{3})), 0);
    EXPECT_EQ(OnlyReport(32760, "RInstr").sDescription,
              "The Start argument must be a positive integer less than or equal to the length "
              "of String1.");

    EXPECT_EQ(m_oLibrary.RInstr("abc", "b", std::nullopt, Variant(std::int16_t{2})), 0);
    EXPECT_EQ(OnlyReport(32759, "RInstr").sDescription, "The Compare argument must be 0 or 1.");

    EXPECT_EQ(m_oLibrary.PadLeft("abc", 6, Variant::Null()), "");
    EXPECT_EQ(OnlyReport(32761, "PadLeft").sDescription,
              "The PadChar argument must be convertable to a String.");
    EXPECT_EQ(m_oLibrary.PadRight("abc", 6, Variant::Object(nullptr)), "");
    OnlyReport(32761, "PadRight");

    EXPECT_EQ(m_oLibrary.LongestWord("a bb", Variant::Error(5)), "");
    EXPECT_EQ(OnlyReport(32763, "LongestWord").sDescription,
              "The Delimiter argument must be convertable to a String.");

    EXPECT_EQ(m_oLibrary.MakeListItemNodeKey("", 42), "");
    EXPECT_EQ(OnlyReport(32756, "MakeListItemNodeKey").sDescription,
              "The Prefix argument cannot be an empty string.");
    EXPECT_EQ(m_oLibrary.MakeListItemNodeKey("7x", 42), "");
    EXPECT_EQ(OnlyReport(32755, "MakeListItemNodeKey").sDescription,
              "The Prefix argument cannot be a numeric character.");
}

TEST_F(ErrorConventionTest, StringTableHoldsTheMessagesUnderTheirIds) {
    using namespace qlCommonLibrary::MLibraryStrings;
    EXPECT_EQ(MessageIdOf(32765), 8);
    EXPECT_EQ(MessageIdOf(32757), 16);
    EXPECT_EQ(MessageIdOf(32756), 20);
    EXPECT_EQ(MessageIdOf(32753), 23);
    EXPECT_EQ(MessageIdOf(53), 0);
    EXPECT_EQ(LoadResString(15), "The argument must be a Control.");
    EXPECT_EQ(LoadResString(22), "The Child argument must be a Form.");
    EXPECT_EQ(LoadResString(17), "");
}

TEST_F(ErrorConventionTest, InnerOperationReportsUnderItsOwnName) {
    // LengthLongestWord goes through LongestWord, whose check fails there.
    EXPECT_EQ(m_oLibrary.LengthLongestWord("a bb", Variant::Null()), 0);
    OnlyReport(32763, "LongestWord");
}

TEST_F(ErrorConventionTest, RunTimeErrorsAreReportedToo) {
    EXPECT_EQ(m_oLibrary.ParseListItemNodeKey("Kabc"), 0);
    OnlyReport(13, "ParseListItemNodeKey");
    EXPECT_EQ(m_oLibrary.ParseListItemNodeKey("K99999999999"), 0);
    OnlyReport(6, "ParseListItemNodeKey");
    EXPECT_EQ(m_oLibrary.PadLeft("abc", -32768), "");
    OnlyReport(6, "PadLeft");
    EXPECT_EQ(m_oLibrary.NullToString(Variant::Object(nullptr)), "");
    OnlyReport(13, "NullToString");
}

TEST_F(ErrorConventionTest, OutputsKeepWhatWasAssignedBeforeTheError) {
    std::string sMonth = "m";
    std::string sDay = "d";
    std::string sYear = "y";
    m_oLibrary.ParseDate(Variant("7/15"), sMonth, sDay, sYear);
    OnlyReport(5, "ParseDate");
    EXPECT_EQ(sMonth, "07");
    EXPECT_EQ(sDay, "d");
    EXPECT_EQ(sYear, "y");

    m_oLibrary.ParseDate(Variant("no slashes"), sMonth, sDay, sYear);
    OnlyReport(5, "ParseDate");
    EXPECT_EQ(sMonth, "07");
}

TEST_F(ErrorConventionTest, NoReporterSwallowsTheError) {
    Library oLibrary(nullptr);
    EXPECT_EQ(oLibrary.MakeListItemNodeKey("", 1), "");
    EXPECT_EQ(oLibrary.RInstr("abc", "c", Variant(std::int16_t{9})), 0);
    EXPECT_EQ(oLibrary.ClassName(), "Library");
}

TEST_F(ErrorConventionTest, AFailingReportDoesNotEscape) {
    m_pReporter->Reported = [](const CErrorReporter&) { throw std::runtime_error("log broke"); };
    EXPECT_NO_THROW(EXPECT_EQ(m_oLibrary.MakeListItemNodeKey("", 1), ""));
    EXPECT_NO_THROW(m_oLibrary.DelTree(""));
}

TEST_F(ErrorConventionTest, SuccessReportsNothing) {
    EXPECT_EQ(m_oLibrary.RInstr("a\\b\\c", "\\", Variant(std::int16_t{3})), 2);
    EXPECT_EQ(m_oLibrary.PadLeft("abc", 5, Variant(std::int16_t{0})), "00abc");
    EXPECT_EQ(m_oLibrary.MakeListItemNodeKey("Day", 42), "D42");
    ExpectNoReport();
}

} // namespace

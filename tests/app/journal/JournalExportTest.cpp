#include "app/journal/CJournalExport.h"
#include "app/journal/CJournalWorld.h"
#include "app/journal/MJournalText.h"
#include "platform/shelllink/CJsonValue.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;

namespace {
CDateTime At(int iDay, int iHour, int iMinute = 0) {
    return CDateTime::FromParts(1998, 3, iDay, iHour, iMinute, 0);
}

// The records of CSV text read by RFC 4180: quoted fields with doubled quotes, CR LF between
// records; anything else fails the test.
std::vector<std::vector<std::string>> ReadCsv(const std::string& sText) {
    std::vector<std::vector<std::string>> vRecords(1, std::vector<std::string>(1));
    size_t n = 0;
    while (n < sText.size()) {
        std::string& sField = vRecords.back().back();
        if (sText[n] == '"' && sField.empty()) {
            for (++n;; ++n) {
                if (n >= sText.size()) {
                    ADD_FAILURE() << "unterminated quoted field";
                    return vRecords;
                }
                if (sText[n] == '"' && n + 1 < sText.size() && sText[n + 1] == '"') {
                    sField += '"';
                    ++n;
                } else if (sText[n] == '"') {
                    ++n;
                    break;
                } else {
                    sField += sText[n];
                }
            }
            continue;
        }
        if (sText[n] == ',') {
            vRecords.back().emplace_back();
        } else if (sText.compare(n, 2, "\r\n") == 0) {
            if (n + 2 < sText.size()) {
                vRecords.emplace_back(1);
            }
            ++n;
        } else if (sText[n] == '"' || sText[n] == '\r' || sText[n] == '\n') {
            ADD_FAILURE() << "stray character " << int(sText[n]) << " at " << n;
        } else {
            sField += sText[n];
        }
        ++n;
    }
    return vRecords;
}

// A stream whose every write fails, as a full disk does.
class CFullDisk : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

class JournalExport : public ::testing::Test {
protected:
    JournalExport() : m_oExport(m_oWorld.DailyPath()) {}

    std::string Export(CJournalExport::EFormat eFormat, const CDateTime& dFrom = CDateTime(),
                       const CDateTime& dTo = CDateTime()) {
        std::ostringstream oOut;
        std::ostringstream oErr;
        EXPECT_EQ(m_oExport.Export(eFormat, dFrom, dTo, oOut, oErr), 0) << oErr.str();
        return oOut.str();
    }

    CJournalWorld m_oWorld;
    CJournalExport m_oExport;
};
} // namespace

TEST(JournalText, IsoDatesAreReadOnlyWhenTheyNameARealDay) {
    EXPECT_EQ(MJournalText::ParseIsoDate("2024-02-29"), CDateTime::FromParts(2024, 2, 29));
    for (const char* psz : {"2023-02-29", "2024-2-29", "2024-02-290", " 2024-02-29", "2024/02/29",
                            "2024-13-01", "0000-01-01", "２０２４-02-29", ""}) {
        EXPECT_FALSE(MJournalText::ParseIsoDate(psz)) << psz;
    }
    EXPECT_EQ(MJournalText::IsoDate(CDateTime::FromParts(998, 3, 5)), "0998-03-05");
    EXPECT_EQ(MJournalText::IsoTime(At(1, 7, 5).AddSeconds(9)), "07:05:09");
}

TEST(JournalText, FieldsStayOneFieldAndValidUtf8) {
    EXPECT_EQ(MJournalText::CsvField("plain Über"), "plain Über");
    EXPECT_EQ(MJournalText::CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(MJournalText::CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(MJournalText::CsvField("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(MJournalText::CsvField(" padded"), "\" padded\"");
    EXPECT_EQ(MJournalText::ValidUtf8("a\xFF"
                                      "b\xC3"),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
    EXPECT_EQ(MJournalText::ValidUtf8("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD")
        << "a surrogate is no character";
    EXPECT_EQ(MJournalText::JsonString("q\"b\\\x01\t\x7F\xC2\x85\xE2\x80\xA8é"),
              "\"q\\\"b\\\\\\u0001\\t\\u007f\\u0085\\u2028é\"");
    EXPECT_EQ(MJournalText::TabField("a\tb\\c\nd\x02"), "a\\tb\\\\c\\nd\\x02");
}

TEST(JournalText, CsvCellsAreNeverFormulasAndCarryNoTerminalControl) {
    EXPECT_EQ(MJournalText::CsvField("=1+2"), "'=1+2");
    EXPECT_EQ(MJournalText::CsvField("+1"), "'+1");
    EXPECT_EQ(MJournalText::CsvField("-2"), "'-2");
    EXPECT_EQ(MJournalText::CsvField("@SUM(A1)"), "'@SUM(A1)");
    EXPECT_EQ(MJournalText::CsvField("\tx"), "'\tx");
    EXPECT_EQ(MJournalText::CsvField("\rx"), "\"'\rx\"");
    EXPECT_EQ(MJournalText::CsvField("=HYPERLINK(\"http://x\",\"y\")"),
              "\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\"");
    EXPECT_EQ(MJournalText::CsvField("a=b-c"), "a=b-c");
    EXPECT_EQ(MJournalText::CsvField(""), "");
    // Controls other than tab and the line breaks, C1 too, are spelled out.
    EXPECT_EQ(MJournalText::CsvField("a\x1b[2Jb\a"), "a\\x1b[2Jb\\x07");
    EXPECT_EQ(MJournalText::CsvField(std::string("a\0b\x7f", 4)), "a\\x00b\\x7f");
    EXPECT_EQ(MJournalText::CsvField("a\xc2\x9b"
                                     "b\tc"),
              "a\\x9bb\tc");
    EXPECT_EQ(MJournalText::CsvField("\x1b=x"), "\\x1b=x") << "no longer a formula";
    EXPECT_EQ(MJournalText::TabField("a\xc2\x85"
                                     "b\x1b"),
              "a\\x85b\\x1b");
    EXPECT_EQ(MJournalText::TabField("\xc2\xa0\xc3\xa9"), "\xc2\xa0\xc3\xa9") << "not controls";
}

TEST_F(JournalExport, CsvLetsNoSpreadsheetRunANameWhileJsonKeepsItAsItIs) {
    const std::vector<std::string> vNames = {"=1+2.txt", "+quick.txt", "-minus.txt",
                                             "@at.txt",  "\tTab.txt",  "Esc\x1b[2J.txt"};
    int iMinute = 0;
    for (const std::string& sName : vNames) {
        m_oWorld.File(sName, "/home/ann/" + sName, At(5, 9, iMinute++));
    }
    const auto vRecords = ReadCsv(Export(CJournalExport::EFormat::Csv));
    ASSERT_EQ(vRecords.size(), vNames.size() + 1);
    const std::vector<std::string> vWritten = {"'=1+2.txt", "'+quick.txt", "'-minus.txt",
                                               "'@at.txt",  "'\tTab.txt",  "Esc\\x1b[2J.txt"};
    for (size_t i = 0; i < vNames.size(); ++i) {
        ASSERT_EQ(vRecords[i + 1].size(), 7U) << i;
        EXPECT_EQ(vRecords[i + 1][2], vWritten[i]);
        EXPECT_EQ(vRecords[i + 1][5].rfind("/home/ann/", 0), 0U) << vRecords[i + 1][5];
    }
    const std::string sJson = Export(CJournalExport::EFormat::Json);
    EXPECT_NE(sJson.find("\"name\":\"=1+2.txt\""), std::string::npos) << sJson;
    EXPECT_NE(sJson.find("\"name\":\"Esc\\u001b[2J.txt\""), std::string::npos) << sJson;
}

TEST_F(JournalExport, CsvKeepsCommasQuotesLineBreaksAndNonAsciiInTheirFields) {
    const std::vector<std::string> vNames = {"a,b.txt", "say \"hi\".txt", "two\nlines.txt",
                                             " Über café.txt", "plain.txt"};
    int iMinute = 0;
    for (const std::string& sName : vNames) {
        m_oWorld.File(sName, "/home/ann/x, \"y\"/" + sName, At(5, 9, iMinute++));
    }
    const std::string sCsv = Export(CJournalExport::EFormat::Csv);
    const std::string sHeader = "date,time,name,folder,type,target,days_used\r\n";
    ASSERT_EQ(sCsv.substr(0, sHeader.size()), sHeader);
    const auto vRecords = ReadCsv(sCsv);
    ASSERT_EQ(vRecords.size(), vNames.size() + 1);
    for (size_t i = 0; i < vNames.size(); ++i) {
        const std::vector<std::string>& vRecord = vRecords[i + 1];
        ASSERT_EQ(vRecord.size(), 7U) << i;
        EXPECT_EQ(vRecord[0], "1998-03-05");
        EXPECT_EQ(vRecord[1], "09:0" + std::to_string(i) + ":00");
        EXPECT_EQ(vRecord[2], vNames[i]);
        EXPECT_EQ(vRecord[3], "/home/ann/x, \"y\"");
        EXPECT_EQ(vRecord[4], "Text Document");
        EXPECT_EQ(vRecord[5], "/home/ann/x, \"y\"/" + vNames[i]);
        EXPECT_EQ(vRecord[6], "1");
    }
}

TEST_F(JournalExport, JsonEscapesEveryControlCharacterAndReadsBackTheSame) {
    const std::vector<std::string> vNames = {"bell\x07.txt",         "tab\there.txt",
                                             "del\x7F.txt",          "sep\xE2\x80\xA8.txt",
                                             "\xCE\xA3\xCF\x82.txt", "back\\slash \"q\".txt"};
    int iMinute = 0;
    for (const std::string& sName : vNames) {
        m_oWorld.File(sName, "/home/ann/" + sName, At(6, 10, iMinute++));
    }
    m_oWorld.File("latin1-\xE9t\xE9.txt", "/home/ann/latin1-\xE9t\xE9.txt", At(6, 11));
    const std::string sJson = Export(CJournalExport::EFormat::Json);
    for (size_t n = 0; n < sJson.size(); ++n) {
        const auto u = static_cast<unsigned char>(sJson[n]);
        EXPECT_TRUE(u >= 0x20 || u == '\n') << "raw control character at " << n;
        EXPECT_NE(u, 0x7F);
    }
    EXPECT_EQ(sJson.find("\xE2\x80\xA8"), std::string::npos);
    const CJsonValue oRows = CJsonValue::Parse(sJson);
    ASSERT_EQ(oRows.Items().size(), vNames.size() + 1);
    for (size_t i = 0; i < vNames.size(); ++i) {
        const CJsonValue& oRow = oRows.Items()[i];
        EXPECT_EQ(oRow["name"].AsString(), vNames[i]);
        EXPECT_EQ(oRow["target"].AsString(), "/home/ann/" + vNames[i]);
        EXPECT_EQ(oRow["folder"].AsString(), "/home/ann");
        EXPECT_EQ(oRow["date"].AsString(), "1998-03-06");
        EXPECT_EQ(oRow["days_used"].AsInt(), 1);
    }
    EXPECT_EQ(oRows.Items().back()["name"].AsString(), "latin1-\xEF\xBF\xBDt\xEF\xBF\xBD.txt")
        << "bytes of another encoding become U+FFFD";
    EXPECT_EQ(Export(CJournalExport::EFormat::Json, At(20, 0), At(21, 0)), "[]\n");
}

TEST_F(JournalExport, OneRowPerDocumentAndDayInAStableOrderWithDaysOfTheWholeJournal) {
    m_oWorld.File("Report.txt", "/home/ann/Report.txt", At(1, 9));
    m_oWorld.File("Report.txt", "/home/ann/Report.txt", At(3, 14));
    m_oWorld.File("b.txt", "/home/ann/b.txt", At(3, 8));
    m_oWorld.File("a.txt", "/home/ann/a.txt", At(3, 8));
    m_oWorld.PutCopy("Report again", "/home/ann/Report.txt", At(3, 16));
    m_oWorld.File("Report.txt", "/home/ann/Report.txt", At(9, 10));

    const std::vector<CJournalExport::SRow> vRows = m_oExport.Rows(At(2, 0), At(3, 23), true);
    ASSERT_EQ(vRows.size(), 3U);
    EXPECT_EQ(vRows[0].sName, "a.txt");
    EXPECT_EQ(vRows[1].sName, "b.txt");
    EXPECT_EQ(vRows[2].sName, "Report.txt");
    EXPECT_EQ(vRows[2].dTime, At(3, 16)) << "the day's latest use";
    EXPECT_EQ(vRows[2].lDaysUsed, 3) << "days of the whole journal, not of the span";

    const std::string sCsv = Export(CJournalExport::EFormat::Csv, At(3, 0), At(3, 0));
    EXPECT_EQ(sCsv, "date,time,name,folder,type,target,days_used\r\n"
                    "1998-03-03,08:00:00,a.txt,/home/ann,Text Document,/home/ann/a.txt,1\r\n"
                    "1998-03-03,08:00:00,b.txt,/home/ann,Text Document,/home/ann/b.txt,1\r\n"
                    "1998-03-03,16:00:00,Report.txt,/home/ann,Text Document,"
                    "/home/ann/Report.txt,3\r\n");
    EXPECT_EQ(Export(CJournalExport::EFormat::Csv), Export(CJournalExport::EFormat::Csv));
    EXPECT_EQ(ReadCsv(Export(CJournalExport::EFormat::Csv, CDateTime(), At(2, 0))).size(), 2U)
        << "an open start";

    std::ostringstream oOut;
    std::ostringstream oErr;
    EXPECT_EQ(m_oExport.Export(CJournalExport::EFormat::Csv, At(4, 0), At(3, 0), oOut, oErr), 1);
    EXPECT_EQ(oErr.str(), "dayfold: the first day 1998-03-04 is after the last day 1998-03-03\n");
}

TEST_F(JournalExport, ListPrintsTheDaysDocumentsByTimeWithoutProgramShortcuts) {
    m_oWorld.File("Late.txt", "/home/ann/Late.txt", At(4, 17, 30));
    m_oWorld.File("tab\there.txt", "C:\\Docs\\tab\there.txt", At(4, 8, 5));
    m_oWorld.File("Other day.txt", "/home/ann/Other day.txt", At(5, 8));
    ASSERT_TRUE(fs::exists(m_oWorld.DayFolder(At(4, 0)) + "/Notepad.lnk"));

    std::ostringstream oOut;
    std::ostringstream oErr;
    EXPECT_EQ(m_oExport.List(At(4, 0), oOut, oErr), 0);
    EXPECT_EQ(oOut.str(), "08:05:00\ttab\\there.txt\tC:\\\\Docs\tText Document\n"
                          "17:30:00\tLate.txt\t/home/ann\tText Document\n");
    EXPECT_EQ(oErr.str(), "");

    std::ostringstream oNone;
    EXPECT_EQ(m_oExport.List(At(20, 0), oNone, oErr), 0);
    EXPECT_EQ(oNone.str(), "");
}

TEST_F(JournalExport, AnOutputThatCannotBeWrittenIsAFailure) {
    m_oWorld.File("Report.txt", "/home/ann/Report.txt", At(4, 9));
    CFullDisk oFull;
    std::ostream oOut(&oFull);
    std::ostringstream oErr;
    EXPECT_EQ(m_oExport.Export(CJournalExport::EFormat::Json, CDateTime(), CDateTime(), oOut, oErr),
              1);
    EXPECT_EQ(oErr.str(), "dayfold: the output could not be written\n");
    std::ostream oListOut(&oFull);
    EXPECT_EQ(m_oExport.List(At(4, 0), oListOut, oErr), 1);
}

TEST_F(JournalExport, DamagedCopiesAreLoggedNamedAndLeftOut) {
    m_oWorld.File("Report.txt", "/home/ann/Report.txt", At(4, 9));
    m_oWorld.Temp().WriteFile("Dayfold/Daily/1998/March/04/Broken.txt.lnk", "not a shortcut");
    std::ostringstream oOut;
    std::ostringstream oErr;
    EXPECT_EQ(m_oExport.Export(CJournalExport::EFormat::Csv, CDateTime(), CDateTime(), oOut, oErr),
              0);
    EXPECT_EQ(ReadCsv(oOut.str()).size(), 2U);
    EXPECT_NE(oErr.str().find("1 shortcut files of the repository could not be read"),
              std::string::npos);
    EXPECT_NE(m_oWorld.ErrorLog().find("Broken.txt.lnk"), std::string::npos);
    EXPECT_EQ(CJournalExport::ParseFormat("JSON"), CJournalExport::EFormat::Json);
    EXPECT_FALSE(CJournalExport::ParseFormat("xml"));
}

#pragma once

#include "commonlibrary/Library.h"
#include "platform/errors/CErrorReporter.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// A Library whose reporter records every report it receives.
class CLibraryFixture : public ::testing::Test {
protected:
    struct SReport {
        std::int32_t lNumber;
        std::string sDescription;
        std::string sSource;
        bool bFlag;
        std::string sDetail;
    };

    CLibraryFixture() : m_pReporter(std::make_shared<CErrorReporter>()), m_oLibrary(m_pReporter) {
        m_pReporter->SetDetail("stale");
        m_pReporter->Reported = [this](const CErrorReporter& oReporter) {
            m_vReports.push_back({oReporter.Number(), oReporter.Description(), oReporter.Source(),
                                  oReporter.Flag(), oReporter.Detail()});
        };
    }

    // Exactly one report arrived, with this number and source; returns it.
    SReport OnlyReport(std::int32_t lNumber, const std::string& sOperation) {
        EXPECT_EQ(m_vReports.size(), 1u);
        if (m_vReports.empty()) {
            return {};
        }
        const SReport oReport = m_vReports.front();
        EXPECT_EQ(oReport.lNumber, lNumber);
        EXPECT_EQ(oReport.sSource, "qlCommonLibrary.Library." + sOperation);
        EXPECT_TRUE(oReport.bFlag);
        EXPECT_EQ(oReport.sDetail, "");
        m_vReports.clear();
        return oReport;
    }
    void ExpectNoReport() {
        EXPECT_TRUE(m_vReports.empty())
            << (m_vReports.empty() ? ""
                                   : m_vReports[0].sSource + ": " + m_vReports[0].sDescription);
        m_vReports.clear();
    }

    std::shared_ptr<CErrorReporter> m_pReporter;
    qlCommonLibrary::Library m_oLibrary;
    std::vector<SReport> m_vReports;
};

#pragma once

#include <cstdint>
#include <string>

// The program's version information: the captions the splash window and the About box show.
// Program() holds the values of this build; tests make their own with the constructor.
class CVersionInfo {
public:
    CVersionInfo() = default;
    CVersionInfo(std::string sProductName, std::string sCompanyName, std::string sLegalCopyright,
                 std::string sComments, std::int16_t iMajor, std::int16_t iMinor,
                 std::int16_t iRevision);

    // "Dayfold", "Quillon, Inc.", "Copyright © <year> Quillon, Inc.", the legal notice and
    // the build's version.
    static const CVersionInfo& Program();

    const std::string& ProductName() const { return m_sProductName; }
    const std::string& CompanyName() const { return m_sCompanyName; }
    const std::string& LegalCopyright() const { return m_sLegalCopyright; }
    // A one-sentence legal notice that refers the reader to the About box.
    const std::string& Comments() const { return m_sComments; }
    std::int16_t Major() const { return m_iMajor; }
    std::int16_t Minor() const { return m_iMinor; }
    std::int16_t Revision() const { return m_iRevision; }

    // "<major>.<minor>.<revision>" in decimal ("1.0.2").
    std::string VersionText() const;

private:
    std::string m_sProductName;
    std::string m_sCompanyName;
    std::string m_sLegalCopyright;
    std::string m_sComments;
    std::int16_t m_iMajor = 0;
    std::int16_t m_iMinor = 0;
    std::int16_t m_iRevision = 0;
};

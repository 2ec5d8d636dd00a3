#pragma once

#include "aboutbox/CAppObject.h"
#include "app/resources/CVersionInfo.h"

#include <utility>

// The program's application object as the About box reads it: the version information of
// the build, and the command that makes the journal start with the desktop.
class CVersionAppObject : public qlAboutBox::CAppObject {
public:
    explicit CVersionAppObject(CVersionInfo oVersion = CVersionInfo::Program())
        : m_oVersion(std::move(oVersion)) {}

    std::string ProductName() const override { return m_oVersion.ProductName(); }
    std::int16_t Major() const override { return m_oVersion.Major(); }
    std::int16_t Minor() const override { return m_oVersion.Minor(); }
    std::int16_t Revision() const override { return m_oVersion.Revision(); }
    std::string CompanyName() const override { return m_oVersion.CompanyName(); }
    std::string LegalCopyright() const override { return m_oVersion.LegalCopyright(); }
    std::string AutostartCommand() const override { return "dayfold --autostart on"; }

private:
    CVersionInfo m_oVersion;
};

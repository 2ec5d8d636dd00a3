#pragma once

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

// Sets or clears environment variables for the life of a test and puts the old values back.
class CScopedEnvironment {
public:
    CScopedEnvironment() = default;
    CScopedEnvironment(const CScopedEnvironment&) = delete;
    CScopedEnvironment& operator=(const CScopedEnvironment&) = delete;
    ~CScopedEnvironment() {
        for (const auto& [sName, osValue] : m_colSaved) {
            if (osValue) {
                ::setenv(sName.c_str(), osValue->c_str(), 1);
            } else {
                ::unsetenv(sName.c_str());
            }
        }
    }

    void Set(const std::string& sName, const std::string& sValue) {
        Save(sName);
        ::setenv(sName.c_str(), sValue.c_str(), 1);
    }
    void Unset(const std::string& sName) {
        Save(sName);
        ::unsetenv(sName.c_str());
    }

private:
    void Save(const std::string& sName) {
        if (m_colSaved.count(sName) == 0) {
            const char* szValue = std::getenv(sName.c_str());
            m_colSaved[sName] =
                szValue == nullptr ? std::nullopt : std::optional<std::string>(szValue);
        }
    }

    std::map<std::string, std::optional<std::string>> m_colSaved;
};

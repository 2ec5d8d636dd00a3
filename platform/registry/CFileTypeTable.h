#pragma once

#include "platform/registry/CFileTypeProvider.h"

#include <string>
#include <unordered_map>

// File types held in memory, filled by the caller: the file-type registry of tests, with
// entries such as ".txt" -> "txtfile", "txtfile" -> "Text Document",
// "txtfile\shell\open\command" -> "C:\WINDOWS\NOTEPAD.EXE %1". Keys compare without regard to
// letter case.
class CFileTypeTable : public CFileTypeProvider {
public:
    void SetDefaultValue(const std::string& sKey, const std::string& sValue);
    void RemoveKey(const std::string& sKey);
    std::optional<std::string> DefaultValue(const std::string& sKey) override;

private:
    std::unordered_map<std::string, std::string> m_colValues; // folded key -> value
};

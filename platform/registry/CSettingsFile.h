#pragma once

#include "platform/registry/CSettingsTree.h"

#include <string>

// The text of the settings file: the registry-export format a person can read and edit.
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software]
//
//   [HKEY_CURRENT_USER\Software\Quillon\Dayfold\Options]
//   "Favorites Threshold"="3"
//
// One section per key in creation order (the root only when it holds values), one
// "name"="text" line per value in the order added, @= for a key's default value. Inside
// quotes \\ stands for a backslash, \" for a quote, \n for a line feed and \r for a carriage
// return (and \0 for a zero byte), so that any text comes back unchanged. UTF-8, line feeds.
class CSettingsFile {
public:
    static constexpr const char* Header = "Windows Registry Editor Version 5.00";
    static constexpr const char* RootName = "HKEY_CURRENT_USER";

    static std::string Format(const CSettingsTree& oTree);

    // Reads the text back. Also accepts a UTF-8 byte-order mark, UTF-16LE text with its mark,
    // CR LF line ends, blank lines, ';' comment lines, the header REGEDIT4, @= and dword:
    // values (kept as their decimal text). Empty text is an empty tree. Throws CRunTimeError
    // 13 (Type mismatch) naming the line of anything else.
    static CSettingsTree Parse(const std::string& sText);

    // A name or value between quotes, escaped.
    static std::string Quote(const std::string& sText);
};

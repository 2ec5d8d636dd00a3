#pragma once

#include "platform/registry/CSettingsTree.h"

#include <string>
#include <vector>

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

    // The keys of HKEY_CURRENT_USER whose values a skipped line may have held.
    struct SLostKeys {
        // The keys (paths below the root) under which a value line was skipped.
        std::vector<std::string> vPaths;
        // A key line of HKEY_CURRENT_USER was skipped: the values under it may belong to any
        // key.
        bool bAnyKey = false;
    };

    static std::string Format(const CSettingsTree& oTree);

    // Reads the text back. Also accepts a UTF-8 byte-order mark, UTF-16LE text with its mark,
    // CR LF line ends, blank lines, ';' comment lines, the header REGEDIT4, @= and dword:
    // values (kept as their decimal text). Empty text is an empty tree.
    // A line it cannot read (a value of a kind not kept here such as hex:, a value without
    // quotes, a key outside HKEY_CURRENT_USER or beyond the registry's limits, and the values
    // under such a key) is skipped: "line <n> (<text>): <why>" goes to *pvSkipped and every
    // other line is kept. Throws CRunTimeError 13 (Type mismatch) naming a line when nothing of
    // the text can be read: its first line is not the header, or no line after the header
    // could be read while some could not.
    // *pLostKeys, when given, tells which keys may lack values for it.
    static CSettingsTree Parse(const std::string& sText,
                               std::vector<std::string>* pvSkipped = nullptr,
                               SLostKeys* pLostKeys = nullptr);

    // A name or value between quotes, escaped.
    static std::string Quote(const std::string& sText);
};

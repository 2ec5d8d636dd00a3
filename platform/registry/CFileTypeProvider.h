#pragma once

#include <optional>
#include <string>

// Answers the keys of HKEY_CLASSES_ROOT that the shortcut record reads.
class CFileTypeProvider {
public:
    virtual ~CFileTypeProvider() = default;
    // The default value of HKEY_CLASSES_ROOT\<sKey>, nullopt when that key does not exist.
    // Keys: ".pdf" -> type name; "<type>" -> description; "<type>\DefaultIcon" -> "icon,index";
    // "<type>\shell\open\command" -> command line.
    virtual std::optional<std::string> DefaultValue(const std::string& sKey) = 0;
};

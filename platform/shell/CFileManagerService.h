#pragma once

#include <string>

// A file manager that can show items selected in their folder (the desktop's
// org.freedesktop.FileManager1 service, or a stand-in).
class CFileManagerService {
public:
    virtual ~CFileManagerService() = default;
    // Asks the file manager to show sUri (a file: URI) selected; true when it took the call.
    virtual bool ShowItems(const std::string& sUri) = 0;
};

#pragma once

#include "platform/shell/CFileManagerService.h"

// The org.freedesktop.FileManager1 service of the session bus. Without a session bus, or
// when no program offers the service (running or activatable), ShowItems gives false at once.
class CSessionBusFileManager : public CFileManagerService {
public:
    static constexpr int CallTimeoutMs = 5000;

    bool ShowItems(const std::string& sUri) override;
};

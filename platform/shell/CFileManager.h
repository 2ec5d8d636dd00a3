#pragma once

#include <memory>
#include <string>

class CFileManagerService;
class CFileTypeProvider;

// The user's file manager, as the shell's folder commands use it: ShowItem selects a document
// in its folder, OpenFolder opens a folder. Each gives whether it worked; the caller decides
// what the user hears when it did not.
class CFileManager {
public:
    // pFileTypes answers the open command of folders (the type "inode/directory"); pService
    // shows selected items, null: the session bus's file-manager service.
    explicit CFileManager(CFileTypeProvider* pFileTypes, CFileManagerService* pService = nullptr);
    ~CFileManager();

    // Shows sPath selected in a file-manager window when the service can; else opens its
    // folder.
    bool ShowItem(const std::string& sPath);
    // Opens sFolder with the default application of folders, started in that folder.
    bool OpenFolder(const std::string& sFolder);

private:
    CFileTypeProvider* m_pFileTypes;
    CFileManagerService* m_pService;
    std::unique_ptr<CFileManagerService> m_pOwnService;
};

#include "platform/shell/CFileManager.h"

#include "platform/registry/CFileTypeTable.h"
#include "platform/shell/CFileManagerService.h"
#include "platform/shell/CSessionBusFileManager.h"

#include "CArgumentRecorder.h"
#include "MGuiApplication.h"
#include "support/CTempFolder.h"

#include <gtest/gtest.h>

namespace {

using VS = std::vector<std::string>;

// A file manager service that records what it was asked to show.
class CFakeService : public CFileManagerService {
public:
    explicit CFakeService(bool bTakes) : m_bTakes(bTakes) {}
    bool ShowItems(const std::string& sUri) override {
        m_vShown.push_back(sUri);
        return m_bTakes;
    }
    VS m_vShown;

private:
    bool m_bTakes;
};

// Folders are opened by a recorder that stands in for the default file manager.
class FileManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        MGuiApplication::Ensure();
        m_oTypes.SetDefaultValue("inode/directory\\shell\\open\\command",
                                 "\"" + m_oRecorder.Program() + "\" --open %U");
        m_sDocument = m_oTemp.WriteFile("My Docs/Été report.odt", "text");
        m_sFolder = m_oTemp / "My Docs";
        m_sFolderUri = "file://" + m_oTemp.Path().string() + "/My%20Docs";
    }

    CTempFolder m_oTemp;
    CArgumentRecorder m_oRecorder{m_oTemp, "file-manager"};
    CFileTypeTable m_oTypes;
    std::string m_sDocument;
    std::string m_sFolder;
    std::string m_sFolderUri;
};

TEST_F(FileManagerTest, WithoutASessionBusShowItemOpensTheDocumentsFolder) {
    EXPECT_FALSE(CSessionBusFileManager().ShowItems("file:///tmp"));
    CFileManager oManager(&m_oTypes);
    EXPECT_TRUE(oManager.ShowItem(m_sDocument));
    EXPECT_EQ(m_oRecorder.Wait(), (VS{m_sFolder, "--open", m_sFolderUri}));
    EXPECT_TRUE(oManager.OpenFolder(m_sFolder + "/"));
    EXPECT_EQ(m_oRecorder.Wait(), (VS{m_sFolder, "--open", m_sFolderUri}));
}

TEST_F(FileManagerTest, TheServiceSelectsTheDocumentAndARefusalFallsBackOnTheFolder) {
    CFakeService oTaking(true);
    m_oTypes.SetDefaultValue("inode/directory\\shell\\open\\command", m_oTemp / "no-program %U");
    EXPECT_TRUE(CFileManager(&m_oTypes, &oTaking).ShowItem(m_sDocument))
        << "shown by the service, the folder command was not needed";
    EXPECT_EQ(oTaking.m_vShown,
              (VS{"file://" + m_oTemp.Path().string() + "/My%20Docs/%C3%89t%C3%A9%20report.odt"}));

    m_oTypes.SetDefaultValue("inode/directory\\shell\\open\\command",
                             "\"" + m_oRecorder.Program() + "\" %F");
    CFakeService oRefusing(false);
    EXPECT_TRUE(CFileManager(&m_oTypes, &oRefusing).ShowItem(m_sDocument));
    EXPECT_EQ(oRefusing.m_vShown.size(), 1u);
    EXPECT_EQ(m_oRecorder.Wait(), (VS{m_sFolder, m_sFolder}));

    // A document that is gone is not asked for; its folder still opens.
    EXPECT_TRUE(CFileManager(&m_oTypes, &oRefusing).ShowItem(m_sFolder + "/gone.txt"));
    EXPECT_EQ(oRefusing.m_vShown.size(), 1u);
    EXPECT_EQ(m_oRecorder.Wait(), (VS{m_sFolder, m_sFolder}));
}

TEST_F(FileManagerTest, NothingOpensWithoutAFolderOrAProgramForFolders) {
    CFakeService oRefusing(false);
    CFileManager oManager(&m_oTypes, &oRefusing);
    EXPECT_FALSE(oManager.OpenFolder(m_oTemp / "Gone"));
    EXPECT_FALSE(oManager.OpenFolder(m_sDocument)) << "a file is no folder";
    EXPECT_FALSE(oManager.OpenFolder(""));
    EXPECT_FALSE(oManager.ShowItem(m_oTemp / "Gone/x.txt"));

    m_oTypes.SetDefaultValue("inode/directory\\shell\\open\\command", m_oTemp / "no-program %U");
    EXPECT_FALSE(oManager.OpenFolder(m_sFolder));
    m_oTypes.RemoveKey("inode/directory\\shell\\open\\command");
    EXPECT_FALSE(oManager.OpenFolder(m_sFolder));
    EXPECT_FALSE(CFileManager(nullptr, &oRefusing).OpenFolder(m_sFolder));
}

} // namespace

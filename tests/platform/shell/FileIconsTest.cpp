#include "platform/shell/CFileIcons.h"

#include "MGuiApplication.h"
#include "support/CScopedEnvironment.h"
#include "support/CTempFolder.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <map>

namespace {

class FileIconsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The icon folders of the user are looked for here, never in the real home.
        m_oEnvironment.Set("HOME", m_oTemp / "home");
        m_oEnvironment.Set("XDG_DATA_HOME", m_oTemp / "home/data");
        MGuiApplication::Ensure();
    }

    CTempFolder m_oTemp;
    CScopedEnvironment m_oEnvironment;
};

// Pixels of the square [x0, x0 + n) x [y0, y0 + n) that differ between the two images.
int Differences(const QImage& oA, const QImage& oB, int iX0, int iY0, int iSide) {
    int iCount = 0;
    for (int y = iY0; y < iY0 + iSide; ++y) {
        for (int x = iX0; x < iX0 + iSide; ++x) {
            iCount += oA.pixel(x, y) != oB.pixel(x, y) ? 1 : 0;
        }
    }
    return iCount;
}

TEST_F(FileIconsTest, IconsOfBothSizesCarryTheArrowInTheirLowerLeftCorner) {
    CFileIcons oIcons;
    const CFileIcons::SIcons& oPdf = oIcons.IconsForFile("/docs/Report.pdf");
    const QIcon oPlain = CFileIcons::ThemeIcon("application/pdf");
    ASSERT_FALSE(oPlain.isNull());
    for (const auto& [oPixmap, iSize] : {std::pair{oPdf.oLarge, 32}, std::pair{oPdf.oSmall, 16}}) {
        ASSERT_EQ(oPixmap.size(), QSize(iSize, iSize));
        const QImage oWith = oPixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        QPixmap oBare(iSize, iSize);
        oBare.fill(Qt::transparent);
        {
            QPainter oPainter(&oBare);
            oPlain.paint(&oPainter, QRect(0, 0, iSize, iSize));
        }
        const QImage oWithout = oBare.toImage().convertToFormat(QImage::Format_ARGB32);
        const int iQuarter = iSize / 4;
        EXPECT_GT(Differences(oWith, oWithout, 0, iSize - iQuarter, iQuarter),
                  iQuarter * iQuarter / 2)
            << iSize << " px: the arrow covers the lower left corner";
        EXPECT_EQ(Differences(oWith, oWithout, iSize / 2, 0, iSize / 2), 0)
            << iSize << " px: the rest of the icon is the theme's";
    }
}

TEST_F(FileIconsTest, OneDrawingPerTypeIsSharedByEveryDocumentOfThatType) {
    CFileIcons oIcons;
    const char* aszExtensions[] = {".pdf", ".txt", ".png", ".odt", ".html"};
    std::map<std::string, qint64> colKeys;
    for (int i = 0; i < 500; ++i) {
        const std::string sExtension = aszExtensions[i % 5];
        const CFileIcons::SIcons& oDocument =
            oIcons.IconsForFile("/docs/" + std::to_string(i) + sExtension);
        const auto [it, bNew] = colKeys.emplace(sExtension, oDocument.oLarge.cacheKey());
        EXPECT_EQ(it->second, oDocument.oLarge.cacheKey()) << "one shared drawing per type";
    }
    EXPECT_EQ(oIcons.DrawCount(), 5);
    EXPECT_EQ(oIcons.IconsForType("application/pdf").oSmall.cacheKey(),
              oIcons.IconsForFile("/x/y.PDF").oSmall.cacheKey());
    EXPECT_EQ(oIcons.IconsForFile(m_oTemp.Path().string()).oLarge.cacheKey(),
              oIcons.IconsForType("inode/directory").oLarge.cacheKey());
    EXPECT_EQ(oIcons.DrawCount(), 6) << "a folder has its own icon";
}

TEST_F(FileIconsTest, FilesOfUnknownTypeShareTheGenericDocumentIcon) {
    CFileIcons oIcons;
    const qint64 llGeneric = oIcons.IconsForFile("/docs/a.no-such-extension-1").oLarge.cacheKey();
    EXPECT_EQ(oIcons.IconsForFile("/docs/b.no-such-extension-2").oLarge.cacheKey(), llGeneric);
    EXPECT_EQ(oIcons.IconsForFile("/docs/no extension").oLarge.cacheKey(), llGeneric);
    EXPECT_EQ(oIcons.IconsForType("application/x-no-such-type").oLarge.cacheKey(), llGeneric);
    EXPECT_EQ(oIcons.IconsForType("").oLarge.cacheKey(), llGeneric);
    EXPECT_EQ(oIcons.DrawCount(), 1);
    EXPECT_FALSE(oIcons.IconsForFile("/docs/a.no-such-extension-1").oSmall.isNull());
    EXPECT_NE(oIcons.IconsForFile("/docs/a.pdf").oLarge.cacheKey(), llGeneric);
}

} // namespace

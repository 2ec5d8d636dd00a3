#include "app/resources/MIcons.h"

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QSet>
#include <QSvgRenderer>

#include <gtest/gtest.h>

namespace {

// Pixels with any cover at all, and whether a corner is left clear (a transparent ground).
struct SCoverage {
    int iCovered = 0;
    bool bClearCorner = false;
};

SCoverage Coverage(const QImage& oImage) {
    SCoverage oCoverage;
    for (int y = 0; y < oImage.height(); ++y) {
        for (int x = 0; x < oImage.width(); ++x) {
            oCoverage.iCovered += qAlpha(oImage.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    const int iRight = oImage.width() - 1;
    const int iBottom = oImage.height() - 1;
    for (const QPoint& oCorner :
         {QPoint(0, 0), QPoint(iRight, 0), QPoint(0, iBottom), QPoint(iRight, iBottom)}) {
        oCoverage.bClearCorner |= qAlpha(oImage.pixel(oCorner)) == 0;
    }
    return oCoverage;
}

TEST(IconResourcesTest, EveryPictureRendersAt16And32Pixels) {
    MIcons::InitResources();
    MIcons::InitResources(); // a second call changes nothing
    QSet<QString> colPaths;
    for (const char* szPath : MIcons::All()) {
        const QString sPath = szPath;
        EXPECT_FALSE(colPaths.contains(sPath)) << szPath;
        colPaths.insert(sPath);
        ASSERT_TRUE(QFile::exists(sPath)) << szPath;
        EXPECT_TRUE(QSvgRenderer(sPath).isValid()) << szPath;
        for (const int iSize : {16, 32}) {
            const QImage oImage = QIcon(sPath).pixmap(iSize, iSize).toImage();
            ASSERT_EQ(oImage.size(), QSize(iSize, iSize)) << szPath << " at " << iSize;
            const SCoverage oCoverage = Coverage(oImage);
            // Drawn over a good part of its square, on a transparent ground.
            EXPECT_GT(oCoverage.iCovered, iSize * iSize / 5) << szPath << " at " << iSize;
            EXPECT_TRUE(oCoverage.bClearCorner) << szPath << " at " << iSize;
        }
    }
    EXPECT_EQ(colPaths.size(), 20);
}

// The tray icons are one family: the same page, with a mark for busy and for suspended.
TEST(IconResourcesTest, TrayIconsDifferFromEachOther) {
    MIcons::InitResources();
    const QImage oIdle = QIcon(MIcons::TrayIdle).pixmap(16, 16).toImage();
    const QImage oBusy = QIcon(MIcons::TrayBusy).pixmap(16, 16).toImage();
    const QImage oSuspended = QIcon(MIcons::TraySuspended).pixmap(16, 16).toImage();
    EXPECT_NE(oIdle, oBusy);
    EXPECT_NE(oIdle, oSuspended);
    EXPECT_NE(oBusy, oSuspended);
    // Their top rows (the page's header and rings) are shared: same shape, same place.
    for (int x = 0; x < 16; ++x) {
        EXPECT_EQ(qAlpha(oIdle.pixel(x, 1)), qAlpha(oBusy.pixel(x, 1))) << x;
        EXPECT_EQ(qAlpha(oIdle.pixel(x, 1)), qAlpha(oSuspended.pixel(x, 1))) << x;
    }
}

// The program icon's renderings for the desktop's icon theme.
TEST(IconResourcesTest, ProgramIconRenderingsExistAtEverySize) {
    for (const int iSize : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString sPath = QString(DAYFOLD_ICON_FOLDER "/dayfold-%1.png").arg(iSize);
        const QImage oImage(sPath);
        ASSERT_FALSE(oImage.isNull()) << sPath.toStdString();
        EXPECT_EQ(oImage.size(), QSize(iSize, iSize)) << sPath.toStdString();
        EXPECT_TRUE(oImage.hasAlphaChannel()) << sPath.toStdString();
        EXPECT_TRUE(Coverage(oImage).bClearCorner) << sPath.toStdString();
    }
}

} // namespace

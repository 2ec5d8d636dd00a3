#include "ControlErrors.h"
#include "platform/controls/CImageList.h"

#include <QPixmap>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

QIcon Filled(int iSize, Qt::GlobalColor eColor) {
    QPixmap oPixmap(iSize, iSize);
    oPixmap.fill(eColor);
    return QIcon(oPixmap);
}

TEST(ImageList, KeysGiveOneBasedIndexesAndAMissIsZeroNotAnError) {
    CImageList oImages(16);
    EXPECT_EQ(oImages.Add(Filled(16, Qt::gray)), 1) << "the generic document comes first";
    EXPECT_EQ(oImages.Add(Filled(16, Qt::red), "K/home/a.txt"), 2);
    EXPECT_EQ(oImages.Add(Filled(16, Qt::blue), "K/home/b.txt"), 3);

    EXPECT_EQ(oImages.Find("K/home/b.txt"), 3);
    EXPECT_EQ(oImages.Find("K/home/B.txt"), 0) << "keys are paths: case matters";
    EXPECT_EQ(oImages.Find("K/home/c.txt"), 0);
    EXPECT_EQ(ErrorOf([&] { oImages.Index("K/home/c.txt"); }), 35601);
    EXPECT_EQ(ErrorOf([&] { oImages.Add(Filled(16, Qt::red), "K/home/a.txt"); }), 35602);
    EXPECT_EQ(oImages.Count(), 3);
    EXPECT_EQ(ErrorOf([&] { oImages.Picture(4); }), 35600);
    EXPECT_EQ(ErrorOf([&] { oImages.Picture(0); }), 35600);
}

TEST(ImageList, RemovingMovesLaterImagesDownAndKeepsTheirKeys) {
    CImageList oImages(32);
    oImages.Add(Filled(32, Qt::gray));
    oImages.Add(Filled(32, Qt::red), "Ka");
    oImages.Add(Filled(32, Qt::green), "Kb");
    oImages.Add(Filled(32, Qt::blue), "Kc");

    oImages.Remove(2);
    EXPECT_EQ(oImages.Find("Ka"), 0);
    EXPECT_EQ(oImages.Find("Kb"), 2);
    EXPECT_EQ(oImages.Find("Kc"), 3);
    EXPECT_EQ(oImages.Key(3), "Kc");
    EXPECT_EQ(oImages.Picture(3).pixmap(32, 32).toImage().pixelColor(5, 5), QColor(Qt::blue));

    // The day list's loader empties a list from the end down to the first image.
    for (std::int32_t l = oImages.Count(); l >= 2; --l) {
        oImages.Remove(l);
    }
    EXPECT_EQ(oImages.Count(), 1);
    EXPECT_EQ(oImages.Add(Filled(32, Qt::red), "Kb"), 2) << "a removed key can come back";
}

TEST(ImageList, EveryImageIsKeptAtTheListSize) {
    CImageList oImages(32);
    oImages.Add(Filled(16, Qt::red));
    QPixmap oWide(64, 32);
    oWide.fill(Qt::blue);
    oImages.Add(QIcon(oWide));

    const QImage oSmall = oImages.Picture(1).pixmap(32, 32).toImage();
    EXPECT_EQ(oSmall.size(), QSize(32, 32)) << "a small picture is scaled up, not left small";
    EXPECT_EQ(oSmall.pixelColor(30, 30), QColor(Qt::red));
    const QImage oFitted = oImages.Picture(2).pixmap(32, 32).toImage();
    EXPECT_EQ(oFitted.size(), QSize(32, 32));
    EXPECT_EQ(oFitted.pixelColor(16, 16), QColor(Qt::blue));
    EXPECT_EQ(oFitted.pixelColor(16, 2).alpha(), 0) << "kept in proportion, centred";
}

TEST(ImageList, ChangesAreAnnouncedSoTheControlsRedraw) {
    CImageList oImages(16);
    QSignalSpy oChanged(&oImages, &CImageList::Changed);
    oImages.Add(Filled(16, Qt::gray));
    oImages.Add(Filled(16, Qt::red), "Ka");
    oImages.Remove(2);
    oImages.Clear();
    EXPECT_EQ(oChanged.count(), 4);
    EXPECT_EQ(oImages.Find("Ka"), 0);
}

} // namespace

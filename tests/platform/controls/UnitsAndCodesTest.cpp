#include "platform/controls/MInputCodes.h"
#include "platform/controls/MTwips.h"

#include <gtest/gtest.h>

namespace {

TEST(Twips, FifteenToThePixelRoundedToTheNearestPixel) {
    EXPECT_EQ(MTwips::ToPixels(1440), 96);
    EXPECT_EQ(MTwips::ToPixels(2000), 133);
    EXPECT_EQ(MTwips::ToPixels(2003), 134);
    EXPECT_EQ(MTwips::ToPixels(-2003), -134) << "positions left of the screen round alike";
    EXPECT_EQ(MTwips::ToPixels(7), 0);
    EXPECT_EQ(MTwips::ToPixels(2147483647), 143165576) << "no overflow near the 32-bit end";
    EXPECT_EQ(MTwips::FromPixels(2560), 38400) << "wide screens pass 16 bits";
}

TEST(InputCodes, QtKeysAndModifiersBecomeClassicCodes) {
    EXPECT_EQ(MInputCodes::KeyCode(Qt::Key_Return), 13);
    EXPECT_EQ(MInputCodes::KeyCode(Qt::Key_Enter), 13) << "the keypad's Enter too";
    EXPECT_EQ(MInputCodes::KeyCode(Qt::Key_F10), 121);
    EXPECT_EQ(MInputCodes::KeyCode(Qt::Key_Delete), 46);
    EXPECT_EQ(MInputCodes::KeyCode(Qt::Key_A), 65);
    EXPECT_EQ(MInputCodes::KeyCode(Qt::Key_Down), 40);
    EXPECT_EQ(MInputCodes::ShiftState(Qt::AltModifier | Qt::ShiftModifier), 5);
    EXPECT_EQ(MInputCodes::ShiftState(Qt::KeypadModifier), 0);
    EXPECT_EQ(MInputCodes::Button(Qt::RightButton), 2);
}

} // namespace

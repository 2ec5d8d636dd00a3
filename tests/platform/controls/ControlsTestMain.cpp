#include <QApplication>

#include <cstdlib>
#include <gtest/gtest.h>

// One QApplication for the whole test program; widgets are real and drawn offscreen unless
// the caller chose another platform.
int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication oApplication(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

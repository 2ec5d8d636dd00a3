// The QApplication of a GUI test executable: created before the first test and ended after
// the last. CTest runs the tests offscreen; so does a test started by hand.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

class CQtApplication : public ::testing::Environment {
public:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int iArgc = 1;
        static char szName[] = "dayfold-test";
        static char* apArgv[] = {szName, nullptr};
        m_pApplication = std::make_unique<QApplication>(iArgc, apArgv);
    }
    void TearDown() override { m_pApplication.reset(); }

private:
    std::unique_ptr<QApplication> m_pApplication;
};

::testing::Environment* const g_pQtApplication =
    ::testing::AddGlobalTestEnvironment(new CQtApplication);

} // namespace

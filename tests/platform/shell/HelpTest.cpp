// The help file, the help window and the program's help pages (offscreen).
#include "app/resources/help/MHelpPages.h"
#include "platform/shell/CHelp.h"
#include "platform/shell/CHelpWindow.h"

#include "support/CTempFolder.h"

#include <QApplication>
#include <QDir>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>

#include <gtest/gtest.h>
#include <memory>

namespace {

// Every topic number the program asks for.
const std::vector<int> ProgramTopics = {0,  2,  4,  6,  11, 14, 15, 16, 17, 18, 19,
                                        20, 21, 22, 23, 24, 25, 26, 27, 33, 40};

class HelpTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QApplication::instance() == nullptr) {
            static int iArgc = 1;
            static char szName[] = "HelpTest";
            static char* aszArgv[] = {szName, nullptr};
            qputenv("QT_QPA_PLATFORM", "offscreen");
            new QApplication(iArgc, aszArgv);
        }
    }

    static QString PageOfUrl(const QUrl& oUrl) { return oUrl.fileName(); }

    // The link targets of a page, as the text browser sees them.
    static QStringList Links(const QString& sHtml) {
        QTextDocument oDocument;
        oDocument.setHtml(sHtml);
        QStringList vLinks;
        for (QTextBlock oBlock = oDocument.begin(); oBlock.isValid(); oBlock = oBlock.next()) {
            for (auto it = oBlock.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat oFormat = it.fragment().charFormat();
                if (oFormat.isAnchor() && !oFormat.anchorHref().isEmpty() &&
                    (vLinks.isEmpty() || vLinks.back() != oFormat.anchorHref())) {
                    vLinks << oFormat.anchorHref();
                }
            }
        }
        return vLinks;
    }

    CHelp m_oHelp{MHelpPages::Folder()};
};

TEST_F(HelpTest, EveryTopicOfTheProgramHasAPageATitleAndAWhatsThisText) {
    const CHelpFile& oFile = m_oHelp.File();
    EXPECT_EQ(oFile.Title(), "Dayfold Help");
    for (int iTopic : ProgramTopics) {
        SCOPED_TRACE(iTopic);
        ASSERT_TRUE(oFile.HasTopic(iTopic));
        EXPECT_FALSE(oFile.PageTitle(oFile.PageOf(iTopic)).isEmpty());
        const QString sWhatsThis = m_oHelp.WhatsThisText(iTopic);
        EXPECT_TRUE(sWhatsThis.startsWith("<p>")) << sWhatsThis.toStdString();
        EXPECT_GT(sWhatsThis.size(), 60);
        EXPECT_FALSE(sWhatsThis.contains("<a", Qt::CaseInsensitive));
    }
    const std::vector<int> vTopics = oFile.Topics();
    EXPECT_EQ(vTopics, ProgramTopics);
    EXPECT_FALSE(oFile.HasTopic(1));
    EXPECT_TRUE(m_oHelp.WhatsThisText(1).isEmpty());
}

TEST_F(HelpTest, EveryLinkResolvesAndEveryPageIsReachableFromTheContents) {
    const CHelpFile& oFile = m_oHelp.File();
    const QStringList vPages = QDir(oFile.Folder()).entryList({"*.html"}, QDir::Files);
    ASSERT_GE(vPages.size(), static_cast<qsizetype>(ProgramTopics.size()));
    for (const QString& sPage : vPages) {
        SCOPED_TRACE(sPage.toStdString());
        const QString sHtml = oFile.PageHtml(sPage);
        EXPECT_TRUE(sHtml.contains("<link rel=\"stylesheet\" href=\"help.css\">"));
        for (const QString& sLink : Links(sHtml)) {
            const QUrl oLink(sLink);
            EXPECT_TRUE(oLink.isRelative()) << sLink.toStdString();
            EXPECT_TRUE(vPages.contains(oLink.path())) << sLink.toStdString();
        }
    }
    EXPECT_TRUE(QFile::exists(oFile.Folder() + "/help.css"));

    QSet<QString> colReached = {"index.html"};
    QStringList vToVisit = {"index.html"};
    while (!vToVisit.isEmpty()) {
        for (const QString& sLink : Links(oFile.PageHtml(vToVisit.takeFirst()))) {
            const QString sPage = QUrl(sLink).path();
            if (!colReached.contains(sPage)) {
                colReached.insert(sPage);
                vToVisit << sPage;
            }
        }
    }
    for (const QString& sPage : vPages) {
        EXPECT_TRUE(colReached.contains(sPage)) << sPage.toStdString() << " is not reachable";
    }
}

TEST_F(HelpTest, TheWindowOpensEachTopicAndFollowsLinksBackAndForward) {
    for (int iTopic : ProgramTopics) {
        EXPECT_TRUE(m_oHelp.Display(iTopic));
        ASSERT_NE(m_oHelp.Window(), nullptr);
        EXPECT_EQ(PageOfUrl(m_oHelp.Window()->CurrentUrl()), m_oHelp.File().PageOf(iTopic));
        EXPECT_TRUE(m_oHelp.Window()->isVisible());
    }
    CHelpWindow* pWindow = m_oHelp.Window();
    auto* txtHelp = pWindow->findChild<QTextBrowser*>("txtHelp");
    auto* cmdBack = pWindow->findChild<QToolButton*>("cmdBack");
    auto* cmdForward = pWindow->findChild<QToolButton*>("cmdForward");
    auto* cmdContents = pWindow->findChild<QToolButton*>("cmdContents");
    ASSERT_TRUE(txtHelp && cmdBack && cmdForward && cmdContents);

    m_oHelp.Display(11);
    EXPECT_EQ(pWindow->windowTitle(), "Dayfold Help - The Options dialog");
    EXPECT_FALSE(txtHelp->toPlainText().isEmpty());
    EXPECT_TRUE(txtHelp->document()->defaultStyleSheet().contains("h1 {"));
    // The first link of the Options page, followed from the keyboard.
    txtHelp->setFocus();
    QTest::keyClick(txtHelp, Qt::Key_Tab);
    QTest::keyClick(txtHelp, Qt::Key_Return);
    EXPECT_EQ(PageOfUrl(pWindow->CurrentUrl()), "favorites-threshold.html");
    EXPECT_EQ(pWindow->windowTitle(), "Dayfold Help - Favorites Threshold");
    ASSERT_TRUE(cmdBack->isEnabled());
    QTest::mouseClick(cmdBack, Qt::LeftButton);
    EXPECT_EQ(PageOfUrl(pWindow->CurrentUrl()), "options.html");
    ASSERT_TRUE(cmdForward->isEnabled());
    QTest::mouseClick(cmdForward, Qt::LeftButton);
    EXPECT_EQ(PageOfUrl(pWindow->CurrentUrl()), "favorites-threshold.html");
    QTest::mouseClick(cmdContents, Qt::LeftButton);
    EXPECT_EQ(PageOfUrl(pWindow->CurrentUrl()), "index.html");
    EXPECT_EQ(pWindow->windowTitle(), "Dayfold Help");
}

TEST_F(HelpTest, AnUnknownTopicShowsTheContents) {
    EXPECT_FALSE(m_oHelp.Display(99));
    ASSERT_NE(m_oHelp.Window(), nullptr);
    EXPECT_EQ(PageOfUrl(m_oHelp.Window()->CurrentUrl()), "index.html");
}

TEST_F(HelpTest, TheWindowBelongsToItsOwnerAndClosesForGoodWithIt) {
    auto pDialog = std::make_unique<QWidget>();
    pDialog->show();
    auto* pEntry = new QWidget(pDialog.get());
    EXPECT_TRUE(m_oHelp.Display(2, pEntry));
    CHelpWindow* pWindow = m_oHelp.Window();
    ASSERT_NE(pWindow, nullptr);
    EXPECT_EQ(pWindow->parentWidget(), pDialog.get()); // the owner's window, not the control
    EXPECT_TRUE(pWindow->isWindow());
    m_oHelp.Display(6, pDialog.get());
    EXPECT_EQ(m_oHelp.Window(), pWindow); // one window, its history kept
    EXPECT_TRUE(pWindow->findChild<QToolButton*>("cmdBack")->isEnabled());

    pDialog.reset();
    EXPECT_EQ(m_oHelp.Window(), nullptr);
    EXPECT_TRUE(m_oHelp.Display(0));
    ASSERT_NE(m_oHelp.Window(), nullptr);
    EXPECT_EQ(m_oHelp.Window()->parentWidget(), nullptr);
}

TEST_F(HelpTest, AHelpFileOnDiskReadsItsMapAndSkipsWhatItCannotUse) {
    CTempFolder oTemp;
    oTemp.WriteFile("help/topics.map", "# comment\n"
                                       "0 contents.html   # the contents\n"
                                       "\n"
                                       "5 first.html\n"
                                       "6 missing.html\n"
                                       "seven seven.html\n"
                                       "8 ../outside.html\n"
                                       "9 too many words\n");
    oTemp.WriteFile("help/contents.html",
                    "<html><head><title>Test Help</title></head><body><h1>Contents</h1>"
                    "<p>The <b>first</b> <a href=\"first.html\">topic</a>.</p></body></html>");
    oTemp.WriteFile("help/first.html", "<html><head><title>First</title></head>"
                                       "<body><h1>First</h1><pre>no paragraph</pre></body></html>");
    oTemp.WriteFile("outside.html", "<p>outside</p>");

    CHelp oHelp(QString::fromStdString(oTemp / "help"));
    EXPECT_EQ(oHelp.File().Title(), "Test Help");
    EXPECT_EQ(oHelp.File().Topics(), (std::vector<int>{0, 5}));
    EXPECT_FALSE(oHelp.File().HasTopic(6));
    EXPECT_FALSE(oHelp.File().HasTopic(8));
    EXPECT_EQ(oHelp.WhatsThisText(0), "<p>The <b>first</b> topic.</p>");
    EXPECT_EQ(oHelp.WhatsThisText(5), "");
    EXPECT_TRUE(oHelp.Display(5));
    EXPECT_TRUE(oHelp.Window()->CurrentUrl().isLocalFile());
    EXPECT_EQ(PageOfUrl(oHelp.Window()->CurrentUrl()), "first.html");
    EXPECT_FALSE(oHelp.Display(6));
    EXPECT_EQ(PageOfUrl(oHelp.Window()->CurrentUrl()), "contents.html");

    CHelp oNone(QString::fromStdString(oTemp / "nothing"));
    EXPECT_TRUE(oNone.File().Topics().empty());
    EXPECT_FALSE(oNone.Display(0));
}

TEST_F(HelpTest, TheProgramsHelpIsSetOnce) {
    EXPECT_EQ(CHelp::Application(), nullptr);
    {
        CHelp oHelp(MHelpPages::Folder());
        CHelp::SetApplication(&oHelp);
        EXPECT_EQ(CHelp::Application(), &oHelp);
    }
    EXPECT_EQ(CHelp::Application(), nullptr); // never left pointing at a help that is gone
}

} // namespace

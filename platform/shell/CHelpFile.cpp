#include "platform/shell/CHelpFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace {
// Pages are small; a file far larger than any page is not read.
constexpr qint64 MaxPageSize = 1024 * 1024;
} // namespace

CHelpFile::CHelpFile(QString sFolder) : m_sFolder(std::move(sFolder)) {
    QFile oMap(PathOf(QStringLiteral("topics.map")));
    if (oMap.size() > MaxPageSize || !oMap.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return;
    }
    const QStringList vLines = QString::fromUtf8(oMap.readAll()).split(QLatin1Char('\n'));
    for (const QString& sLine : vLines) {
        const QString sEntry = sLine.section(QLatin1Char('#'), 0, 0).simplified();
        const QStringList vParts = sEntry.split(QLatin1Char(' '));
        if (vParts.size() != 2) {
            continue;
        }
        bool bNumber = false;
        const int iTopic = vParts[0].toInt(&bNumber);
        // A page is a file of the folder itself, never a path out of it.
        if (bNumber && iTopic >= 0 && !vParts[1].contains(QLatin1Char('/'))) {
            m_colPages[iTopic] = vParts[1];
        }
    }
}

QString CHelpFile::PathOf(const QString& sPage) const {
    return m_sFolder + QLatin1Char('/') + sPage;
}

QString CHelpFile::Title() const {
    return PageTitle(PageOf(0));
}

std::vector<int> CHelpFile::Topics() const {
    std::vector<int> vTopics;
    for (const auto& [iTopic, sPage] : m_colPages) {
        if (QFileInfo(PathOf(sPage)).isFile()) {
            vTopics.push_back(iTopic);
        }
    }
    return vTopics;
}

bool CHelpFile::HasTopic(int iTopic) const {
    return !PageOf(iTopic).isEmpty();
}

QString CHelpFile::PageOf(int iTopic) const {
    const auto it = m_colPages.find(iTopic);
    if (it == m_colPages.end() || !QFileInfo(PathOf(it->second)).isFile()) {
        return QString();
    }
    return it->second;
}

QUrl CHelpFile::UrlOf(const QString& sPage) const {
    const QString sPath = PathOf(sPage);
    if (sPath.startsWith(QLatin1Char(':'))) {
        return QUrl(QStringLiteral("qrc") + sPath);
    }
    return QUrl::fromLocalFile(QFileInfo(sPath).absoluteFilePath());
}

QString CHelpFile::PageHtml(const QString& sPage) const {
    if (sPage.isEmpty()) {
        return QString();
    }
    QFile oPage(PathOf(sPage));
    if (oPage.size() > MaxPageSize || !oPage.open(QIODevice::ReadOnly)) {
        return QString();
    }
    return QString::fromUtf8(oPage.readAll());
}

QString CHelpFile::PageTitle(const QString& sPage) const {
    static const QRegularExpression oTitle(QStringLiteral("<title>(.*?)</title>"),
                                           QRegularExpression::DotMatchesEverythingOption |
                                               QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch oMatch = oTitle.match(PageHtml(sPage));
    return oMatch.hasMatch() ? oMatch.captured(1).simplified() : QString();
}

QString CHelpFile::WhatsThisText(int iTopic) const {
    static const QRegularExpression oParagraph(QStringLiteral("<body[^>]*>.*?(<p[ >].*?</p>)"),
                                               QRegularExpression::DotMatchesEverythingOption |
                                                   QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression oLink(QStringLiteral("</?a(\\s[^>]*)?>"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch oMatch = oParagraph.match(PageHtml(PageOf(iTopic)));
    if (!oMatch.hasMatch()) {
        return QString();
    }
    // A link would lead nowhere in a What's This box.
    return oMatch.captured(1).remove(oLink).simplified();
}

#pragma once

#include <QString>
#include <QUrl>

#include <map>
#include <vector>

// A help file: a folder of HTML pages with a topic map, "topics.map", that gives each topic
// number its page ("11 options.html" per line, "#" starts a comment). Topic 0 is the
// contents. The folder may be a resource folder (":/help") or one on disk.
class CHelpFile {
public:
    explicit CHelpFile(QString sFolder);

    const QString& Folder() const { return m_sFolder; }
    // The title of the contents page ("" when there is none).
    QString Title() const;
    // The topic numbers of the map whose pages exist, in ascending order.
    std::vector<int> Topics() const;
    bool HasTopic(int iTopic) const;
    // The page of a topic ("options.html"); empty for a topic without one.
    QString PageOf(int iTopic) const;
    // Where a page lies, as a URL a text browser loads ("qrc:/help/options.html").
    QUrl UrlOf(const QString& sPage) const;
    // The text between a page's <title> tags.
    QString PageTitle(const QString& sPage) const;
    // The first paragraph of a topic's page, as rich text without its links, for a control's
    // What's This help; empty for a topic without a page.
    QString WhatsThisText(int iTopic) const;
    // The HTML of a page; empty when it cannot be read.
    QString PageHtml(const QString& sPage) const;
    // The style sheet of the pages, "help.css" of the folder; empty when there is none.
    QString StyleSheet() const { return PageHtml(QStringLiteral("help.css")); }

private:
    QString PathOf(const QString& sPage) const;

    QString m_sFolder;
    std::map<int, QString> m_colPages;
};

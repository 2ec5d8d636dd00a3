#include "platform/controls/CStatusBar.h"

#include "platform/controls/MTwips.h"

#include <QLabel>
#include <QResizeEvent>

#include <algorithm>

namespace {

// A one-line label that shortens its text with "..." to the width it is given, rather than
// asking for the whole text's width.
class CElidedLabel : public QLabel {
public:
    explicit CElidedLabel(QWidget* pParent) : QLabel(pParent) {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        setTextFormat(Qt::PlainText);
    }

    QString WholeText() const { return m_sWhole; }
    void SetWholeText(const QString& sText) {
        m_sWhole = sText;
        setToolTip(sText);
        Elide();
    }
    // Wants the whole text, makes do with its first letter and "...".
    QSize sizeHint() const override {
        return {fontMetrics().horizontalAdvance(m_sWhole) + 2 * margin() + 8,
                QLabel::sizeHint().height()};
    }
    QSize minimumSizeHint() const override {
        return {fontMetrics().horizontalAdvance(m_sWhole.left(1) + QStringLiteral("...")) +
                    2 * margin() + 8,
                QLabel::minimumSizeHint().height()};
    }

protected:
    void resizeEvent(QResizeEvent* pEvent) override {
        QLabel::resizeEvent(pEvent);
        Elide();
    }

private:
    void Elide() {
        setText(fontMetrics().elidedText(m_sWhole, Qt::ElideRight,
                                         std::max(contentsRect().width(), 0)));
    }

    QString m_sWhole;
};

} // namespace

CStatusBar::CStatusBar(QWidget* pParent)
    : QStatusBar(pParent), m_pText(new QLabel(this)), m_pNote(new CElidedLabel(this)) {
    m_pText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_pText->setMinimumWidth(1);
    m_pText->setTextFormat(Qt::PlainText);
    addWidget(m_pText, 1);
    // The note takes what the simple text leaves, at most what its whole text needs.
    addPermanentWidget(m_pNote, 0);
    m_pNote->hide();
}

std::string CStatusBar::SimpleText() const {
    return m_pText->text().toStdString();
}

void CStatusBar::SetSimpleText(const std::string& sText) {
    m_pText->setText(QString::fromStdString(sText));
    // The simple text keeps its whole width; a note beside it gives way.
    m_pText->setMinimumWidth(
        m_pNote->isHidden() ? 1 : m_pText->fontMetrics().horizontalAdvance(m_pText->text()) + 4);
    if (m_pText->isVisible()) {
        m_pText->repaint();
    }
}

std::string CStatusBar::NoteText() const {
    return static_cast<const CElidedLabel*>(m_pNote)->WholeText().toStdString();
}

void CStatusBar::SetNoteText(const std::string& sText) {
    static_cast<CElidedLabel*>(m_pNote)->SetWholeText(QString::fromStdString(sText));
    m_pNote->setVisible(!sText.empty());
    SetSimpleText(SimpleText());
}

QString CStatusBar::ShownNoteText() const {
    return m_pNote->isHidden() ? QString() : m_pNote->text();
}

std::int32_t CStatusBar::Height() const {
    return MTwips::FromPixels(height());
}

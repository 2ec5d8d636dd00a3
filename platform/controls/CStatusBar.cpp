#include "platform/controls/CStatusBar.h"

#include "platform/controls/MTwips.h"

#include <QLabel>

CStatusBar::CStatusBar(QWidget* pParent) : QStatusBar(pParent), m_pText(new QLabel(this)) {
    m_pText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_pText->setMinimumWidth(1);
    m_pText->setTextFormat(Qt::PlainText);
    addWidget(m_pText, 1);
}

std::string CStatusBar::SimpleText() const {
    return m_pText->text().toStdString();
}

void CStatusBar::SetSimpleText(const std::string& sText) {
    m_pText->setText(QString::fromStdString(sText));
    if (m_pText->isVisible()) {
        m_pText->repaint();
    }
}

std::int32_t CStatusBar::Height() const {
    return MTwips::FromPixels(height());
}

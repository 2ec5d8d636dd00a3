#include "platform/controls/CToolbarButton.h"

CToolbarButton::CToolbarButton(QWidget* pParent) : QToolButton(pParent) {
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setIconSize(QSize(16, 16));
    connect(this, &QToolButton::clicked, this, [this] { emit Click(m_iIndex); });
}

void CToolbarButton::SetPicture(const QIcon& oPicture) {
    setIcon(oPicture);
}

std::string CToolbarButton::ToolTipText() const {
    return toolTip().toStdString();
}

void CToolbarButton::SetToolTipText(const std::string& sText) {
    setToolTip(QString::fromStdString(sText));
}

std::string CToolbarButton::WhatsThisText() const {
    return whatsThis().toStdString();
}

void CToolbarButton::SetWhatsThisText(const std::string& sText) {
    setWhatsThis(QString::fromStdString(sText));
}

#include "app/views/CResizeWatcher.h"

#include <QEvent>

CResizeWatcher::CResizeWatcher(QObject* pContainer) {
    Watch(pContainer);
}

void CResizeWatcher::Watch(QObject* pContainer) {
    if (m_pContainer != nullptr) {
        m_pContainer->removeEventFilter(this);
    }
    m_pContainer = pContainer;
    if (pContainer != nullptr) {
        pContainer->installEventFilter(this);
        // The watcher dies before a container it outlived would leave it dangling.
        connect(pContainer, &QObject::destroyed, this, [this] { m_pContainer = nullptr; });
    }
}

bool CResizeWatcher::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched == m_pContainer && pEvent->type() == QEvent::Resize && Resized) {
        Resized();
    }
    return QObject::eventFilter(pWatched, pEvent);
}

#pragma once

#include <QObject>

#include <functional>

// Tells its owner when a container widget changes size, and serves as the context of the
// owner's connections to its controls, so they end with it. The views are plain classes with
// callback events; this is their one foot in Qt's object model.
class CResizeWatcher : public QObject {
    Q_OBJECT

public:
    // Watches pContainer (may be null: nothing to watch yet).
    explicit CResizeWatcher(QObject* pContainer);
    void Watch(QObject* pContainer);

    // Event: the container's size changed.
    std::function<void()> Resized;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    QObject* m_pContainer = nullptr;
};

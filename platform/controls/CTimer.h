#pragma once

#include <QObject>

#include <cstdint>

class QTimer;

// A timer that raises Timer every Interval milliseconds while Enabled. An interval of 0
// never fires. It starts disabled with an interval of 0.
class CTimer : public QObject {
    Q_OBJECT

public:
    explicit CTimer(QObject* pParent = nullptr);

    std::int32_t Interval() const { return m_lInterval; }
    // A new interval starts counting afresh. A negative interval raises 380 "Invalid
    // property value".
    void SetInterval(std::int32_t lInterval);
    bool Enabled() const { return m_bEnabled; }
    // Enabling starts counting afresh; disabling stops it.
    void SetEnabled(bool bEnabled);
    // Whether ticks are coming: enabled with an interval above 0.
    bool IsRunning() const;

signals:
    void Timer();

private:
    void Apply();

    QTimer* m_pTimer;
    std::int32_t m_lInterval = 0;
    bool m_bEnabled = false;
};

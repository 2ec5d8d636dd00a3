#pragma once

#include <QObject>

#include <array>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP as a Qt signal on the main thread. The handler only writes the
// signal's number into a pipe (all it may safely do); the pipe's notifier reads it in the event
// loop, where the program can close the way logging off does. While an object lives, these
// signals no longer end the process on their own; its end restores what was there before.
class CTerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit CTerminationSignals(QObject* pParent = nullptr);
    ~CTerminationSignals() override;
    CTerminationSignals(const CTerminationSignals&) = delete;
    CTerminationSignals& operator=(const CTerminationSignals&) = delete;

    // Whether the handlers are in place (a pipe could be made).
    bool Watching() const { return m_pNotifier != nullptr; }

signals:
    void Received(int iSignal);

private:
    void Pipe_Readable();

    QSocketNotifier* m_pNotifier = nullptr;
};

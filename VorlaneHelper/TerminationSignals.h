#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the event loop when the session asks the program to stop (SIGTERM at logout, SIGHUP,
// SIGINT), so that it ends as if told to quit. The handler only writes a byte to a pipe, which
// the event loop reads. Children started later get the default handlers back.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    void received();

    int m_pipe[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
};

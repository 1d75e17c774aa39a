#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a Qt signal, so the event loop can end
// normally and every socket is closed in order.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();

private:
    static void handle(int signal);
    void drain();

    static int pipeFds[2];
    QSocketNotifier *notifier = nullptr;
};

#pragma once
// The signals that ask a program to end (SIGTERM from a logout or a shutdown, SIGHUP when its terminal goes,
// SIGINT from Ctrl+C) brought into the event loop, so the program can keep the user's work and end cleanly
// instead of dying in the middle of it. The handler only writes the signal's number into a pipe (all a signal
// handler may safely do); a notifier on the pipe's other end emits requested() from the event loop.
//
// A second signal while the first one is still being handled ends the program at once, as the signal says,
// after this process's temporary folder has been removed: a program that hangs can still be ended.

#include <QObject>

#include <memory>

class QSocketNotifier;

class EndingSignals : public QObject {
    Q_OBJECT

public:
    // Installs the handlers; a signal the program was started to ignore (nohup, a background job) stays ignored.
    // One instance at a time; destroying it puts the previous handlers back.
    explicit EndingSignals(QObject* parent = nullptr);
    ~EndingSignals() override;

    // The signals handled.
    static const int kSignals[3];

signals:
    void requested(int signal);

private:
    void Receive();

    std::unique_ptr<QSocketNotifier> m_notifier;
};

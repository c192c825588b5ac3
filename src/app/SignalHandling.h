#pragma once

#include <QObject>

#include <csignal>

class QSocketNotifier;

// The signals that ask the program to end (SIGTERM at logout or shutdown, SIGINT
// from a terminal, SIGHUP when the terminal goes) turned into a Qt signal on the
// user-interface thread: the handler only writes the signal's number into a pipe
// whose reading end the event loop watches.
//
// The Firebird client installs handlers of its own for SIGTERM and SIGINT when it
// is loaded, which close every connection and leave the program running without
// its catalogue. Create this object after the catalogue is open: its handlers
// replace those, and the catalogue keeps working until the program ends.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    // Gives the signals their default action again.
    ~TerminationSignals() override;

signals:
    void Received(int signal);

private:
    void ReadPipe();
    QSocketNotifier* notifier_ = nullptr;
};

// Until the program has something to keep (and TerminationSignals takes over), the
// ending signals end it at once: the temporary files of unfinished writes are
// removed, "<program> končí na signál N." goes to stderr, and the process exits
// with exitCode (128 + the signal's number when negative). program must live as
// long as the process. Installed before the catalogue connects, these
// handlers stay in force while the Firebird client waits for a server: the client
// puts its own in front of them but still calls them.
void EndAtOnceOnSignals(const char* program, int exitCode);

// Holds the ending signals back while it lives (a run's outputs being put in place
// together); one that came meanwhile is handled when it ends.
class SignalsHeldBack {
public:
    SignalsHeldBack();
    ~SignalsHeldBack();
    SignalsHeldBack(const SignalsHeldBack&) = delete;
    SignalsHeldBack& operator=(const SignalsHeldBack&) = delete;

private:
    sigset_t previous_;
};

// A write past the file size limit (ulimit -f) raises SIGXFSZ, which ends the
// process; ignored, the write fails and is reported like a full disk.
void IgnoreFileSizeSignal();

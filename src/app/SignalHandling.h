#pragma once

#include <QObject>

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

// A write past the file size limit (ulimit -f) raises SIGXFSZ, which ends the
// process; ignored, the write fails and is reported like a full disk.
void IgnoreFileSizeSignal();

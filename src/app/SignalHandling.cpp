#include "app/SignalHandling.h"

#include "project/AtomicFile.h"
#include "project/EndRequest.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace {

constexpr int EndingSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Both ends of the pipe; the handler may only use async-signal-safe calls.
int pipeEnds[2] = {-1, -1};

void Handler(int signal) {
    const int savedErrno = errno;
    EndRequest::Note(signal);
    const unsigned char number = static_cast<unsigned char>(signal);
    // A full pipe already holds an unread signal: dropping this one loses nothing.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &number, 1);
    errno = savedErrno;
}

int exitCodeAtOnce = 0;
const char* programAtOnce = "Program";

// Appends text at end within line; returns the new end.
char* Append(char* end, const char* last, const char* text) {
    while (*text != '\0' && end < last)
        *end++ = *text++;
    return end;
}

// Only async-signal-safe calls: unlink, write, _exit.
void EndAtOnce(int signal) {
    EndRequest::Note(signal);
    RemoveUnfinishedTemporaries();
    char line[128];
    const char* const last = line + sizeof line;
    char* end = Append(line, last, programAtOnce);
    end = Append(end, last, " končí na signál ");
    char digits[4] = {};
    int n = 0;
    for (int value = signal; n == 0 || value > 0; value /= 10)
        digits[n++] = char('0' + value % 10);
    while (n > 0 && end < last)
        *end++ = digits[--n];
    end = Append(end, last, ".\n");
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line, size_t(end - line));
    ::_exit(exitCodeAtOnce >= 0 ? exitCodeAtOnce : 128 + signal);
}

sigset_t EndingSet() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : EndingSignals)
        sigaddset(&set, signal);
    return set;
}

} // namespace

void EndAtOnceOnSignals(const char* program, int exitCode) {
    programAtOnce = program;
    exitCodeAtOnce = exitCode;
    struct sigaction action {};
    action.sa_handler = EndAtOnce;
    action.sa_mask = EndingSet(); // one handler at a time
    for (const int signal : EndingSignals)
        ::sigaction(signal, &action, nullptr);
}

SignalsHeldBack::SignalsHeldBack() {
    const sigset_t set = EndingSet();
    ::pthread_sigmask(SIG_BLOCK, &set, &previous_);
}

SignalsHeldBack::~SignalsHeldBack() {
    ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::ReadPipe);
    struct sigaction action {};
    action.sa_handler = Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : EndingSignals)
        ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    if (!notifier_)
        return;
    for (const int signal : EndingSignals)
        std::signal(signal, SIG_DFL);
    delete notifier_;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void TerminationSignals::ReadPipe() {
    unsigned char number = 0;
    while (::read(pipeEnds[0], &number, 1) == 1)
        emit Received(number);
}

void IgnoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

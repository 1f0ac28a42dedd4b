#include "Interruption.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int pipeEnds[2] = {-1, -1};
volatile sig_atomic_t signalled = 0;
} // namespace

Interruption &Interruption::instance()
{
    static Interruption interruption;
    return interruption;
}

void Interruption::install()
{
    if (m_notifier || ::socketpair(AF_UNIX, SOCK_STREAM, 0, pipeEnds) != 0)
        return;
    m_notifier = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &Interruption::arrived);
    struct sigaction action = {};
    action.sa_handler = &Interruption::handler;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a prompt waiting on the terminal returns, so that the
    // loop current is released while the person is not at the keyboard.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool Interruption::requested() const
{
    return m_requested || signalled;
}

void Interruption::handler(int signal)
{
    // Asked again while releasing the loop: the release still ends in its
    // time-out, so the device is never left holding a fixed current.
    (void)signal;
    signalled = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[0], &byte, 1);
}

void Interruption::arrived()
{
    char byte = 0;
    [[maybe_unused]] const ssize_t read = ::read(pipeEnds[1], &byte, 1);
    if (m_requested)
        return;
    m_requested = true;
    Q_EMIT interrupted();
}

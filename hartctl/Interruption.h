#pragma once

#include <QObject>

class QSocketNotifier;

// Ctrl+C (SIGINT) and SIGTERM as an event: the program does not die where
// it stands but finishes what must not be left half done (a loop current
// released, a file not half written) and ends with the code of an
// interrupted run. Signals while it does so change nothing: the release
// ends in the link's time-out at the latest.
class Interruption : public QObject
{
    Q_OBJECT

public:
    static Interruption &instance();
    // Installs the handlers; call once, with the application object made.
    void install();
    // True from the signal on, also before the event loop has heard it.
    bool requested() const;

Q_SIGNALS:
    void interrupted();

private:
    Interruption() = default;
    static void handler(int signal);
    void arrived();

    QSocketNotifier *m_notifier = nullptr;
    bool m_requested = false;
};

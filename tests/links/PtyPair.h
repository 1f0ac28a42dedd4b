#pragma once

#include <QProcess>
#include <QString>

// Two pseudo-terminals joined by socat, as a modem cable to a device would
// be: what one end writes, the other reads. Each end has a name (a symbolic
// link in the folder given) that stays while socat runs.
class PtyPair
{
public:
    PtyPair() = default;
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    static bool available();
    // Why a test that needs the pair cannot run: ./dev installs socat, so
    // its absence is a broken set-up, not a reason to pass.
    static const char *missing();
    bool start(const QString &hostEnd, const QString &deviceEnd);
    // Ends socat: both ends disappear, as a USB modem pulled out.
    void remove();
    QString hostEnd() const { return m_hostEnd; }
    QString deviceEnd() const { return m_deviceEnd; }

private:
    QProcess m_process;
    QString m_hostEnd;
    QString m_deviceEnd;
};

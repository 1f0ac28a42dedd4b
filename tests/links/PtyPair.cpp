#include "PtyPair.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

PtyPair::~PtyPair()
{
    remove();
}

const char *PtyPair::missing()
{
    return "socat is not installed; the serial tests need it (Debian package socat, ./dev installs "
           "it)";
}

bool PtyPair::available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty();
}

bool PtyPair::start(const QString &hostEnd, const QString &deviceEnd)
{
    m_hostEnd = hostEnd;
    m_deviceEnd = deviceEnd;
    m_process.setProgram(QStringLiteral("socat"));
    m_process.setArguments({QStringLiteral("pty,raw,echo=0,link=") + hostEnd,
                            QStringLiteral("pty,raw,echo=0,link=") + deviceEnd});
    m_process.start();
    if (!m_process.waitForStarted(5000))
        return false;
    return QTest::qWaitFor(
        [this] { return QFileInfo::exists(m_hostEnd) && QFileInfo::exists(m_deviceEnd); }, 5000);
}

void PtyPair::remove()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

#include "LinkSettingsController.h"

#include "hart/HartProtocol.h"
#include "hart/ProfiledHartLink.h"

#include <QSettings>

namespace {
// String-table ids of the problems.
constexpr qint16 NoSerialPort = 6123;
constexpr qint16 NoHost = 6124;
constexpr qint16 OutOfRange = 6152;
} // namespace

LinkSettingsController::LinkSettingsController(ProfiledHartLink *link,
                                               std::function<void(int)> pollingAddress,
                                               QObject *parent)
    : QObject(parent), m_link(link), m_pollingAddress(std::move(pollingAddress))
{
}

HartLinkProfile LinkSettingsController::profile() const
{
    if (m_pending)
        return *m_pending;
    if (m_beforeTryOut)
        return *m_beforeTryOut;
    return m_link ? m_link->profile() : HartLinkProfile{};
}

qint16 LinkSettingsController::problem(const HartLinkProfile &p)
{
    if (p.kind == HartLinkProfile::Kind::Serial && p.serialPort.trimmed().isEmpty())
        return NoSerialPort;
    if (p.kind == HartLinkProfile::Kind::HartIp && (p.host.trimmed().isEmpty() || p.port == 0))
        return NoHost;
    if (p.preambles < hart::DefaultPreambles || p.preambles > hart::MaxPreambles || p.retries < 0 ||
        p.retries > HartLinkProfile::MaxRetries || p.pollingAddress < 0 || p.pollingAddress > 15)
        return OutOfRange;
    return 0;
}

bool LinkSettingsController::apply(const HartLinkProfile &profile, bool connected)
{
    m_beforeTryOut.reset();
    QSettings settings;
    profile.save(settings);
    if (connected) {
        m_pending = profile;
        Q_EMIT pendingChanged(true);
        return false;
    }
    take(profile);
    return true;
}

void LinkSettingsController::connectionEnded()
{
    if (!m_pending)
        return;
    const HartLinkProfile waiting = *m_pending;
    m_pending.reset();
    take(waiting);
    Q_EMIT pendingChanged(false);
}

void LinkSettingsController::tryOut(const HartLinkProfile &profile)
{
    if (!m_link)
        return;
    if (!m_beforeTryOut)
        m_beforeTryOut = m_link->profile();
    m_link->setProfile(profile);
}

void LinkSettingsController::restore()
{
    if (m_beforeTryOut && m_link)
        m_link->setProfile(*m_beforeTryOut);
    m_beforeTryOut.reset();
}

void LinkSettingsController::take(const HartLinkProfile &profile)
{
    if (m_link)
        m_link->setProfile(profile);
    if (m_pollingAddress)
        m_pollingAddress(profile.pollingAddress);
}

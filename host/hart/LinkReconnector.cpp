#include "hart/LinkReconnector.h"

#include "hart/HartLinkTexts.h"
#include "hart/HartMaster.h"
#include "hart/HartProtocol.h"
#include "hart/ProfiledHartLink.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QTimer>

namespace {

// The wall clock's pause.
class QtTimer final : public LinkReconnector::Timer
{
public:
    QtTimer() { m_timer.setSingleShot(true); }
    void start(int ms, std::function<void()> fire) override
    {
        m_timer.disconnect();
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, std::move(fire));
        m_timer.start(ms);
    }
    void stop() override { m_timer.stop(); }

private:
    QTimer m_timer;
};

// One try is enough for a port that is not the modem: a silent port
// answers nothing however often it is asked.
constexpr int ProbeRetries = 1;

QString sameFile(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

} // namespace

LinkReconnector::LinkReconnector(ProfiledHartLink &link, QObject *parent)
    : QObject(parent), m_link(link), m_timer(std::make_unique<QtTimer>())
{
    m_candidates = [this] { return systemPorts(m_link.profile()); };
}

LinkReconnector::~LinkReconnector()
{
    dropProbe();
}

void LinkReconnector::setTimer(std::unique_ptr<Timer> timer)
{
    m_timer->stop();
    m_timer = std::move(timer);
}

QStringList LinkReconnector::systemPorts(const HartLinkProfile &profile)
{
    QStringList ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports << info.systemLocation();
    // Names the system does not list, such as stable links to a modem or
    // pseudo-terminals.
    return ports + matchingPorts(profile.searchPorts);
}

QStringList LinkReconnector::matchingPorts(const QStringList &patterns)
{
    QStringList ports;
    for (const QString &pattern : patterns) {
        const QFileInfo where(pattern);
        const QDir folder = where.dir();
        for (const QString &name :
             folder.entryList({where.fileName()}, QDir::System | QDir::Files, QDir::Name))
            ports << folder.filePath(name);
    }
    return ports;
}

int LinkReconnector::pauseBefore(int attempt) const
{
    qint64 pause = qMax(1, m_policy.firstPauseMs);
    for (int i = 1; i < attempt && pause < m_policy.maxPauseMs; ++i)
        pause *= 2;
    return int(qMin<qint64>(pause, qMax(m_policy.maxPauseMs, m_policy.firstPauseMs)));
}

void LinkReconnector::start(const HartDeviceIdentity &device, quint8 pollingAddress)
{
    cancel();
    m_device = device;
    m_pollingAddress = pollingAddress;
    m_active = true;
    m_attempt = 0;
    scheduleNext();
}

void LinkReconnector::attemptFailed()
{
    // A link lost and its request lost report the same failure twice.
    if (m_active && m_attempting)
        scheduleNext();
}

void LinkReconnector::cancel()
{
    ++m_generation;
    m_active = false;
    m_attempting = false;
    m_timer->stop();
    dropProbe();
}

void LinkReconnector::scheduleNext()
{
    m_attempting = false;
    ++m_attempt;
    const int pause = pauseBefore(m_attempt);
    const quint64 generation = m_generation;
    m_timer->start(pause, [this, generation] {
        if (m_active && generation == m_generation)
            search();
    });
    Q_EMIT waiting(m_attempt, pause);
}

QStringList LinkReconnector::candidatePorts() const
{
    // The profile's own port first: a modem mostly comes back where it was.
    QStringList ports{m_link.profile().serialPort};
    QStringList seen{sameFile(ports.first())};
    for (const QString &port : m_candidates ? m_candidates() : QStringList()) {
        const QString file = sameFile(port);
        if (!seen.contains(file)) {
            seen << file;
            ports << port;
        }
    }
    return ports;
}

void LinkReconnector::search()
{
    if (m_link.profile().kind != HartLinkProfile::Kind::Serial) {
        // A gateway or server keeps its address: connecting is the search.
        m_attempting = true;
        Q_EMIT deviceFound();
        return;
    }
    m_toProbe = candidatePorts();
    m_tried.clear();
    m_otherDeviceOnOwnPort.clear();
    m_otherDeviceText.clear();
    probeNext();
}

void LinkReconnector::probeNext()
{
    dropProbe();
    if (m_toProbe.isEmpty()) {
        if (!m_otherDeviceOnOwnPort.isEmpty()) {
            // The modem is back where it was with another transmitter on it:
            // connect, and let the check before a write stop what was meant
            // for the one lost.
            found(m_otherDeviceOnOwnPort);
            return;
        }
        const QString reason = m_otherDeviceText.isEmpty()
                                   ? HartLinkTexts::text(HartLinkTexts::NoModemFound)
                                         .arg(m_tried.join(QLatin1String(", ")))
                                   : m_otherDeviceText;
        scheduleNext();
        Q_EMIT notFound(reason);
        return;
    }
    const QString port = m_toProbe.takeFirst();
    m_tried << port;
    HartLinkProfile profile = m_link.profile();
    profile.serialPort = port;
    profile.retries = ProbeRetries;
    QString error;
    m_probe = m_link.createLink(profile, &error);
    if (!m_probe || !m_probe->open()) {
        QMetaObject::invokeMethod(this, &LinkReconnector::probeNext, Qt::QueuedConnection);
        return;
    }
    // Command 0 at the polling address, through a master of the probe's own.
    m_probeMaster = std::make_unique<HartMaster>(m_probe.get());
    const quint64 generation = m_generation;
    m_probeMaster->poll(m_pollingAddress, [this, generation, port](const HartMaster::Outcome &o) {
        std::optional<HartDeviceIdentity> identity;
        if (o.kind == HartMaster::Outcome::Kind::Response &&
            o.responseCode == hart::response::Success)
            identity = HartDeviceIdentity::parse(o.data);
        // Not from inside the probe's own outcome: it is dropped next.
        QMetaObject::invokeMethod(
            this,
            [this, generation, port, identity] {
                if (generation == m_generation)
                    probed(port, identity);
            },
            Qt::QueuedConnection);
    });
}

void LinkReconnector::probed(const QString &port, const std::optional<HartDeviceIdentity> &identity)
{
    if (identity && identity->sameDevice(m_device)) {
        found(port);
        return;
    }
    if (identity) {
        m_otherDeviceText = HartLinkTexts::text(HartLinkTexts::OtherDeviceFound)
                                .arg(port, identity->key(), m_device.key());
        if (port == m_link.profile().serialPort)
            m_otherDeviceOnOwnPort = port;
    }
    probeNext();
}

void LinkReconnector::found(const QString &port)
{
    dropProbe();
    m_toProbe.clear();
    if (port != m_link.profile().serialPort) {
        HartLinkProfile profile = m_link.profile();
        profile.serialPort = port;
        m_link.setProfile(profile);
    }
    m_attempting = true;
    Q_EMIT deviceFound();
}

void LinkReconnector::dropProbe()
{
    // The master first: what the closing probe reports is nobody's.
    m_probeMaster.reset();
    if (!m_probe)
        return;
    m_probe->disconnect(this);
    m_probe->close();
    m_probe.release()->deleteLater();
}

#include "hart/ProfiledHartLink.h"

#include "hart/HartIpLink.h"
#include "hart/HartLinkTexts.h"
#include "hart/SerialHartLink.h"

ProfiledHartLink::ProfiledHartLink(Factory factory, HartLinkProfile profile, QObject *parent)
    : HartLink(parent), m_factory(std::move(factory)), m_profile(std::move(profile))
{
}

ProfiledHartLink::~ProfiledHartLink()
{
    m_liveMaster.reset();
    if (m_live) {
        m_live->disconnect(this);
        m_live->setTrafficSink(nullptr);
    }
    m_capture.close();
}

std::unique_ptr<HartLink> ProfiledHartLink::standardLink(const HartLinkProfile &profile,
                                                         QString *error)
{
    if (profile.kind == HartLinkProfile::Kind::HartIp) {
        HartIpLink::Settings s;
        s.host = profile.host;
        s.port = profile.port;
        s.transport = profile.udp ? HartIpLink::Transport::Udp : HartIpLink::Transport::Tcp;
        return std::make_unique<HartIpLink>(s);
    }
    if (profile.kind == HartLinkProfile::Kind::Serial) {
        SerialHartLink::Settings s;
        s.portName = profile.serialPort;
        s.preambles = profile.preambles;
        s.retries = profile.retries;
        s.rtsKeying = profile.rtsKeying;
        return std::make_unique<SerialHartLink>(s);
    }
    *error = HartLinkTexts::text(HartLinkTexts::UnknownLinkKind).arg(profile.toString());
    return nullptr;
}

void ProfiledHartLink::setProfile(const HartLinkProfile &profile)
{
    if (profile == m_profile)
        return;
    m_profile = profile;
    if (m_live) {
        m_live->close();
        dropLive();
    }
    Q_EMIT profileChanged();
}

bool ProfiledHartLink::open()
{
    if (isOpen())
        return true;
    if (!m_live) {
        QString error;
        m_live = m_factory(m_profile, &error);
        if (!m_live) {
            setErrorString(error);
            return false;
        }
        attach();
    }
    setErrorString({});
    if (!m_live->open()) {
        setErrorString(m_live->errorString());
        return false;
    }
    return true;
}

void ProfiledHartLink::attach()
{
    HartLink *live = m_live.get();
    m_liveMaster = std::make_unique<HartMaster>(live);
    connect(live, &HartLink::openChanged, this, [this, live](bool open) {
        if (!open) {
            setErrorString(live->errorString());
            loseRequests();
        }
        Q_EMIT openChanged(open);
    });
    if (isCapturing())
        live->setTrafficSink(this);
}

void ProfiledHartLink::dropLive()
{
    // The master first: what the live link still reports is nobody's.
    m_liveMaster.reset();
    m_live->setTrafficSink(nullptr);
    m_live->disconnect(this);
    m_live.release()->deleteLater();
    // Whatever was still on its way ends as a line that went dead.
    loseRequests();
}

void ProfiledHartLink::close()
{
    if (m_live)
        m_live->close();
}

void ProfiledHartLink::transmit(const HartFrame &request)
{
    // A request lost with an earlier connection may still end on the live
    // link after a new one went out in its place: its outcome is nobody's.
    const std::optional<RequestId> id = requestIdInFlight();
    m_liveMaster->request(request, [this, id](const HartMaster::Outcome &outcome) {
        if (requestIdInFlight() != id)
            return;
        switch (outcome.kind) {
        case HartMaster::Outcome::Kind::Response:
            finishWithResponse(outcome.response);
            break;
        case HartMaster::Outcome::Kind::Timeout:
            finishWithTimeout();
            break;
        case HartMaster::Outcome::Kind::CommunicationError:
            finishWithCommunicationError(outcome.responseCode);
            break;
        case HartMaster::Outcome::Kind::ConnectionLost:
            if (m_live)
                setErrorString(m_live->errorString());
            finishWithConnectionLost();
            break;
        }
    });
}

bool ProfiledHartLink::startCapture(const QString &path, QString *error)
{
    if (!m_capture.open(path, error))
        return false;
    if (m_live)
        m_live->setTrafficSink(this);
    Q_EMIT captureChanged(true);
    return true;
}

void ProfiledHartLink::stopCapture()
{
    if (!m_capture.isOpen())
        return;
    if (m_live)
        m_live->setTrafficSink(nullptr);
    m_capture.close();
    Q_EMIT captureChanged(false);
}

void ProfiledHartLink::take(const HartTraffic &traffic)
{
    if (m_capture.write(traffic))
        return;
    const QString reason = HartLinkTexts::text(HartLinkTexts::CaptureFailed)
                               .arg(m_capture.fileName(), m_capture.errorString());
    if (m_live)
        m_live->setTrafficSink(nullptr);
    Q_EMIT captureChanged(false);
    Q_EMIT captureFailed(reason);
}

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
    // The live link carries one request of ours at a time: whatever it
    // reports ends the one in flight here.
    HartLink *live = m_live.get();
    connect(live, &HartLink::responseReceived, this,
            [this](quint64, const HartFrame &f) { finishWithResponse(f); });
    connect(live, &HartLink::requestTimedOut, this, [this] { finishWithTimeout(); });
    connect(live, &HartLink::communicationError, this,
            [this](quint64, quint8 bits) { finishWithCommunicationError(bits); });
    connect(live, &HartLink::connectionLost, this, [this, live] {
        setErrorString(live->errorString());
        finishWithConnectionLost();
    });
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
    m_live->send(request);
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

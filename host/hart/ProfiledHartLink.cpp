#include "hart/ProfiledHartLink.h"

#include "hart/HartIpLink.h"
#include "hart/HartIpMessage.h"
#include "hart/HartLinkTexts.h"
#include "hart/HartProtocol.h"
#include "hart/SerialHartLink.h"

ProfiledHartLink::ProfiledHartLink(Factory factory, HartLinkProfile profile, QObject *parent)
    : HartLink(parent), m_factory(std::move(factory)), m_profile(std::move(profile))
{
}

ProfiledHartLink::~ProfiledHartLink()
{
    if (m_live)
        m_live->disconnect(this);
    stopCapture();
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
    connect(live, &HartLink::responseReceived, this, [this, live](quint64 id, const HartFrame &f) {
        const RequestId outer = takeOuter(id, live);
        if (!outer)
            return;
        recordFrame(f, m_sequenceOf.take(outer), false);
        Q_EMIT responseReceived(outer, f);
    });
    connect(live, &HartLink::requestTimedOut, this, [this, live](quint64 id) {
        if (const RequestId outer = takeOuter(id, live)) {
            m_sequenceOf.remove(outer);
            Q_EMIT requestTimedOut(outer);
        }
    });
    connect(live, &HartLink::communicationError, this, [this, live](quint64 id, quint8 bits) {
        if (const RequestId outer = takeOuter(id, live)) {
            m_sequenceOf.remove(outer);
            Q_EMIT communicationError(outer, bits);
        }
    });
    connect(live, &HartLink::connectionLost, this, [this, live](quint64 id) {
        if (const RequestId outer = takeOuter(id, live)) {
            m_sequenceOf.remove(outer);
            setErrorString(live->errorString());
            Q_EMIT connectionLost(outer);
        }
    });
    connect(live, &HartLink::openChanged, this, [this, live](bool open) {
        if (!open)
            setErrorString(live->errorString());
        recordSession(open);
        Q_EMIT openChanged(open);
    });
}

HartLink::RequestId ProfiledHartLink::takeOuter(quint64 innerId, HartLink *from)
{
    if (from != m_live.get())
        return 0;
    return m_outerOf.take(innerId);
}

void ProfiledHartLink::dropLive()
{
    // Whatever was still on its way ends as a line that went dead.
    const QList<RequestId> lost = m_outerOf.values();
    m_outerOf.clear();
    m_sequenceOf.clear();
    m_live->disconnect(this);
    m_live.release()->deleteLater();
    for (RequestId id : lost)
        QMetaObject::invokeMethod(
            this, [this, id] { Q_EMIT connectionLost(id); }, Qt::QueuedConnection);
}

void ProfiledHartLink::close()
{
    if (m_live)
        m_live->close();
}

HartLink::RequestId ProfiledHartLink::send(const HartFrame &request)
{
    const RequestId outer = m_nextId++;
    if (!m_live) {
        QMetaObject::invokeMethod(
            this, [this, outer] { Q_EMIT connectionLost(outer); }, Qt::QueuedConnection);
        return outer;
    }
    const quint16 sequence = m_captureSequence++;
    m_sequenceOf.insert(outer, sequence);
    recordFrame(request, sequence, true);
    m_outerOf.insert(m_live->send(request), outer);
    return outer;
}

bool ProfiledHartLink::startCapture(const QString &path, QString *error)
{
    if (!m_capture.open(path, error))
        return false;
    m_sessionRecorded = false;
    // A record started on an open link begins as a session would.
    if (isOpen())
        recordSession(true);
    Q_EMIT captureChanged(true);
    return true;
}

void ProfiledHartLink::stopCapture()
{
    if (!m_capture.isOpen())
        return;
    if (m_sessionRecorded)
        recordSession(false);
    m_capture.close();
    Q_EMIT captureChanged(false);
}

void ProfiledHartLink::record(const QByteArray &message, bool toDevice)
{
    if (m_capture.isOpen())
        m_capture.write(message, toDevice);
}

void ProfiledHartLink::recordFrame(const HartFrame &frame, quint16 sequence, bool toDevice)
{
    if (!m_capture.isOpen())
        return;
    // On a network the frame travels from its delimiter on.
    const QByteArray wire = frame.encode(hart::MinPreambles);
    if (wire.isEmpty())
        return;
    record(HartIpMessage(toDevice ? HartIpMessage::Type::Request : HartIpMessage::Type::Response,
                         HartIpMessage::Id::TokenPassingPdu, sequence, wire.mid(hart::MinPreambles))
               .encode(),
           toDevice);
}

void ProfiledHartLink::recordSession(bool initiate)
{
    if (!m_capture.isOpen() || m_sessionRecorded == initiate)
        return;
    m_sessionRecorded = initiate;
    const auto id = initiate ? HartIpMessage::Id::SessionInitiate : HartIpMessage::Id::SessionClose;
    const QByteArray body = initiate ? HartIpMessage::sessionBody(60000) : QByteArray();
    const quint16 sequence = m_captureSequence++;
    record(HartIpMessage(HartIpMessage::Type::Request, id, sequence, body).encode(), true);
    record(HartIpMessage(HartIpMessage::Type::Response, id, sequence, body).encode(), false);
}

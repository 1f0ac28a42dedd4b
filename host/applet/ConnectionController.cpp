#include "ConnectionController.h"

#include "DeviceDescription.h"
#include "HostResult.h"
#include "HostTexts.h"
#include "ItemStore.h"
#include "RecordCodec.h"
#include "SequenceEngine.h"
#include "hart/HartLink.h"
#include "hart/HartMaster.h"
#include "hart/LinkReconnector.h"

namespace {
const QString ConnectItem = QStringLiteral("&&private&&Connect");
const QString AddressItem = QStringLiteral("&&private_PM&&Address");
const QString ConditionItem = QStringLiteral("&&private&&LinkCondition");
const QString MessageItem = QStringLiteral("&&private&&LinkMessage");
} // namespace

ConnectionController::ConnectionController(std::shared_ptr<const DeviceDescription> description,
                                           ItemStore &store, HartMaster &master,
                                           SequenceEngine &engine, QObject *parent)
    : QObject(parent), m_description(std::move(description)), m_store(store), m_master(master),
      m_engine(engine)
{
    m_engine.setConnectedProbe([this] { return status() == Connected; });
    m_engine.setWriteCheck(
        [this](std::function<void(const QString &)> done) { checkBeforeWrite(std::move(done)); });
    connect(&m_engine, &SequenceEngine::connectionLost, this, &ConnectionController::linkLost);
    connect(&m_engine, &SequenceEngine::deviceRestarting, this,
            &ConnectionController::deviceRestarting);
    if (HartLink *link = m_master.link()) {
        connect(link, &HartLink::openChanged, this, [this](bool open) {
            if (!open && !m_closing && status() != NotConnected && status() != Disconnecting)
                linkLost();
        });
    }
    // A request without an answer while the link stands: the device is silent.
    connect(
        &m_master, &HartMaster::transactionEnded, this, [this](const HartMaster::Outcome &outcome) {
            using Kind = HartMaster::Outcome::Kind;
            if (outcome.kind == Kind::Timeout && status() == Connected)
                setCondition(LinkCondition::DeviceSilent, HostTexts::text(HostTexts::DeviceSilent));
            else if (outcome.kind == Kind::Response && m_condition == LinkCondition::DeviceSilent)
                setCondition(LinkCondition::Normal, {});
        });
}

ConnectionController::~ConnectionController() = default;

void ConnectionController::setReconnector(LinkReconnector *reconnector)
{
    if (m_reconnector)
        m_reconnector->disconnect(this);
    m_reconnector = reconnector;
    if (!reconnector)
        return;
    connect(reconnector, &LinkReconnector::deviceFound, this,
            &ConnectionController::attemptReconnect);
    connect(reconnector, &LinkReconnector::notFound, this,
            [this](const QString &reason) { m_lastFailure = reason; });
    connect(reconnector, &LinkReconnector::waiting, this, &ConnectionController::showWaiting);
}

int ConnectionController::status() const
{
    const int index = m_store.indexOf(ConnectItem);
    return index < 0 ? NotConnected : int(m_store.value(index, false).number());
}

void ConnectionController::setStatus(int status)
{
    // A connection that begins, or none: what was read belonged to another.
    if (status == Connecting || status == NotConnected)
        m_store.forgetDevice();
    const int index = m_store.indexOf(ConnectItem);
    if (index < 0)
        return;
    ItemValue v = m_store.value(index, false);
    v.setNumber(status);
    m_store.writeShadow(index, v);
}

void ConnectionController::setCondition(LinkCondition condition, const QString &message)
{
    if (condition == m_condition && message == m_message)
        return;
    m_condition = condition;
    m_message = message;
    // The message first: whoever hears the condition reads it.
    if (const int index = m_store.indexOf(MessageItem); index >= 0) {
        ItemValue v = m_store.value(index, false);
        v.setText(message);
        m_store.writeShadow(index, v);
    }
    if (const int index = m_store.indexOf(ConditionItem); index >= 0) {
        ItemValue v = m_store.value(index, false);
        v.setNumber(int(condition));
        m_store.writeShadow(index, v);
    }
    Q_EMIT linkConditionChanged(condition, message);
}

quint8 ConnectionController::pollingAddress() const
{
    const int index = m_store.indexOf(AddressItem);
    return index < 0 ? 0 : quint8(m_store.value(index, false).number());
}

qint32 ConnectionController::connectDevice()
{
    if (status() == Connected || status() == Connecting)
        return HostResult::Ok;
    if (status() == Disconnecting)
        return HostResult::Refused;
    HartLink *link = m_master.link();
    if (!link)
        return HostResult::NotConnected;
    // The user's connect takes whichever device answers: a new session.
    m_sessionDevice.reset();
    m_identityUnchecked = false;
    setCondition(LinkCondition::Normal, {});
    setStatus(Connecting);
    if (!link->isOpen() && !link->open()) {
        setStatus(NotConnected);
        // The link's own reason names the port or server; the general text otherwise.
        const QString why = link->errorString();
        const QString reason = why.isEmpty() ? HostTexts::text(HostTexts::LinkCannotOpen) : why;
        setCondition(LinkCondition::LinkLost, reason);
        Q_EMIT connectFailed(reason);
        return HostResult::NotConnected;
    }
    m_connecting.start();
    identify();
    return HostResult::Ok;
}

void ConnectionController::identify()
{
    QPointer<ConnectionController> self(this);
    m_master.identify(pollingAddress(), [self](const HartMaster::Outcome &outcome) {
        // An answer to an earlier connect, sent before a disconnect, is not ours.
        if (!self || self->status() != Connecting || !self->m_master.isCurrent(outcome))
            return;
        using Kind = HartMaster::Outcome::Kind;
        if (self->m_master.isIdentified())
            self->identified(outcome.data);
        else if (self->m_connecting.elapsed() < self->m_identifyWindowMs &&
                 outcome.kind != Kind::ConnectionLost)
            self->identify();
        else
            self->identifyFailed(outcome.kind == Kind::ConnectionLost);
    });
}

void ConnectionController::identified(const QByteArray &commandZero)
{
    // The identity read at connect fills the items of command 0.
    for (const RecordDefinition &record : m_description->records) {
        if (record.command == 0)
            RecordCodec::decodeResponse(record, commandZero, m_store);
    }
    if (m_reconnecting) {
        // Another device may answer where the lost one was: it is asked
        // again before anything is written to it.
        m_reconnecting = false;
        m_identityUnchecked = true;
        if (m_reconnector)
            m_reconnector->cancel();
    } else {
        m_sessionDevice = m_master.identity();
    }
    setCondition(LinkCondition::Normal, {});
    setStatus(Connected);
}

void ConnectionController::identifyFailed(bool linkGone)
{
    HartLink *link = m_master.link();
    // A link that could not be opened says why; that is not a silent device.
    const bool lost = linkGone && link && !link->errorString().isEmpty();
    const QString reason = lost ? link->errorString() : HostTexts::text(HostTexts::NoDeviceAnswers);
    if (m_reconnecting) {
        reconnectFailed(reason);
        return;
    }
    setStatus(NotConnected);
    setCondition(lost ? LinkCondition::LinkLost : LinkCondition::DeviceSilent, reason);
    Q_EMIT connectFailed(reason);
}

qint32 ConnectionController::disconnectDevice()
{
    // The user's disconnect also ends the bringing back of a lost link.
    if (m_reconnector)
        m_reconnector->cancel();
    m_reconnecting = false;
    if (status() == NotConnected) {
        setCondition(LinkCondition::Normal, {});
        return HostResult::Ok;
    }
    setStatus(Disconnecting);
    m_engine.abortRunning();
    m_master.forget();
    closeLink();
    setCondition(LinkCondition::Normal, {});
    setStatus(NotConnected);
    return HostResult::Ok;
}

void ConnectionController::closeLink()
{
    HartLink *link = m_master.link();
    if (!link || !link->isOpen())
        return;
    m_closing = true;
    link->close();
    m_closing = false;
}

QString ConnectionController::lostReason() const
{
    HartLink *link = m_master.link();
    const QString why = link ? link->errorString() : QString();
    return why.isEmpty() ? HostTexts::text(HostTexts::LinkLost) : why;
}

void ConnectionController::linkLost()
{
    if (m_closing)
        return;
    const QString reason = lostReason();
    const bool wasConnected = status() == Connected;
    m_engine.abortRunning();
    m_master.forget();
    closeLink();
    if (m_reconnecting) {
        // Lost again while an attempt was under way.
        reconnectFailed(reason);
        return;
    }
    if (wasConnected && m_reconnector && m_sessionDevice) {
        m_reconnecting = true;
        m_lastFailure = reason;
        setStatus(Connecting);
        m_reconnector->start(*m_sessionDevice, pollingAddress());
        return;
    }
    if (status() != NotConnected) {
        setCondition(LinkCondition::LinkLost, reason);
        setStatus(NotConnected);
    }
}

void ConnectionController::deviceRestarting()
{
    // Not a lost link: whoever reset the device connects again when it is back.
    m_engine.abortRunning();
    m_master.forget();
    closeLink();
    if (status() != NotConnected)
        setStatus(NotConnected);
}

void ConnectionController::attemptReconnect()
{
    if (!m_reconnecting || status() != Connecting)
        return;
    HartLink *link = m_master.link();
    if (!link->isOpen() && !link->open()) {
        reconnectFailed(lostReason());
        return;
    }
    m_connecting.start();
    identify();
}

void ConnectionController::reconnectFailed(const QString &reason)
{
    m_master.forget();
    closeLink();
    m_lastFailure = reason;
    if (m_reconnector)
        m_reconnector->attemptFailed();
}

void ConnectionController::showWaiting(int attempt, int pauseMs)
{
    if (!m_reconnecting)
        return;
    setCondition(LinkCondition::Reconnecting, HostTexts::text(HostTexts::Reconnecting)
                                                  .arg(m_lastFailure)
                                                  .arg((pauseMs + 999) / 1000)
                                                  .arg(attempt));
}

void ConnectionController::checkBeforeWrite(std::function<void(const QString &)> done)
{
    if (!m_identityUnchecked || !m_sessionDevice) {
        done({});
        return;
    }
    const HartDeviceIdentity expected = *m_sessionDevice;
    QPointer<ConnectionController> self(this);
    m_master.poll(pollingAddress(), [self, expected, done](const HartMaster::Outcome &outcome) {
        std::optional<HartDeviceIdentity> answering;
        if (outcome.kind == HartMaster::Outcome::Kind::Response && outcome.responseCode == 0)
            answering = HartDeviceIdentity::parse(outcome.data);
        if (answering && answering->sameDevice(expected)) {
            if (self)
                self->m_identityUnchecked = false;
            done({});
        } else if (answering) {
            done(HostTexts::text(HostTexts::OtherDeviceAnswers)
                     .arg(answering->key(), expected.key()));
        } else {
            done(HostTexts::text(HostTexts::IdentityNotConfirmed).arg(expected.key()));
        }
    });
}

#include "ConnectionController.h"

#include "DeviceDescription.h"
#include "HostResult.h"
#include "HostTexts.h"
#include "ItemStore.h"
#include "RecordCodec.h"
#include "SequenceEngine.h"
#include "hart/HartLink.h"
#include "hart/HartMaster.h"

namespace {
const QString ConnectItem = QStringLiteral("&&private&&Connect");
const QString AddressItem = QStringLiteral("&&private_PM&&Address");
} // namespace

ConnectionController::ConnectionController(std::shared_ptr<const DeviceDescription> description,
                                           ItemStore &store, HartMaster &master,
                                           SequenceEngine &engine, QObject *parent)
    : QObject(parent), m_description(std::move(description)), m_store(store), m_master(master),
      m_engine(engine)
{
    m_engine.setConnectedProbe([this] { return status() == Connected; });
    connect(&m_engine, &SequenceEngine::connectionLost, this, &ConnectionController::linkLost);
    connect(&m_engine, &SequenceEngine::deviceRestarting, this, &ConnectionController::linkLost);
    if (HartLink *link = m_master.link()) {
        connect(link, &HartLink::openChanged, this, [this](bool open) {
            if (!open && status() != NotConnected && status() != Disconnecting)
                linkLost();
        });
    }
}

int ConnectionController::status() const
{
    const int index = m_store.indexOf(ConnectItem);
    return index < 0 ? NotConnected : int(m_store.value(index, false).number());
}

void ConnectionController::setStatus(int status)
{
    const int index = m_store.indexOf(ConnectItem);
    if (index < 0)
        return;
    ItemValue v = m_store.value(index, false);
    v.setNumber(status);
    m_store.writeShadow(index, v);
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
    setStatus(Connecting);
    if (!link->isOpen() && !link->open()) {
        setStatus(NotConnected);
        // The link's own reason names the port or server; the general text otherwise.
        const QString why = link->errorString();
        Q_EMIT connectFailed(why.isEmpty() ? HostTexts::text(HostTexts::LinkCannotOpen) : why);
        return HostResult::NotConnected;
    }
    m_connecting.start();
    identify();
    return HostResult::Ok;
}

void ConnectionController::identify()
{
    const int addressIndex = m_store.indexOf(AddressItem);
    const quint8 address =
        addressIndex < 0 ? 0 : quint8(m_store.value(addressIndex, false).number());
    QPointer<ConnectionController> self(this);
    m_master.identify(address, [self](const HartMaster::Outcome &outcome) {
        // An answer to an earlier connect, sent before a disconnect, is not ours.
        if (!self || self->status() != Connecting || !self->m_master.isCurrent(outcome))
            return;
        if (self->m_master.isIdentified()) {
            // The identity read at connect fills the items of command 0.
            for (const RecordDefinition &record : self->m_description->records) {
                if (record.command == 0)
                    RecordCodec::decodeResponse(record, outcome.data, self->m_store);
            }
            self->setStatus(Connected);
        } else if (self->m_connecting.elapsed() < self->m_identifyWindowMs &&
                   outcome.kind != HartMaster::Outcome::Kind::ConnectionLost) {
            self->identify();
        } else {
            self->setStatus(NotConnected);
            // A link that could not be opened says why; that is not a silent device.
            HartLink *link = self->m_master.link();
            const bool lost = outcome.kind == HartMaster::Outcome::Kind::ConnectionLost && link &&
                              !link->errorString().isEmpty();
            Q_EMIT self->connectFailed(lost ? link->errorString()
                                            : HostTexts::text(HostTexts::NoDeviceAnswers));
        }
    });
}

qint32 ConnectionController::disconnectDevice()
{
    if (status() == NotConnected)
        return HostResult::Ok;
    setStatus(Disconnecting);
    m_engine.abortRunning();
    m_master.forget();
    if (HartLink *link = m_master.link())
        link->close();
    setStatus(NotConnected);
    return HostResult::Ok;
}

void ConnectionController::linkLost()
{
    m_engine.abortRunning();
    m_master.forget();
    if (HartLink *link = m_master.link(); link && link->isOpen())
        link->close();
    if (status() != NotConnected)
        setStatus(NotConnected);
}

#include "ConfigurationWatch.h"

#include "ConnectionController.h"
#include "HostLog.h"
#include "ItemStore.h"
#include "SequenceEngine.h"
#include "hart/HartProtocol.h"

#include <QPointer>

#include <utility>

ConfigurationWatch::ConfigurationWatch(ItemStore &store, HartMaster &master, SequenceEngine &engine,
                                       ConnectionController &connection, QString readSequence,
                                       QObject *parent)
    : QObject(parent), m_store(store), m_master(master), m_engine(engine), m_connection(connection),
      m_readSequence(std::move(readSequence))
{
    connect(&m_master, &HartMaster::transactionEnded, this, &ConfigurationWatch::answerSeen);
    connect(&m_engine, &SequenceEngine::deviceWritten, this,
            [this] { m_ownChange = m_answerOfWrite = true; });
    connect(&m_engine, &SequenceEngine::sequenceEnded, this, &ConfigurationWatch::act);
}

void ConfigurationWatch::answerSeen(const HartMaster::Outcome &outcome)
{
    if (outcome.kind != HartMaster::Outcome::Kind::Response || !m_master.isCurrent(outcome) ||
        !m_connection.describedDeviceConnected())
        return;
    if (outcome.session != m_session) {
        // A new connection: what it shows is read now, whatever the bit says.
        m_session = outcome.session;
        m_ownChange = true;
        m_clearing = m_rereadDue = m_gaveUp = m_answerOfWrite = false;
    }
    // The answer to command 38 may still carry the bit it clears.
    if (outcome.response.command() == hart::command::ResetConfigurationChanged)
        return;
    m_flagSeen = (outcome.deviceStatus & hart::status::ConfigurationChanged) != 0;
    // No bit after our writes: the next one is someone else's. A device may
    // raise it only after answering the write itself.
    const bool answerOfWrite = std::exchange(m_answerOfWrite, false);
    if (!m_flagSeen && !answerOfWrite)
        m_ownChange = false;
    act();
}

void ConfigurationWatch::act()
{
    if (!m_connection.describedDeviceConnected() || m_engine.isRunning())
        return;
    if (m_flagSeen && !m_clearing && !m_gaveUp) {
        if (!m_ownChange)
            countChange();
        clearFlag();
    }
    // The periodic reads of the displays may be out; the next answer tries again.
    if (m_rereadDue && m_engine.reader().readSequence(m_readSequence))
        m_rereadDue = false;
}

void ConfigurationWatch::countChange()
{
    qCInfo(lcHost) << "the device's configuration was changed by another master; reading it again";
    m_rereadDue = true;
    const int index = m_store.indexOf(QLatin1String(CountItem));
    if (index < 0)
        return;
    ItemValue v = m_store.value(index, true);
    v.setNumber(v.number() + 1);
    m_store.writeShadow(index, v);
}

void ConfigurationWatch::clearFlag()
{
    m_clearing = true;
    m_flagSeen = false;
    m_ownChange = false;
    QPointer<ConfigurationWatch> self(this);
    m_master.transact(
        hart::command::ResetConfigurationChanged, {}, [self](const HartMaster::Outcome &outcome) {
            if (!self || !self->m_master.isCurrent(outcome))
                return;
            self->m_clearing = false;
            if (outcome.kind == HartMaster::Outcome::Kind::Response && outcome.responseCode != 0) {
                // Asked again it would refuse again, at every answer.
                qCWarning(lcHost) << "the device refused to clear its configuration"
                                     " changed bit, response code"
                                  << outcome.responseCode;
                self->m_gaveUp = true;
            }
        });
}

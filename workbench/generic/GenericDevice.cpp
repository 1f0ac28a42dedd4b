#include "GenericDevice.h"

#include "GenericWrite.h"
#include "HostTexts.h"
#include "MessageBoxSeam.h"
#include "hart/HartLink.h"
#include "hart/HartProtocol.h"

#include <memory>

namespace {

using Kind = HartMaster::Outcome::Kind;
namespace U = UniversalLayout;
namespace C = CommonPracticeLayout;
namespace cmd = hart::command;

// Success and the two warnings whose answers carry the data.
bool dataValid(quint8 code)
{
    return code == hart::response::Success || code == hart::response::SetToNearest ||
           code == hart::response::SpanTooSmall;
}

} // namespace

bool GenericDevice::Result::accepted() const
{
    return sent && kind == Kind::Response && dataValid(responseCode);
}

GenericDevice::GenericDevice(HartMaster *master, QObject *parent)
    : QObject(parent), m_master(master)
{
    m_live.setInterval(LiveIntervalMs);
    connect(&m_live, &QTimer::timeout, this, &GenericDevice::readLive);
    if (HartLink *link = master ? master->link() : nullptr) {
        connect(link, &HartLink::openChanged, this, [this](bool open) {
            if (!open)
                linkGone();
        });
        // Whoever identified the device again (the host's connect, its
        // reconnect): this view goes on with it.
        connect(link, &HartLink::responseReceived, this, &GenericDevice::checkResumed);
    }
}

GenericDevice::~GenericDevice()
{
    // The program ends or the window goes with the loop still held: the
    // release goes out on its own, nobody waits for its answer.
    if (m_held && m_state == State::Ready && m_master)
        m_master->transact(cmd::EnterExitFixedCurrent, C::fixedCurrentRequest(0.0),
                           [](const HartMaster::Outcome &) {});
}

QString GenericDevice::tag() const
{
    const QString tag = m_values.tagDescriptorDate ? m_values.tagDescriptorDate->tag : QString();
    return tag.isEmpty() ? m_values.longTag.value_or(QString()) : tag;
}

void GenericDevice::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    Q_EMIT stateChanged();
}

void GenericDevice::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    Q_EMIT busyChanged(busy);
}

// --- Connection -------------------------------------------------------------

void GenericDevice::start()
{
    m_started = true;
    m_live.start();
    if (m_state == State::Ready) {
        m_readWanted = true;
        if (!m_busy)
            actionEnded(std::nullopt);
    } else if (!m_identifying) {
        connectDevice();
    }
}

void GenericDevice::connectDevice()
{
    if (!m_master)
        return;
    if (m_master->isIdentified()) {
        becomeReady();
        return;
    }
    // The host is on its way (connecting, bringing a lost link back): this
    // view goes on when it has found the device.
    if (!m_hostStatus || m_hostStatus() != 0) {
        setState(State::Connecting);
        return;
    }
    HartLink *link = m_master->link();
    m_linkProblem.clear();
    if (!link->isOpen()) {
        if (!link->open()) {
            m_linkProblem = link->errorString();
            setState(State::NotConnected);
            return;
        }
        m_openedLink = true;
    }
    m_identifying = true;
    setState(State::Connecting);
    QPointer<GenericDevice> self(this);
    m_master->identify(m_address, [self](const Outcome &outcome) {
        if (self)
            self->identified(outcome);
    });
}

void GenericDevice::identified(const Outcome &outcome)
{
    m_identifying = false;
    if (m_state != State::Connecting)
        return;
    if (m_master->isCurrent(outcome) && m_master->isIdentified()) {
        becomeReady();
        return;
    }
    closeOwnLink();
    setState(State::NotConnected);
}

void GenericDevice::becomeReady()
{
    const HartDeviceIdentity now = *m_master->identity();
    const std::optional<HartDeviceIdentity> before = m_identity;
    m_identity = now;
    if (before && !before->sameDevice(now)) {
        // The loop held was another device's: not this one's to release.
        m_values = GenericValues();
        m_held.reset();
        m_releaseWhenBack = false;
        setState(State::Ready);
        Q_EMIT valuesChanged();
        Q_EMIT deviceReplaced(*before);
    } else {
        setState(State::Ready);
    }
    m_readWanted = true;
    if (!m_busy)
        actionEnded(std::nullopt);
}

void GenericDevice::linkGone()
{
    if (m_state != State::Ready && m_state != State::Connecting)
        return;
    if (m_held)
        m_releaseWhenBack = true;
    setState(State::Lost);
}

void GenericDevice::checkResumed()
{
    if (m_state == State::Ready || !m_master || !m_master->isIdentified())
        return;
    // The view's own identify is answered in identified().
    if (m_identifying)
        return;
    becomeReady();
}

void GenericDevice::closeOwnLink()
{
    if (!m_openedLink)
        return;
    m_openedLink = false;
    HartLink *link = m_master ? m_master->link() : nullptr;
    // The host took the connection over meanwhile: it is the host's now.
    if (!link || !link->isOpen() || !m_hostStatus || m_hostStatus() != 0)
        return;
    m_master->forget();
    link->close();
    setState(State::NotConnected);
}

void GenericDevice::stop(std::function<void(const std::optional<Result> &)> done)
{
    m_started = false;
    m_live.stop();
    m_stopDone = std::move(done);
    if (!m_busy)
        actionEnded(std::nullopt);
}

// What comes next once no action runs: the stop asked for, the release of a
// loop held when the device was lost, the read of a device found again.
void GenericDevice::actionEnded(const std::optional<Result> &last)
{
    if (m_stopDone) {
        if (last && last->action == Action::ReleaseCurrent) {
            finishStop(last);
        } else if (m_held && m_state == State::Ready) {
            releaseCurrent();
        } else {
            if (m_held)
                m_releaseWhenBack = true;
            finishStop(std::nullopt);
        }
        return;
    }
    if (m_state != State::Ready)
        return;
    if (m_releaseWhenBack && m_held) {
        m_releaseWhenBack = false;
        releaseCurrent();
    } else if (m_readWanted && m_started) {
        readAll();
    }
}

void GenericDevice::finishStop(const std::optional<Result> &result)
{
    const auto done = std::exchange(m_stopDone, {});
    closeOwnLink();
    done(result);
}

// --- Transactions ------------------------------------------------------------

void GenericDevice::send(quint8 command, const QByteArray &data, Handler handler)
{
    QPointer<GenericDevice> self(this);
    const auto delivered = [self, handler = std::move(handler)](const Outcome &outcome) {
        if (!self)
            return;
        self->heard(outcome);
        handler(outcome);
    };
    if (!m_master) {
        // The instance closed under the window: as a line gone dead.
        QMetaObject::invokeMethod(
            this,
            [delivered] {
                delivered(Outcome{Kind::ConnectionLost, 0, 0, {}, 0});
            },
            Qt::QueuedConnection);
        return;
    }
    m_master->transact(command, data, delivered);
}

void GenericDevice::heard(const Outcome &outcome)
{
    if (!m_master || !m_master->isCurrent(outcome))
        return;
    if (outcome.kind == Kind::ConnectionLost) {
        linkGone();
        return;
    }
    if (outcome.kind != Kind::Response || (outcome.responseCode & hart::commerror::Flag))
        return;
    const std::optional<quint8> before = m_values.deviceStatus;
    if (before == outcome.deviceStatus)
        return;
    m_values.deviceStatus = outcome.deviceStatus;
    // New news in command 48: read it with the next live values.
    const quint8 more = hart::status::MoreStatusAvailable;
    if ((outcome.deviceStatus & more) && !(before.value_or(0) & more))
        m_statusWanted = true;
    Q_EMIT valuesChanged();
}

void GenericDevice::readSeveral(const QList<quint8> &commands,
                                std::function<void(const std::optional<Result> &problem)> done)
{
    struct Pending
    {
        int count = 0;
        std::optional<Result> problem;
    };
    auto pending = std::make_shared<Pending>();
    pending->count = int(commands.size());
    for (const quint8 command : commands) {
        send(command, {}, [this, command, pending, done](const Outcome &outcome) {
            const bool answered = outcome.kind == Kind::Response && m_master &&
                                  m_master->isCurrent(outcome) &&
                                  !(outcome.responseCode & hart::commerror::Flag);
            if (answered && outcome.responseCode == hart::response::CommandNotImplemented) {
                m_values.notImplemented.insert(command);
                Q_EMIT valuesChanged();
            } else if (answered && dataValid(outcome.responseCode)) {
                m_values.notImplemented.remove(command);
                if (command == cmd::ReadAdditionalStatus)
                    m_statusWanted = false;
                if (m_values.store(command, outcome.data,
                                   m_identity ? m_identity->universalRevision : 0))
                    Q_EMIT valuesChanged();
            } else if (!pending->problem) {
                pending->problem =
                    Result{Action::Read, command, outcome.kind, outcome.responseCode};
            }
            if (--pending->count == 0 && done)
                done(pending->problem);
        });
    }
    if (commands.isEmpty() && done)
        done(std::nullopt);
}

bool GenericDevice::readAll()
{
    if (m_busy || m_state != State::Ready)
        return false;
    m_readWanted = false;
    QList<quint8> commands{cmd::ReadTagDescriptorDate,     cmd::ReadMessage,
                           cmd::ReadFinalAssemblyNumber,   cmd::ReadSensorInformation,
                           cmd::ReadOutputInformation,     cmd::ReadDynamicVariables,
                           cmd::ReadLoopCurrentAndPercent, cmd::ReadAdditionalStatus};
    if (m_identity->universalRevision >= U::LongTagRevision)
        commands.insert(1, U::ReadLongTag);
    readAction(Action::Read, commands);
    return true;
}

bool GenericDevice::readStatus()
{
    if (m_busy || m_state != State::Ready)
        return false;
    readAction(Action::Read, {cmd::ReadAdditionalStatus});
    return true;
}

void GenericDevice::readAction(Action action, const QList<quint8> &commands)
{
    setBusy(true);
    readSeveral(commands, [this, action](const std::optional<Result> &problem) {
        Result result = problem.value_or(Result{action});
        result.action = action;
        setBusy(false);
        Q_EMIT finished(result);
        actionEnded(result);
    });
}

void GenericDevice::readLive()
{
    if (m_state != State::Ready || m_liveInFlight)
        return;
    m_liveInFlight = true;
    // A device without command 3 still tells its primary variable.
    QList<quint8> commands{m_values.answersNot(cmd::ReadDynamicVariables)
                               ? cmd::ReadPrimaryVariable
                               : cmd::ReadDynamicVariables,
                           cmd::ReadLoopCurrentAndPercent};
    if (m_statusWanted)
        commands.append(cmd::ReadAdditionalStatus);
    readSeveral(commands, [this](const std::optional<Result> &) {
        m_liveInFlight = false;
        m_values.liveTime = QDateTime::currentDateTime();
        Q_EMIT valuesChanged();
    });
}

// --- Writes -------------------------------------------------------------------

bool GenericDevice::write(const GenericWrite &w, Handler accepted)
{
    using Logged = DeviceWriteJournal::Outcome;
    if (m_busy || m_state != State::Ready)
        return false;
    setBusy(true);
    QString problem;
    const Action action = w.action;
    const quint8 command = w.command;
    const qint64 token = m_log.begin(*m_identity, tag(), command, w.logged, &problem);
    // The return of the loop to normal goes out whatever the history can keep.
    if (!problem.isEmpty() && action != Action::ReleaseCurrent && !goOnWithout(problem)) {
        m_log.finish(token, Logged::NotSent, -1);
        Result result{action, command};
        result.sent = false;
        setBusy(false);
        Q_EMIT finished(result);
        actionEnded(result);
        return true;
    }
    send(command, w.request, [this, w, token, accepted](const Outcome &outcome) {
        const Result result{w.action, w.command, outcome.kind, outcome.responseCode};
        const bool answered = outcome.kind == Kind::Response;
        m_log.finish(token,
                     result.accepted() ? Logged::Accepted
                     : answered        ? Logged::Refused
                                       : Logged::Unknown,
                     answered ? outcome.responseCode : -1);
        if (result.accepted() && accepted)
            accepted(outcome);
        // What the device holds now, whatever it answered.
        readSeveral(m_state == State::Ready ? w.readAfter() : QList<quint8>(),
                    [this, result](const std::optional<Result> &) {
                        setBusy(false);
                        Q_EMIT finished(result);
                        actionEnded(result);
                    });
    });
    return true;
}

bool GenericDevice::goOnWithout(const QString &problem)
{
    return MessageBoxSeam::show(nullptr, QMessageBox::Warning,
                                HostTexts::text(HostTexts::WriteStoppedTitle),
                                HostTexts::text(HostTexts::HistoryNotKept).arg(problem),
                                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool GenericDevice::writeTagDescriptorDate(const UniversalLayout::TagDescriptorDate &values)
{
    const std::optional<GenericWrite> w = GenericWrite::tagDescriptorDate(values, m_values);
    return w && write(*w, [this](const Outcome &outcome) {
               if (const auto echo = U::tagDescriptorDate(outcome.data))
                   m_values.tagDescriptorDate = echo;
           });
}

bool GenericDevice::writeMessage(const QString &message)
{
    return write(GenericWrite::message(message, m_values), {});
}

bool GenericDevice::writeLongTag(const QString &tag)
{
    return write(GenericWrite::longTag(tag, m_values), {});
}

bool GenericDevice::writeRange(const CommonPracticeLayout::RangeValues &range)
{
    return write(GenericWrite::range(range, m_values), {});
}

bool GenericDevice::writeDamping(double seconds)
{
    return write(GenericWrite::damping(seconds, m_values), {});
}

bool GenericDevice::writeUnit(quint8 unit)
{
    return write(GenericWrite::unit(unit, m_values), {});
}

bool GenericDevice::setZero()
{
    return write(GenericWrite::zero(), {});
}

bool GenericDevice::fixCurrent(double milliamperes)
{
    if (milliamperes == 0.0)
        return releaseCurrent();
    return write(GenericWrite::fixCurrent(milliamperes, m_held, m_values),
                 [this, milliamperes](const Outcome &outcome) {
                     m_held = C::floatAnswer(outcome.data).value_or(float(milliamperes));
                 });
}

bool GenericDevice::releaseCurrent()
{
    return write(GenericWrite::releaseCurrent(m_held), [this](const Outcome &) {
        m_held.reset();
        m_releaseWhenBack = false;
    });
}

bool GenericDevice::trim(bool gain, double measuredMilliamperes)
{
    return write(GenericWrite::trim(gain, measuredMilliamperes), {});
}

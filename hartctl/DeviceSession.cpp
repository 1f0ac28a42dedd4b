#include "DeviceSession.h"

#include "ConnectionController.h"
#include "DeviceInstance.h"
#include "HistoryService.h"
#include "Interruption.h"
#include "ItemStore.h"
#include "RangeCheck.h"
#include "SequenceEngine.h"
#include "VexAppletItemManager.h"
#include "frame/DeviceFrame.h"
#include "hart/HartCodec.h"
#include "hart/HartMaster.h"
#include "hart/ProfiledHartLink.h"
#include "history/HistoryTexts.h"
#include "simulator/InProcessHartLink.h"
#include "simulator/SimulatedTransmitter.h"

#include <QEventLoop>

#include <QTimer>
#include <algorithm>

DeviceSession::DeviceSession(const CommandLine &line, QObject *parent)
    : QObject(parent), m_line(line)
{
}

DeviceSession::~DeviceSession()
{
    if (m_frame) {
        disconnect();
        m_frame->close();
    }
}

bool DeviceSession::open(QString *error)
{
    // The built-in simulated transmitter lives in this process, as in the program.
    const int bitRate = m_line.linkBitRate;
    m_link = std::make_unique<ProfiledHartLink>(
        [this, bitRate](const HartLinkProfile &p, QString *why) -> std::unique_ptr<HartLink> {
            if (p.kind != HartLinkProfile::Kind::Simulator)
                return ProfiledHartLink::standardLink(p, why);
            if (!m_simulated)
                m_simulated = std::make_unique<SimulatedTransmitter>();
            auto inProcess = std::make_unique<InProcessHartLink>(m_simulated.get());
            inProcess->setBitRate(bitRate);
            inProcess->setRequestPreambles(p.preambles);
            return inProcess;
        },
        m_line.link);
    FrameOptions options;
    options.language = m_line.language;
    options.historyDatabase = m_line.history;
    options.pollingAddress = m_line.link.pollingAddress;
    options.pollingAddressGiven = true;
    options.linkBitRate = bitRate;
    options.watchConfiguration = false;
    if (!m_line.captureFile.isEmpty() && !m_link->startCapture(m_line.captureFile, error))
        return false;
    m_frame = std::make_unique<DeviceFrame>(options, m_link.get());
    return m_frame->open(error);
}

DeviceInstance &DeviceSession::instance() const
{
    return *m_frame->instance();
}

HistoryService &DeviceSession::history() const
{
    return *static_cast<HistoryService *>(
        instance().object(QLatin1String(HistoryService::ProgId)).get());
}

bool DeviceSession::waitUntil(const std::function<bool()> &done, int timeoutMs, bool interruptible)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(2);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&loop, &done, interruptible] {
        if (done() || (interruptible && Interruption::instance().requested()))
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    poll.start();
    loop.exec();
    return done();
}

ExitCode DeviceSession::connect(int address, QString *error)
{
    ConnectionController &connection = instance().connection();
    if (connection.status() != ConnectionController::NotConnected)
        disconnect();
    instance().setItemText(QStringLiteral("&&private_PM&&Address"), QString::number(address));
    QString failure;
    bool failed = false;
    const auto heard = QObject::connect(&connection, &ConnectionController::connectFailed, this,
                                        [&](const QString &reason) {
                                            failure = reason;
                                            failed = true;
                                        });
    connection.connectDevice();
    const bool connected =
        waitUntil([&] { return failed || connection.status() == ConnectionController::Connected; },
                  ConnectionController::DefaultIdentifyWindowMs + 30000);
    QObject::disconnect(heard);
    if (!connected || failed || connection.status() != ConnectionController::Connected) {
        *error = failure.isEmpty() ? tr("no device answers at polling address %1").arg(address)
                                   : failure;
        if (connection.status() != ConnectionController::NotConnected)
            connection.disconnectDevice();
        return ExitCode::LinkFailure;
    }
    m_identity = instance().master().identity().value_or(HartDeviceIdentity());
    return ExitCode::Done;
}

void DeviceSession::disconnect()
{
    ConnectionController &connection = instance().connection();
    if (connection.status() == ConnectionController::NotConnected)
        return;
    connection.disconnectDevice();
    waitUntil([&connection] { return connection.status() == ConnectionController::NotConnected; },
              5000, false);
}

QString DeviceSession::readTag()
{
    std::optional<HartMaster::Outcome> answer;
    instance().master().transact(13, {}, [&answer](const HartMaster::Outcome &o) { answer = o; });
    waitUntil([&answer] { return answer.has_value(); }, 30000);
    constexpr int TagBytes = 6; // eight characters of packed ASCII
    if (!answer || answer->kind != HartMaster::Outcome::Kind::Response ||
        answer->responseCode != 0 || answer->data.size() < TagBytes)
        return {};
    return HartCodec::unpackAscii(answer->data.left(TagBytes)).trimmed();
}

bool DeviceSession::isForeign() const
{
    return instance().connection().isForeignDevice();
}

QString DeviceSession::connectionMessage() const
{
    return instance().connection().linkMessage();
}

bool DeviceSession::readDataset(QString *error)
{
    HistoryService &service = history();
    std::optional<bool> completed;
    const auto heard = QObject::connect(&service, &HistoryService::deviceRead, this,
                                        [&completed](bool ok) { completed = ok; });
    // What the always-started components read on connecting (for the report) goes first.
    SequenceEngine &engine = instance().engine();
    waitUntil([&engine] { return !engine.isRunning(); }, SequenceTimeoutMs);
    const qint32 rc = service.readDevice();
    const bool ended =
        rc == 0 && waitUntil(reporting(QLatin1String(HistoryService::ReadSequence), tr("reading"),
                                       [&] { return completed.has_value(); }),
                             SequenceTimeoutMs);
    QObject::disconnect(heard);
    if (ended && *completed)
        return true;
    if (instance().engine().isRunning())
        instance().engine().abortRunning();
    *error = Interruption::instance().requested() ? tr("interrupted")
             : rc != 0                            ? tr("the device cannot be read now")
                                                  : tr("the device did not answer every read");
    return false;
}

// What a range is checked against before it is written; the device's own
// check stands where they do not come.
void DeviceSession::readSensorLimits()
{
    const ItemStore &store = instance().manager()->store();
    QList<int> indexes;
    for (const QString &item : RangeCheck::sensorItems()) {
        const int index = store.indexOf(item);
        if (index >= 0 && !store.fromDevice(index))
            indexes << index;
    }
    if (indexes.isEmpty())
        return;
    instance().engine().readItems(indexes);
    waitUntil(
        [&] {
            return std::all_of(indexes.begin(), indexes.end(),
                               [&store](int i) { return store.fromDevice(i); });
        },
        10000);
}

QList<DatasetComparison::Row> DeviceSession::compare(const DatasetComparison::Values &target) const
{
    return DatasetComparison::compare(instance().manager()->store(), history().deviceValues(),
                                      target);
}

bool DeviceSession::write(const QHash<QString, QString> &values, const QString &reason,
                          QString *error)
{
    HistoryService &service = history();
    std::optional<bool> completed;
    const auto heard = QObject::connect(&service, &HistoryService::writeFinished, this,
                                        [&completed](bool ok) { completed = ok; });
    const qint32 rc = service.writeValues(values, reason);
    // A write under way is not cut short by Ctrl+C: half a configuration
    // is worse than the moment it takes to finish.
    const bool ended =
        rc == 0 && waitUntil(reporting(QLatin1String(HistoryService::WriteSequence), tr("writing"),
                                       [&] { return completed.has_value(); }),
                             SequenceTimeoutMs, false);
    QObject::disconnect(heard);
    if (ended && *completed)
        return true;
    if (instance().engine().isRunning())
        instance().engine().abortRunning();
    const QString refused = lastResponseText();
    *error = rc != 0 ? tr("the values cannot be written (host code 0x%1)")
                           .arg(quint32(rc), 8, 16, QLatin1Char('0'))
             : !refused.isEmpty() ? refused
                                  : tr("the device did not take every value");
    return false;
}

std::function<bool()> DeviceSession::reporting(const QString &sequence, const QString &what,
                                               std::function<bool()> done) const
{
    if (!m_progress)
        return done;
    const ItemStore &store = instance().manager()->store();
    const int index = store.indexOf(QStringLiteral("&&Sequence_Progress&&") + sequence);
    return [this, &store, index, what, done] {
        if (index >= 0)
            m_progress(int(store.value(index, true).number()), what);
        return done();
    };
}

// The device's own reason, as the change log keeps it for the last write.
QString DeviceSession::lastResponseText() const
{
    ChangeFilter filter;
    filter.device = history().identity().key();
    filter.limit = 20;
    for (const ChangeEntry &entry : history().changeLog().entries(filter)) {
        if (entry.outcome == ChangeEntry::Outcome::Refused)
            return HistoryTexts::itemLabel(entry.item) + QStringLiteral(": ") +
                   HistoryTexts::outcome(entry);
    }
    return {};
}

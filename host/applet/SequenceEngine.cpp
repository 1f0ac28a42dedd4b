#include "SequenceEngine.h"

#include "DeviceDescription.h"
#include "HostResult.h"
#include "HostTexts.h"
#include "ItemStore.h"
#include "MessageBoxSeam.h"
#include "RecordCodec.h"
#include "VexAppletItemManager.h"

#include <QDateTime>

#include <algorithm>
#include <utility>

namespace {
const QString SequenceState = QStringLiteral("&&Sequence_State&&");
const QString SequenceControl = QStringLiteral("&&Sequence_Control&&");
const QString SequenceProgress = QStringLiteral("&&Sequence_Progress&&");
const QString RecordState = QStringLiteral("&&Record_State&&");
const QString RecordResponse = QStringLiteral("&&Record_Response&&");
const QString RecordControl = QStringLiteral("&&Record_Response_Control&&");

constexpr int ActionGo = 1;    // sequence: go on; record: retry
constexpr int ActionAbort = 2; // sequence: abort; record: accept and go on
constexpr int ActionGiveUp = 4;

using RecordCodec::dataValid;
} // namespace

struct SequenceEngine::Run
{
    enum class Waiting
    {
        Nothing,
        Transaction,
        RecordAnswer,
        SequenceAnswer
    };

    const SequenceDefinition *sequence = nullptr;
    QList<SequenceStep> steps;
    RecordCodec::ValueOverrides overrides; // what the writes carry in place of the dataset
    int step = 0;
    Waiting waiting = Waiting::Nothing;
    const RecordDefinition *record = nullptr;
    bool writing = false;
    bool responseOk = false;
    bool abortRequested = false;
    bool restartsDevice = false;
    bool writeChecked = false;
    int state = 0;
    QList<int> read; // items whose shadow value this run read
    quint64 generation = 0;
};

SequenceEngine::SequenceEngine(std::shared_ptr<const DeviceDescription> description,
                               VexAppletItemManager &manager, HartMaster &master, QObject *parent)
    : QObject(parent), m_description(std::move(description)), m_manager(manager),
      m_store(manager.store()), m_master(master), m_recording(m_store),
      m_reader(m_description, manager, master)
{
    m_reader.setMayRead([this] { return !m_run && (!m_connected || m_connected()); });
    connect(&m_reader, &ShadowReader::connectionLost, this, &SequenceEngine::connectionLost);
    m_answerTimer.setSingleShot(true);
    m_answerTimer.setInterval(DefaultAnswerTimeoutMs);
    connect(&m_answerTimer, &QTimer::timeout, this, &SequenceEngine::onAnswerTimeout);
    // Only the answers of the views to a running sequence and its records
    // concern the engine: it listens to the control items alone.
    QPointer<SequenceEngine> self(this);
    const auto observe = [this, self](const QString &prefix, const QString &name) {
        const int index = indexOf(prefix, name);
        if (index < 0)
            return;
        m_manager.addItemObserver(index, [self](int changed, bool shadow, qint32) {
            if (self)
                self->onItemChanged(changed, shadow);
        });
    };
    for (const SequenceDefinition &sequence : m_description->sequences)
        observe(SequenceControl, sequence.name);
    for (const RecordDefinition &record : m_description->records)
        observe(RecordControl, record.name);
}

SequenceEngine::~SequenceEngine() = default;

QString SequenceEngine::runningSequence() const
{
    return m_run ? m_run->sequence->name : QString();
}

int SequenceEngine::indexOf(const QString &prefix, const QString &name) const
{
    return m_store.indexOf(prefix + name);
}

bool SequenceEngine::hasListener(const QString &prefix, const QString &name) const
{
    const int index = indexOf(prefix, name);
    return index >= 0 && m_manager.hasListeners(index);
}

void SequenceEngine::setNumber(const QString &name, double value)
{
    const int index = m_store.indexOf(name);
    if (index < 0)
        return;
    ItemValue v = m_store.value(index, false);
    v.setNumber(value);
    m_store.writeShadow(index, v);
}

qint32 SequenceEngine::start(const QString &name)
{
    const SequenceDefinition *sequence = m_description->findSequence(name);
    if (!sequence)
        return HostResult::UnknownSequence;
    return begin(*sequence, sequence->steps);
}

qint32 SequenceEngine::startWrite(const QString &name, const QString &recordsFrom,
                                  const QHash<int, ItemValue> &values)
{
    const SequenceDefinition *sequence = m_description->findSequence(name);
    const SequenceDefinition *source = m_description->findSequence(recordsFrom);
    if (!sequence || !source)
        return HostResult::UnknownSequence;
    QList<SequenceStep> steps;
    RecordCodec::ValueOverrides overrides;
    for (auto it = values.begin(); it != values.end(); ++it) {
        const SequenceStep *carrier = nullptr;
        for (const SequenceStep &step : source->steps) {
            if (step.kind == SequenceStep::Kind::Write &&
                RecordCodec::requestItems(*m_description->findRecord(step.record), m_store)
                    .contains(it.key())) {
                carrier = &step;
                break;
            }
        }
        if (!carrier)
            return HostResult::Refused;
        // In the source's order, each record once.
        if (!std::any_of(steps.begin(), steps.end(), [carrier](const SequenceStep &s) {
                return s.record == carrier->record;
            })) {
            steps.append(*carrier);
        }
        overrides.insert(it.key(), it.value());
    }
    std::sort(steps.begin(), steps.end(), [source](const SequenceStep &a, const SequenceStep &b) {
        const auto position = [source](const SequenceStep &s) {
            for (qsizetype i = 0; i < source->steps.size(); ++i) {
                if (source->steps[i].record == s.record)
                    return i;
            }
            return qsizetype(-1);
        };
        return position(a) < position(b);
    });
    // The fields not chosen keep what the device holds.
    for (const SequenceStep &step : steps) {
        for (int index :
             RecordCodec::requestItems(*m_description->findRecord(step.record), m_store)) {
            if (!overrides.contains(index))
                overrides.insert(index, m_store.value(index, true));
        }
    }
    if (steps.isEmpty())
        return HostResult::Refused;
    const qint32 rc = begin(*sequence, steps);
    if (rc == HostResult::Ok && m_run)
        m_run->overrides = std::move(overrides);
    return rc;
}

qint32 SequenceEngine::begin(const SequenceDefinition &definition, QList<SequenceStep> steps)
{
    const SequenceDefinition *sequence = &definition;
    if (m_run)
        return HostResult::SequenceBusy;
    if (m_connected && !m_connected())
        return HostResult::NotConnected;
    m_run = std::make_unique<Run>();
    m_run->sequence = sequence;
    m_recording.start(sequence->name);
    m_run->steps = std::move(steps);
    static quint64 generation = 0;
    m_run->generation = ++generation;
    // The first report comes at once, so the program sees the sequence running
    // as soon as the start returns.
    const QList<SequenceStep> &runSteps = m_run->steps;
    const auto firstTransfer =
        std::find_if(runSteps.begin(), runSteps.end(), [](const SequenceStep &s) {
            return s.kind == SequenceStep::Kind::Read || s.kind == SequenceStep::Kind::Write;
        });
    m_run->state = runningState(firstTransfer != runSteps.end() &&
                                firstTransfer->kind == SequenceStep::Kind::Write);
    setNumber(SequenceProgress + sequence->name, 0);
    setNumber(SequenceState + sequence->name, m_run->state);
    // Whoever hears the first state may already have ended the run.
    if (m_run)
        postToRun([this] { advance(); });
    return HostResult::Ok;
}

qint32 SequenceEngine::adjust(const QString &name)
{
    const SequenceDefinition *sequence = m_description->findSequence(name);
    if (!sequence)
        return HostResult::UnknownSequence;
    if (m_run)
        return HostResult::SequenceBusy;
    if (m_lastName.compare(sequence->name, Qt::CaseInsensitive) == 0)
        takeOver(m_lastRead);
    setNumber(SequenceState + sequence->name, 0);
    return HostResult::Ok;
}

void SequenceEngine::takeOver(const QList<int> &items)
{
    bool any = false;
    for (int index : items) {
        if (m_store.definition(index).dataset) {
            m_store.takeOverDataset(index, m_store.value(index, true), false);
            any = true;
        }
    }
    // The dataset now comes from the device.
    if (any)
        setNumber(QStringLiteral("&&private&&CurrentSource"), 2);
}

int SequenceEngine::runningState(bool writing) const
{
    if (m_run && !m_run->sequence->busy)
        return StateSilent;
    return writing ? StateWriting : StateReading;
}

void SequenceEngine::reportProgress()
{
    const int steps = int(m_run->steps.size());
    setNumber(SequenceProgress + m_run->sequence->name,
              steps == 0 ? 100 : qMin(100, 100 * m_run->step / steps));
}

void SequenceEngine::postToRun(std::function<void()> work)
{
    // Delivered only to the run it was meant for: by the time it comes, a
    // disconnect, a lost link or an abort may have ended that run, and
    // another may have started.
    const quint64 generation = m_run->generation;
    QPointer<SequenceEngine> self(this);
    QMetaObject::invokeMethod(
        this,
        [self, generation, work = std::move(work)] {
            if (self && self->m_run && self->m_run->generation == generation)
                work();
        },
        Qt::QueuedConnection);
}

void SequenceEngine::advance()
{
    while (m_run && m_run->waiting == Run::Waiting::Nothing) {
        if (m_run->abortRequested) {
            finish(false);
            return;
        }
        const QList<SequenceStep> &steps = m_run->steps;
        if (m_run->step >= steps.size()) {
            finish(true);
            return;
        }
        reportProgress();
        if (!m_run)
            return;
        const SequenceStep &step = steps[m_run->step];
        switch (step.kind) {
        case SequenceStep::Kind::Read:
        case SequenceStep::Kind::Write:
            runRecord(*m_description->findRecord(step.record),
                      step.kind == SequenceStep::Kind::Write);
            return;
        case SequenceStep::Kind::Wait:
            m_run->state = step.waitState;
            if (hasListener(SequenceControl, m_run->sequence->name)) {
                m_run->waiting = Run::Waiting::SequenceAnswer;
                m_answerTimer.start();
            } else {
                ++m_run->step;
            }
            setNumber(SequenceState + m_run->sequence->name, step.waitState);
            break;
        case SequenceStep::Kind::Adjust:
            takeOver(m_run->read);
            if (m_run)
                ++m_run->step;
            break;
        case SequenceStep::Kind::Disconnect:
            m_run->restartsDevice = true;
            ++m_run->step;
            break;
        }
    }
}

void SequenceEngine::runRecord(const RecordDefinition &record, bool writing)
{
    m_run->record = &record;
    m_run->writing = writing;
    const int state = runningState(writing);
    if (state != m_run->state) {
        m_run->state = state;
        setNumber(SequenceState + m_run->sequence->name, state);
        // Whoever hears the state may end the run (disconnect, lost link).
        if (!m_run)
            return;
    }
    QString error;
    const auto request = RecordCodec::encodeRequest(
        record, m_store, &error, m_run->overrides.isEmpty() ? nullptr : &m_run->overrides);
    m_run->waiting = Run::Waiting::Transaction;
    if (!request) {
        // A value the request cannot carry: the record fails as if the line
        // had garbled it, so the program asks the user what to do.
        HartMaster::Outcome outcome;
        outcome.kind = HartMaster::Outcome::Kind::CommunicationError;
        outcome.responseCode = 0x81;
        postToRun([this, outcome] {
            if (m_run->waiting == Run::Waiting::Transaction)
                onOutcome(outcome);
        });
        return;
    }
    if (writing && m_writeCheck && !m_run->writeChecked) {
        checkWrite(record);
        return;
    }
    if (writing && !m_recording.announce(record, m_run->overrides)) {
        finish(false);
        return;
    }
    if (!m_run)
        return;
    const quint64 generation = m_run->generation;
    QPointer<SequenceEngine> self(this);
    m_master.transact(quint8(record.command), *request,
                      [self, generation](const HartMaster::Outcome &outcome) {
                          if (self && self->m_run && self->m_run->generation == generation &&
                              self->m_run->waiting == Run::Waiting::Transaction)
                              self->onOutcome(outcome);
                      });
}

void SequenceEngine::checkWrite(const RecordDefinition &record)
{
    const quint64 generation = m_run->generation;
    QPointer<SequenceEngine> self(this);
    m_writeCheck([self, generation, &record](const QString &refusal) {
        // The answer may come at once: the run goes on from the event loop.
        if (self && self->m_run && self->m_run->generation == generation)
            self->postToRun([self, &record, refusal] { self->writeChecked(record, refusal); });
    });
}

void SequenceEngine::writeChecked(const RecordDefinition &record, const QString &refusal)
{
    if (m_run->waiting != Run::Waiting::Transaction)
        return;
    if (!refusal.isEmpty()) {
        finish(false);
        MessageBoxSeam::show(nullptr, QMessageBox::Warning,
                             HostTexts::text(HostTexts::WriteStoppedTitle), refusal);
        return;
    }
    m_run->writeChecked = true;
    runRecord(record, true);
}

void SequenceEngine::endWrite(const HartMaster::Outcome &outcome)
{
    if (outcome.kind != HartMaster::Outcome::Kind::Response)
        m_recording.end(DeviceWriteJournal::Outcome::Unknown, -1);
    else
        m_recording.end(dataValid(outcome.responseCode) ? DeviceWriteJournal::Outcome::Accepted
                                                        : DeviceWriteJournal::Outcome::Refused,
                        outcome.responseCode);
    // A write the device refused changed nothing; one without an answer may have.
    if (outcome.kind != HartMaster::Outcome::Kind::Response || dataValid(outcome.responseCode))
        Q_EMIT deviceWritten();
}

void SequenceEngine::onOutcome(const HartMaster::Outcome &outcome)
{
    using Kind = HartMaster::Outcome::Kind;
    if (m_run->writing)
        endWrite(outcome);
    if (outcome.kind == Kind::ConnectionLost) {
        finish(false);
        Q_EMIT connectionLost();
        return;
    }
    const RecordDefinition &record = *m_run->record;
    QByteArray response(1, char(record.command));
    int state = m_run->writing ? 32 : 16;
    m_run->responseOk = false;
    if (outcome.kind == Kind::Response) {
        response.append(char(outcome.responseCode));
        response.append(char(outcome.deviceStatus));
        response.append(outcome.data);
        if (dataValid(outcome.responseCode)) {
            m_run->responseOk = true;
            const QList<int> read = RecordCodec::decodeResponse(record, outcome.data, m_store);
            // Whoever hears the values may end the run.
            if (!m_run)
                return;
            for (int index : read) {
                if (!m_run->read.contains(index))
                    m_run->read.append(index);
            }
        }
    } else if (outcome.kind == Kind::CommunicationError) {
        response.append(char(outcome.responseCode | 0x80));
        response.append(char(0));
        state += 2;
    } else {
        state += 1; // no answer
    }
    const int responseIndex = indexOf(RecordResponse, record.name);
    if (responseIndex >= 0) {
        ItemValue v;
        v.setBytes(response);
        m_store.writeShadow(responseIndex, v);
    }
    if (!m_run)
        return;
    if (m_run->abortRequested) {
        finish(false);
        return;
    }
    if (hasListener(RecordControl, record.name)) {
        m_run->waiting = Run::Waiting::RecordAnswer;
        m_answerTimer.start();
        setNumber(RecordState + record.name, state);
    } else {
        m_run->waiting = Run::Waiting::Nothing;
        onRecordAnswer(m_run->responseOk ? ActionAbort : ActionGiveUp);
    }
}

void SequenceEngine::onRecordAnswer(int action)
{
    m_answerTimer.stop();
    const RecordDefinition &record = *m_run->record;
    m_run->waiting = Run::Waiting::Nothing;
    setNumber(RecordState + record.name, 0);
    if (!m_run)
        return; // a listener of the record state ended the run
    if (action == ActionGo) {
        runRecord(record, m_run->writing);
        return;
    }
    if (action == ActionGiveUp || !m_run->responseOk) {
        finish(false);
        return;
    }
    if (m_run->writing) {
        // A value written in place of the dataset's leaves the dataset as it was.
        for (int index : RecordCodec::requestItems(record, m_store)) {
            const auto given = m_run->overrides.constFind(index);
            if (given == m_run->overrides.constEnd() || *given == m_store.value(index, false))
                m_store.clearModified(index);
        }
    }
    if (!m_run)
        return; // a listener of the modified mark ended the run
    ++m_run->step;
    postToRun([this] { advance(); });
}

void SequenceEngine::onSequenceAnswer(int action)
{
    m_answerTimer.stop();
    m_run->waiting = Run::Waiting::Nothing;
    if (action != ActionGo) {
        finish(false);
        return;
    }
    ++m_run->step;
    m_run->state = 0;
    postToRun([this] { advance(); });
}

void SequenceEngine::onItemChanged(int index, bool shadow)
{
    if (shadow || !m_run)
        return;
    const int action = int(m_store.value(index, false).number());
    if (action == 0)
        return;
    if (index == indexOf(SequenceControl, m_run->sequence->name)) {
        if (m_run->waiting == Run::Waiting::SequenceAnswer)
            onSequenceAnswer(action);
        else if (action == ActionAbort)
            m_run->abortRequested = true;
        return;
    }
    if (m_run->record && index == indexOf(RecordControl, m_run->record->name)) {
        if (m_run->waiting == Run::Waiting::RecordAnswer)
            onRecordAnswer(action);
        else if (action == ActionGiveUp)
            m_run->abortRequested = true;
    }
}

void SequenceEngine::onAnswerTimeout()
{
    if (!m_run)
        return;
    if (m_run->waiting == Run::Waiting::RecordAnswer)
        onRecordAnswer(ActionGiveUp);
    else if (m_run->waiting == Run::Waiting::SequenceAnswer)
        onSequenceAnswer(ActionAbort);
}

void SequenceEngine::abortRunning()
{
    if (m_run)
        finish(false);
}

void SequenceEngine::finish(bool completed)
{
    if (!m_run)
        return;
    m_answerTimer.stop();
    std::unique_ptr<Run> run = std::move(m_run);
    if (run->record) {
        const int recordState = indexOf(RecordState, run->record->name);
        if (recordState >= 0 && m_store.value(recordState, false).number() != 0)
            setNumber(RecordState + run->record->name, 0);
    }
    m_lastName = run->sequence->name;
    m_lastRead = run->read;
    setNumber(SequenceProgress + run->sequence->name, completed ? 100 : 0);
    setNumber(SequenceState + run->sequence->name, 0);
    Q_EMIT sequenceEnded(run->sequence->name, completed);
    if (run->restartsDevice && completed)
        Q_EMIT deviceRestarting();
}

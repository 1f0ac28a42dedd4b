#include "CompareController.h"

#include "HistoryService.h"
#include "RangeUnits.h"

CompareController::CompareController(QObject *parent) : QObject(parent) {}

void CompareController::setService(HistoryService *service)
{
    if (m_service == service)
        return;
    for (const auto &c : m_connections)
        disconnect(c);
    m_connections.clear();
    m_service = service;
    if (service) {
        m_connections << connect(service, &HistoryService::deviceRead, this,
                                 &CompareController::deviceRead)
                      << connect(service, &HistoryService::writeFinished, this,
                                 &CompareController::writeFinished)
                      << connect(service, &HistoryService::connectionChanged, this,
                                 &CompareController::connectionChanged)
                      << connect(service, &HistoryService::valuesChanged, this,
                                 &CompareController::scheduleFill);
    }
}

void CompareController::compareWithDataset()
{
    m_snapshot = 0;
    m_checked.clear();
    refresh();
}

void CompareController::compareWithSnapshot(qint64 snapshot)
{
    m_snapshot = snapshot;
    m_checked.clear();
    refresh();
}

void CompareController::refresh()
{
    if (m_service && m_service->isConnected() && !m_service->deviceReadComplete() &&
        m_state != State::Reading && m_state != State::Writing) {
        readDevice();
        return;
    }
    fill();
}

void CompareController::readDevice()
{
    if (!m_service || !m_service->isConnected()) {
        fill();
        return;
    }
    if (m_service->readDevice() == 0)
        setState(State::Reading);
    fill();
}

void CompareController::fill()
{
    m_fillScheduled = false;
    m_rows.clear();
    if (m_service) {
        if (m_snapshot == 0)
            m_rows = m_service->compareWithDataset();
        else
            m_rows = m_service->compareWithSnapshot(m_snapshot).value_or(m_rows);
    }
    // A tick stays only on a row that still differs.
    QSet<QString> kept;
    for (const DatasetComparison::Row &row : m_rows) {
        if (row.differs && m_checked.contains(row.name))
            kept.insert(row.name);
    }
    m_checked = kept;
    if (m_state == State::Idle || m_state == State::NotConnected)
        setState(m_service && m_service->isConnected() ? State::Idle : State::NotConnected);
    Q_EMIT rowsChanged();
}

QList<DatasetComparison::Row> CompareController::visibleRows() const
{
    if (!m_onlyDifferences)
        return m_rows;
    QList<DatasetComparison::Row> shown;
    for (const DatasetComparison::Row &row : m_rows) {
        if (row.differs)
            shown.append(row);
    }
    return shown;
}

int CompareController::differenceCount() const
{
    return int(std::count_if(m_rows.begin(), m_rows.end(),
                             [](const DatasetComparison::Row &row) { return row.differs; }));
}

void CompareController::setOnlyDifferences(bool only)
{
    if (m_onlyDifferences == only)
        return;
    m_onlyDifferences = only;
    Q_EMIT rowsChanged();
}

void CompareController::setChecked(const QString &item, bool checked)
{
    if (checked == m_checked.contains(item))
        return;
    if (checked)
        m_checked.insert(item);
    else
        m_checked.remove(item);
    Q_EMIT rowsChanged();
}

void CompareController::checkDifferences()
{
    m_checked.clear();
    for (const DatasetComparison::Row &row : m_rows) {
        if (row.differs && row.otherKnown)
            m_checked.insert(row.name);
    }
    Q_EMIT rowsChanged();
}

QStringList CompareController::checkedItems() const
{
    // In the rows' order, which is the order the device is written in.
    QStringList items;
    for (const DatasetComparison::Row &row : m_rows) {
        if (m_checked.contains(row.name))
            items << row.name;
    }
    return items;
}

bool CompareController::canWrite() const
{
    if (m_state != State::Idle || m_checked.isEmpty() || !m_service || !m_service->isConnected())
        return false;
    // A value the other side does not know cannot be written.
    return std::all_of(m_rows.begin(), m_rows.end(), [this](const DatasetComparison::Row &row) {
        return !m_checked.contains(row.name) || row.otherKnown;
    });
}

bool CompareController::canTakeIntoDataset() const
{
    if (m_state != State::Idle || m_snapshot != 0 || m_checked.isEmpty())
        return false;
    return std::all_of(m_rows.begin(), m_rows.end(), [this](const DatasetComparison::Row &row) {
        return !m_checked.contains(row.name) || row.deviceKnown;
    });
}

QString CompareController::writeReason() const
{
    return m_snapshot == 0 ? QStringLiteral("compare")
                           : QStringLiteral("restore:%1").arg(m_snapshot);
}

bool CompareController::writeChecked()
{
    if (!canWrite())
        return false;
    DatasetComparison::Values values;
    DatasetComparison::Values source;
    DatasetComparison::Values device;
    for (const DatasetComparison::Row &row : m_rows) {
        if (m_checked.contains(row.name))
            values.insert(row.name, row.other);
        if (row.otherKnown)
            source.insert(row.name, row.other);
        if (row.deviceKnown)
            device.insert(row.name, row.device);
    }
    // A range value ticked without its unit is the other side's pressure,
    // written in the unit the device keeps.
    values = RangeUnits::inWrittenUnits(values, source, device);
    if (m_service->writeValues(values, writeReason()) != 0) {
        Q_EMIT writeFailed();
        return false;
    }
    setState(State::Writing);
    return true;
}

void CompareController::takeCheckedIntoDataset()
{
    if (!canTakeIntoDataset())
        return;
    m_service->takeIntoDataset(checkedItems());
    m_checked.clear();
    fill();
}

void CompareController::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    Q_EMIT stateChanged(state);
}

void CompareController::deviceRead(bool)
{
    if (m_state == State::Reading)
        setState(State::Idle);
    fill();
}

void CompareController::writeFinished(bool completed)
{
    if (m_state != State::Writing)
        return;
    setState(State::Idle);
    m_checked.clear();
    if (!completed)
        Q_EMIT writeFailed();
    fill();
}

void CompareController::connectionChanged()
{
    if (!m_service)
        return;
    if (!m_service->isConnected()) {
        // A run in progress ends with the link; what was read is gone.
        setState(State::NotConnected);
        fill();
    } else if (m_state == State::NotConnected) {
        setState(State::Idle);
        fill();
    }
}

// A read or a write changes many values in a row: one fill for all.
void CompareController::scheduleFill()
{
    if (m_fillScheduled)
        return;
    m_fillScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_fillScheduled)
                fill();
        },
        Qt::QueuedConnection);
}

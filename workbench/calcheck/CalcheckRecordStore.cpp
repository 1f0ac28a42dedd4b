#include "CalcheckRecordStore.h"

#include "CalcheckLegacyFile.h"
#include "HistoryDatabase.h"
#include "HistoryRecorder.h"
#include "WorkbenchLog.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cmath>

CalcheckRecordStore::CalcheckRecordStore(HistoryDatabase &database, QString legacyPath)
    : m_database(database), m_store(database), m_legacyPath(std::move(legacyPath))
{
}

QString CalcheckRecordStore::defaultLegacyPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/calibration.sqlite");
}

QString CalcheckRecordStore::deviceKey(const QString &uniqueId)
{
    static const QRegularExpression tenHexDigits(QStringLiteral("^[0-9A-Fa-f]{10}$"));
    if (!tenHexDigits.match(uniqueId).hasMatch())
        return uniqueId;
    const QString upper = uniqueId.toUpper();
    return upper.left(2) + QLatin1Char('-') + upper.mid(2, 2) + QLatin1Char('-') + upper.mid(4);
}

CalibrationEntry CalcheckRecordStore::entryOf(const CalcheckRecord &record)
{
    CalibrationEntry entry;
    entry.device = deviceKey(record.device.uniqueId);
    entry.tag = record.device.tag;
    entry.checkedAt = record.checkedAt;
    entry.technician = record.technician;
    entry.asFoundPassed = record.asFound.passed();
    entry.asLeftPassed = record.passed();
    entry.user = HistoryRecorder::loginName();
    // The reading furthest off, with its sign: the drift between two checks
    // is the change of this.
    for (const CalcheckReading &reading : record.asFound.readings) {
        if (!entry.asFoundError || std::abs(reading.pvError) > std::abs(*entry.asFoundError))
            entry.asFoundError = reading.pvError;
    }
    entry.document =
        QString::fromUtf8(QJsonDocument(record.toJson()).toJson(QJsonDocument::Compact));
    return entry;
}

bool CalcheckRecordStore::open()
{
    if (!m_database.isOpen() && m_database.open() != HistoryDatabase::Status::Open)
        return false;
    takeOverLegacyFile();
    return true;
}

void CalcheckRecordStore::takeOverLegacyFile()
{
    if (m_legacyPath.isEmpty() || !QFileInfo::exists(m_legacyPath))
        return;
    const QString source = QFileInfo(m_legacyPath).absoluteFilePath();
    if (m_store.imported(source))
        return;
    QString error;
    const auto entries = CalcheckLegacyFile::read(m_legacyPath, &error);
    // A file that cannot be read is tried again next time: a later version
    // may read it, and nothing was taken from it.
    if (!entries) {
        qCInfo(lcWorkbench).noquote()
            << "calibration checks of" << source << "not taken over:" << error;
        return;
    }
    if (m_store.importOnce(source, *entries))
        qCInfo(lcWorkbench).noquote()
            << entries->size() << "calibration checks taken over from" << source;
    else
        qCInfo(lcWorkbench).noquote()
            << "calibration checks of" << source << "not taken over:" << m_database.detail();
}

bool CalcheckRecordStore::save(const CalcheckRecord &record, QString *error)
{
    if (!record.complete()) {
        if (error)
            *error = QCoreApplication::translate("CalcheckRecordStore", "the check is incomplete");
        return false;
    }
    if (!open()) {
        if (error)
            *error = m_database.detail();
        return false;
    }
    if (m_store.store(entryOf(record)) > 0)
        return true;
    if (error)
        *error = m_database.detail();
    return false;
}

QList<CalcheckRecord> CalcheckRecordStore::records(const QString &uniqueId) const
{
    QList<CalcheckRecord> found;
    for (const CalibrationEntry &entry : m_store.list(deviceKey(uniqueId))) {
        const auto record =
            CalcheckRecord::fromJson(QJsonDocument::fromJson(entry.document.toUtf8()).object());
        if (record)
            found.append(*record);
    }
    return found;
}

std::optional<CalcheckRecord> CalcheckRecordStore::last(const QString &uniqueId) const
{
    const QList<CalcheckRecord> all = records(uniqueId);
    if (all.isEmpty())
        return std::nullopt;
    return all.first();
}

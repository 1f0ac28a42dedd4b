#include "DefaultDatasetDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

QString newConnectionName()
{
    static int counter = 0;
    return QStringLiteral("DefaultDatasets%1").arg(++counter);
}

// Runs every statement of the script in one transaction.
bool runScript(QSqlDatabase &db, const QString &script, QString *error)
{
    if (!db.transaction()) {
        *error = db.lastError().text();
        return false;
    }
    for (const QString &statement : DefaultDatasetDatabase::SplitStatements(script)) {
        QSqlQuery query(db);
        if (!query.exec(statement)) {
            *error = query.lastError().text();
            db.rollback();
            return false;
        }
    }
    if (!db.commit()) {
        *error = db.lastError().text();
        return false;
    }
    return true;
}

bool buildFile(const QString &target, const QString &script, QString *error)
{
    const QString connection = newConnectionName();
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(target);
        if (!db.open())
            *error = db.lastError().text();
        else
            ok = runScript(db, script, error);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

// The tables and columns the four queries read.
const char *const ExpectedColumns[] = {
    "SELECT label, Description, country FROM DeviceTypes LIMIT 0",
    "SELECT label, deviceType FROM PRanges LIMIT 0",
    "SELECT ObjectName, ObjectValue FROM GeneralDevicedata LIMIT 0",
    "SELECT deviceType, pRange, ObjectName, ObjectValue FROM PRangeData LIMIT 0",
};

QString damageOf(const QSqlDatabase &db)
{
    QSqlQuery check(db);
    if (!check.exec(QStringLiteral("PRAGMA integrity_check")) || !check.next())
        return check.lastError().text();
    if (check.value(0).toString() != QLatin1String("ok"))
        return check.value(0).toString();
    for (const char *sql : ExpectedColumns) {
        QSqlQuery probe(db);
        if (!probe.exec(QLatin1String(sql)))
            return probe.lastError().text();
    }
    return QString();
}

} // namespace

DefaultDatasetDatabase::DefaultDatasetDatabase() : m_connectionName(newConnectionName()) {}

DefaultDatasetDatabase::~DefaultDatasetDatabase()
{
    close();
}

QString DefaultDatasetDatabase::Damage(const QString &filePath)
{
    const QString connection = newConnectionName();
    QString damage;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(filePath);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        damage = db.open() ? damageOf(db) : db.lastError().text();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return damage;
}

bool DefaultDatasetDatabase::ensureBuilt(const QString &filePath, const QString &scriptPath,
                                         QString *error)
{
    const QFileInfo database(filePath);
    const QFileInfo script(scriptPath);
    // A damaged file (garbage, empty, cut short) is built anew however new it is.
    if (database.exists() && database.lastModified() >= script.lastModified() &&
        Damage(filePath).isEmpty())
        return true;
    QFile source(scriptPath);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = scriptPath + QStringLiteral(": ") + source.errorString();
        return false;
    }
    const QString script_text = QString::fromUtf8(source.readAll());
    // Built beside the target and put in place only when complete, so a
    // failed build never leaves half a database behind.
    const QString building = filePath + QStringLiteral(".building");
    QFile::remove(building);
    if (!buildFile(building, script_text, error)) {
        QFile::remove(building);
        return false;
    }
    QFile::remove(filePath);
    if (!QFile::rename(building, filePath)) {
        *error = QCoreApplication::translate("DefaultDatasetDatabase", "%1: cannot be written")
                     .arg(filePath);
        QFile::remove(building);
        return false;
    }
    return true;
}

bool DefaultDatasetDatabase::open(const QString &folder, QString *error, Failure *failure)
{
    close();
    QString reason;
    Failure kind = Failure::None;
    const QDir dir(folder);
    if (folder.trimmed().isEmpty() || !dir.exists()) {
        reason = QCoreApplication::translate("DefaultDatasetDatabase", "%1: folder not found")
                     .arg(QDir::toNativeSeparators(folder));
        kind = Failure::FolderNotFound;
    } else {
        const QString path = dir.filePath(QLatin1String(FileName));
        if (ensureBuilt(path, QLatin1String(ScriptPath), &reason)) {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
            db.setDatabaseName(path);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            if (db.open())
                return true;
            reason = db.lastError().text();
            kind = Failure::CannotOpen;
            close();
        } else {
            kind = Failure::CannotBuild;
        }
    }
    if (error)
        *error = reason;
    if (failure)
        *failure = kind;
    return false;
}

void DefaultDatasetDatabase::close()
{
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    QSqlDatabase::database(m_connectionName, false).close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool DefaultDatasetDatabase::isOpen() const
{
    return QSqlDatabase::contains(m_connectionName) &&
           QSqlDatabase::database(m_connectionName, false).isOpen();
}

std::optional<QList<DefaultDatasetDatabase::DeviceType>>
DefaultDatasetDatabase::ViewDeviceTypes(const QString &countryCode) const
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT label, Description FROM DeviceTypes "
                                 "WHERE country = :country ORDER BY rowid"));
    query.bindValue(QStringLiteral(":country"), countryCode);
    if (!query.exec()) {
        m_lastError = query.lastError().text();
        return std::nullopt;
    }
    QList<DeviceType> types;
    while (query.next())
        types.append({query.value(0).toString(), query.value(1).toString()});
    return types;
}

std::optional<QStringList>
DefaultDatasetDatabase::ViewDeviceTypePRanges(const QString &deviceType) const
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT label FROM PRanges "
                                 "WHERE trim(deviceType) = trim(:type) ORDER BY rowid"));
    query.bindValue(QStringLiteral(":type"), deviceType);
    if (!query.exec()) {
        m_lastError = query.lastError().text();
        return std::nullopt;
    }
    QStringList ranges;
    while (query.next())
        ranges.append(query.value(0).toString());
    return ranges;
}

std::optional<QList<DefaultDatasetDatabase::Value>>
DefaultDatasetDatabase::ViewGeneralDevicedata() const
{
    return values(QStringLiteral("SELECT ObjectName, ObjectValue FROM GeneralDevicedata "
                                 "ORDER BY rowid"),
                  {});
}

std::optional<QList<DefaultDatasetDatabase::Value>>
DefaultDatasetDatabase::ViewPRangeData(const QString &deviceType, const QString &range) const
{
    // Labels are compared without surrounding blanks: the lists show them trimmed.
    return values(QStringLiteral("SELECT ObjectName, ObjectValue FROM PRangeData "
                                 "WHERE trim(deviceType) = trim(?) AND trim(pRange) = trim(?) "
                                 "ORDER BY rowid"),
                  {deviceType, range});
}

std::optional<QList<DefaultDatasetDatabase::Value>>
DefaultDatasetDatabase::values(const QString &sql, const QStringList &arguments) const
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    query.prepare(sql);
    for (const QString &argument : arguments)
        query.addBindValue(argument);
    if (!query.exec()) {
        m_lastError = query.lastError().text();
        return std::nullopt;
    }
    QList<Value> rows;
    while (query.next())
        rows.append({query.value(0).toString(), query.value(1).toString()});
    return rows;
}

QStringList DefaultDatasetDatabase::SplitStatements(const QString &script)
{
    QStringList statements;
    QString current;
    bool quoted = false;
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script[i];
        if (!quoted && c == QLatin1Char('-') && i + 1 < script.size() &&
            script[i + 1] == QLatin1Char('-')) {
            while (i < script.size() && script[i] != QLatin1Char('\n'))
                ++i;
            current += QLatin1Char('\n');
            continue;
        }
        if (c == QLatin1Char('\''))
            quoted = !quoted; // a doubled quote toggles twice and stays inside
        if (!quoted && c == QLatin1Char(';')) {
            if (!current.trimmed().isEmpty())
                statements.append(current.trimmed());
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        statements.append(current.trimmed());
    return statements;
}

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The database of default datasets: device types per country, their
// measuring ranges and the default value of every dataset parameter. It is
// built at run time from the SQL script compiled into the program, into the
// host's device description folder, whenever the file is missing, older
// than the script or damaged. The four queries take their arguments as bound
// parameters.
class DefaultDatasetDatabase
{
public:
    static constexpr const char *BaseName = "TARVIK_K9P2";
    static constexpr const char *FileName = "TARVIK_K9P2.sqlite";
    static constexpr const char *ScriptPath = ":/defaults/TARVIK_K9P2.sql";

    struct DeviceType
    {
        QString label;
        QString Description;
    };
    struct Value
    {
        QString ObjectName;
        QString ObjectValue;
    };

    DefaultDatasetDatabase();
    ~DefaultDatasetDatabase();
    DefaultDatasetDatabase(const DefaultDatasetDatabase &) = delete;
    DefaultDatasetDatabase &operator=(const DefaultDatasetDatabase &) = delete;

    enum class Failure
    {
        None,
        FolderNotFound,
        CannotBuild, // missing, stale or damaged, and the folder takes no new file
        CannotOpen
    };

    // Opens the database in folder (built first when needed); false with a
    // description of what went wrong in error, and its kind in failure.
    bool open(const QString &folder, QString *error, Failure *failure = nullptr);
    void close();
    bool isOpen() const;
    // Builds the file from the script when it is missing, older or damaged;
    // the file is replaced only by a complete build.
    static bool ensureBuilt(const QString &filePath, const QString &scriptPath, QString *error);
    // What is wrong with the file: unreadable, failing SQLite's integrity
    // check, or lacking a table or column the queries read. Empty when sound.
    static QString Damage(const QString &filePath);

    // The four queries; nothing when the query itself failed (lastError).
    std::optional<QList<DeviceType>> ViewDeviceTypes(const QString &countryCode) const;
    std::optional<QStringList> ViewDeviceTypePRanges(const QString &deviceType) const;
    std::optional<QList<Value>> ViewGeneralDevicedata() const;
    std::optional<QList<Value>> ViewPRangeData(const QString &deviceType,
                                               const QString &range) const;
    QString lastError() const { return m_lastError; }

    // The script's statements, split at the semicolons outside quotes and
    // comments.
    static QStringList SplitStatements(const QString &script);

private:
    std::optional<QList<Value>> values(const QString &sql, const QStringList &arguments) const;

    QString m_connectionName;
    mutable QString m_lastError;
};

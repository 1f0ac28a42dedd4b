// Feeds arbitrary scripts and query arguments to the default-dataset database.
// The input is three lines (country code, device type, measuring range) and
// then the script. The script is split, built into a database beside a
// previous one, and when it gives the tables the queries read, the four
// queries run on it with the arguments.

#include "DefaultDatasetDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

bool operator==(const DefaultDatasetDatabase::Value &a, const DefaultDatasetDatabase::Value &b)
{
    return a.ObjectName == b.ObjectName && a.ObjectValue == b.ObjectValue;
}

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

QTemporaryDir &folder()
{
    // Memory-backed where there is such a folder: a build is many small writes.
    static QTemporaryDir dir(QFileInfo::exists(QStringLiteral("/dev/shm"))
                                 ? QStringLiteral("/dev/shm/fuzz_defaultdataset-XXXXXX")
                                 : QDir::tempPath() +
                                       QStringLiteral("/fuzz_defaultdataset-XXXXXX"));
    return dir;
}

void checkSplit(const QString &script)
{
    // Each statement is whole: split again it stays one statement.
    for (const QString &statement : DefaultDatasetDatabase::SplitStatements(script)) {
        check(!statement.isEmpty() && statement == statement.trimmed());
        check(DefaultDatasetDatabase::SplitStatements(statement) == QStringList{statement});
    }
}

void runQueries(const QStringList &arguments)
{
    DefaultDatasetDatabase db;
    QString error;
    if (!db.open(folder().path(), &error))
        return;
    const auto types = db.ViewDeviceTypes(arguments.value(0));
    const auto ranges = db.ViewDeviceTypePRanges(arguments.value(1));
    const auto general = db.ViewGeneralDevicedata();
    const auto rangeData = db.ViewPRangeData(arguments.value(1), arguments.value(2));
    // The file was found sound: every query answers, with rows or none.
    check(types && ranges && general && rangeData);
    // The arguments are bound, never read as SQL: the tables stay as they were.
    check(db.ViewGeneralDevicedata() == general);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    check(folder().isValid());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString input = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList lines = input.split(QLatin1Char('\n'));
    const QStringList arguments = lines.mid(0, 3);
    const QString script = lines.mid(3).join(QLatin1Char('\n'));
    checkSplit(script);

    const QDir dir(folder().path());
    const QString scriptPath = dir.filePath(QStringLiteral("script.sql"));
    const QString target = dir.filePath(QLatin1String(DefaultDatasetDatabase::FileName));
    QFile file(scriptPath);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    check(file.write(script.toUtf8()) >= 0);
    file.close();
    QFile::remove(target);

    QString error;
    const bool built = DefaultDatasetDatabase::ensureBuilt(target, scriptPath, &error);
    // Only a complete build leaves a file, and never a half-built one.
    check(QFileInfo::exists(target) == built);
    check(!QFileInfo::exists(target + QStringLiteral(".building")));
    check(built || !error.isEmpty());
    if (built && DefaultDatasetDatabase::Damage(target).isEmpty())
        runQueries(arguments);
    return 0;
}

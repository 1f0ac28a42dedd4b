// Logs writes to the history database named by argv[1] without end, and
// says "writing" once some are stored, so that a test can kill it mid-write.

#include "ChangeLog.h"
#include "HistoryDatabase.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    HistoryDatabase database(QString::fromLocal8Bit(argv[1]));
    if (database.open() != HistoryDatabase::Status::Open)
        return 1;
    ChangeLog log(database);
    ChangeEntry entry;
    entry.time = QDateTime::currentDateTimeUtc();
    entry.device = QStringLiteral("3C-91-000001");
    entry.item = QStringLiteral("filterTime");
    for (qint64 n = 0;; ++n) {
        entry.newValue = QString::number(n);
        const QList<qint64> ids = log.begin({entry, entry, entry});
        log.complete(ids, ChangeEntry::Outcome::Accepted, 0);
        if (n == 50) {
            std::puts("writing");
            std::fflush(stdout);
        }
    }
}

#include "StrictMessages.h"

#include "PlatformNoise.h"

#include <QRegularExpression>
#include <QTest>
#include <atomic>
#include <cstdio>
#include <vector>

namespace {

QtMessageHandler defaultHandler = nullptr; // the one before us: prints
QtMessageHandler qtestHandler = nullptr;   // QtTest's while it runs a class
std::atomic<int> strays{0};

bool isUnexpected(QtMsgType type, const QString &message)
{
    return (type == QtWarningMsg || type == QtCriticalMsg) && !isPlatformNoise(message);
}

// Outside the test functions: printed and counted.
void outsideTests(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (isUnexpected(type, message)) {
        ++strays;
        fprintf(stderr, "unexpected message outside a test function:\n");
    }
    if (defaultHandler)
        defaultHandler(type, context, message);
    else
        fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// Inside: QtTest fails the current function on it unless the test ignores it.
void insideTests(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!isUnexpected(type, message)) {
        qtestHandler(type, context, message);
        return;
    }
    QTest::failOnWarning(QRegularExpression(
        QRegularExpression::anchoredPattern(QRegularExpression::escape(message))));
    qtestHandler(QtWarningMsg, context, message);
}

} // namespace

StrictMessages::StrictMessages()
{
    defaultHandler = qInstallMessageHandler(outsideTests);
}

StrictMessages::~StrictMessages()
{
    qInstallMessageHandler(defaultHandler);
}

int StrictMessages::exec(QObject *test, const QStringList &arguments)
{
    std::vector<QByteArray> bytes;
    for (const QString &a : arguments)
        bytes.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);

    // qExec in its three steps, so that the handler sits in front of QtTest's.
    QTest::qInit(test, int(bytes.size()), argv.data());
    qtestHandler = qInstallMessageHandler(insideTests);
    const int failed = QTest::qRun();
    qInstallMessageHandler(qtestHandler);
    QTest::qCleanup();
    return failed;
}

int StrictMessages::strayMessages() const
{
    return strays;
}

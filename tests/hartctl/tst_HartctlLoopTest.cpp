#include "HartctlRun.h"
#include "HartsimProcess.h"
#include "TestRegistry.h"
#include "hart/HartIpLink.h"
#include "hart/HartMaster.h"

#include <QSignalSpy>
#include <QTest>

#include <csignal>
#include <optional>

namespace {

constexpr quint8 LoopCurrentFixed = 0x08; // device status bit 3

// The device status byte a transmitter answers command 0 with, asked on a
// connection of the test's own.
std::optional<quint8> deviceStatus(quint16 port, quint8 address)
{
    HartIpLink::Settings settings;
    settings.port = port;
    HartIpLink link(settings);
    if (!link.open())
        return std::nullopt;
    HartMaster master(&link);
    std::optional<HartMaster::Outcome> answer;
    master.identify(address, [&answer](const HartMaster::Outcome &o) { answer = o; });
    if (!QTest::qWaitFor([&answer] { return answer.has_value(); }, 5000) ||
        answer->kind != HartMaster::Outcome::Kind::Response)
        return std::nullopt;
    link.close();
    return answer->deviceStatus;
}

} // namespace

// A loop test ended by Ctrl+C leaves the transmitter in normal mode.
class HartctlLoopTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void interruptedLoopTestReleasesTheLoop()
    {
        HartsimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--devices"), QStringLiteral("0,2")}));
        HartctlRun run;
        run.start({QStringLiteral("loop-test"), QStringLiteral("--link"),
                   QStringLiteral("hartip:127.0.0.1:%1").arg(sim.tcpPort()),
                   QStringLiteral("--address"), QStringLiteral("0"), QStringLiteral("--yes"),
                   QStringLiteral("--hold"), QStringLiteral("600"), QStringLiteral("4"),
                   QStringLiteral("12"), QStringLiteral("20")});
        QByteArray said;
        QVERIFY(QTest::qWaitFor(
            [&] {
                said += run.process().readAllStandardError();
                return said.contains("fixed at 4 mA") ||
                       run.process().state() == QProcess::NotRunning;
            },
            20000));
        QVERIFY2(said.contains("fixed at 4 mA"), said.constData());
        const auto held = deviceStatus(sim.tcpPort(), 0);
        QVERIFY(held);
        QVERIFY(*held & LoopCurrentFixed);

        ::kill(pid_t(run.process().processId()), SIGINT);
        QVERIFY(run.process().waitForFinished(20000));
        said += run.process().readAllStandardError();
        QCOMPARE(run.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.process().exitCode(), 130);
        QVERIFY2(said.contains("back under automatic control"), said.constData());
        const auto after = deviceStatus(sim.tcpPort(), 0);
        QVERIFY(after);
        QCOMPARE(*after & LoopCurrentFixed, 0);
    }

    void currentsOutsideTheLoopAreRefusedBeforeConnecting_data()
    {
        QTest::addColumn<QString>("current");
        QTest::newRow("below 3.6 mA") << "2";
        QTest::newRow("above 23.6 mA") << "25";
        QTest::newRow("not a number") << "12mA";
        QTest::newRow("decimal comma") << "12,5";
    }

    void currentsOutsideTheLoopAreRefusedBeforeConnecting()
    {
        QFETCH(QString, current);
        HartctlRun run;
        // Nothing listens on the port: a connect would fail with 3.
        QCOMPARE(run.run({QStringLiteral("loop-test"), QStringLiteral("--link"),
                          QStringLiteral("hartip:127.0.0.1:1"), QStringLiteral("--address"),
                          QStringLiteral("0"), QStringLiteral("--yes"), QStringLiteral("--hold"),
                          QStringLiteral("0"), QStringLiteral("4"), current}),
                 2);
    }
};

VEX_TEST(HartctlLoopTest)
#include "tst_HartctlLoopTest.moc"

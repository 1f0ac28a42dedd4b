#include "HartctlRun.h"
#include "HartsimProcess.h"
#include "PtyPair.h"
#include "TestRegistry.h"

#include <QFile>
#include <QJsonArray>
#include <QTest>

namespace {

QStringList hartIp(const HartsimProcess &sim)
{
    return {QStringLiteral("--link"), QStringLiteral("hartip:127.0.0.1:%1").arg(sim.tcpPort())};
}

// The device's values as hartctl read --json gives them (host string form).
QJsonObject deviceValues(const HartsimProcess &sim, int address)
{
    HartctlRun read;
    const int rc = read.run(QStringList{QStringLiteral("read"), QStringLiteral("--json"),
                                        QStringLiteral("--address"), QString::number(address)} +
                            hartIp(sim));
    if (rc != 0)
        qWarning().noquote() << "read failed:" << rc << read.err();
    return read.json().value(QStringLiteral("values")).toObject();
}

QString value(const QJsonObject &values, const char *item)
{
    return values.value(QLatin1String(item)).toString().trimmed();
}

} // namespace

// hartctl on a loop of five transmitters served by hartsim over HART-IP.
class HartctlOverHartIp : public QObject
{
    Q_OBJECT

private:
    HartsimProcess m_sim;

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_sim.start({QStringLiteral("--devices"), QStringLiteral("0,1,2,3,4")}));
    }
    void cleanup() { m_sim.kill(); }

    void scanListsEveryDeviceAsJson()
    {
        HartctlRun scan;
        QCOMPARE(
            scan.run(QStringList{QStringLiteral("scan"), QStringLiteral("--json")} + hartIp(m_sim)),
            0);
        const QJsonArray devices = scan.json().value(QStringLiteral("devices")).toArray();
        QCOMPARE(devices.size(), 5);
        QStringList ids;
        for (int i = 0; i < 5; ++i) {
            const QJsonObject device = devices.at(i).toObject();
            QCOMPARE(device.value(QStringLiteral("address")).toInt(), i);
            QCOMPARE(device.value(QStringLiteral("tag")).toString(), QStringLiteral("PT-1"));
            ids << device.value(QStringLiteral("uniqueId")).toString();
        }
        ids.removeDuplicates();
        QCOMPARE(ids.size(), 5);
        QCOMPARE(scan.json().value(QStringLiteral("exitCode")).toInt(), 0);
    }

    // Range values given with a new unit are meant in that unit, though the
    // device holds the same number in the old one; one left out keeps its
    // pressure. Each step: what set gets, then unit, lrv and urv read back.
    void setWritesRangesInTheGivenUnit()
    {
        const struct
        {
            QStringList set;
            const char *unit, *lrv, *urv;
        } steps[] = {
            {{QStringLiteral("tag=PT-101"), QStringLiteral("lrv=0"), QStringLiteral("urv=5"),
              QStringLiteral("unit=psi"), QStringLiteral("damping=1.5")},
             "6",
             "0",
             "5"},
            {{QStringLiteral("urv=5"), QStringLiteral("unit=kPa")}, "12", "0", "5"},
            {{QStringLiteral("lrv=-100"), QStringLiteral("unit=mbar")}, "8", "-100", "50"},
        };
        for (const auto &step : steps) {
            HartctlRun set;
            const int rc = set.run(QStringList{QStringLiteral("set"), QStringLiteral("--address"),
                                               QStringLiteral("1"), QStringLiteral("--yes")} +
                                   step.set + hartIp(m_sim));
            QVERIFY2(rc == 0, qPrintable(set.err()));
            QVERIFY2(set.err().contains(QLatin1String("written and read back")),
                     qPrintable(set.err()));
            const QJsonObject values = deviceValues(m_sim, 1);
            QCOMPARE(value(values, "primaryValueUnit"), QLatin1String(step.unit));
            QCOMPARE(value(values, "scaleInLoLim"), QLatin1String(step.lrv));
            QCOMPARE(value(values, "scaleInHiLim"), QLatin1String(step.urv));
        }
        const QJsonObject values = deviceValues(m_sim, 1);
        QCOMPARE(value(values, "_tagHART"), QStringLiteral("PT-101"));
        QCOMPARE(value(values, "filterTime"), QStringLiteral("1.5"));
        // The neighbour is left alone.
        QCOMPARE(value(deviceValues(m_sim, 2), "_tagHART"), QStringLiteral("PT-1"));
    }

    // German output has the decimal comma; input takes the C form always,
    // the comma only in German.
    void numbersFollowTheLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("damping");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("shown");
        QTest::newRow("German, comma") << "de"
                                       << "2,5" << 0 << "2,5 s";
        QTest::newRow("German, point") << "de"
                                       << "2.5" << 0 << "2,5 s";
        QTest::newRow("English, point") << "en"
                                        << "2.5" << 0 << "2.5 s";
        QTest::newRow("English, comma") << "en"
                                        << "2,5" << 2 << "";
    }

    void numbersFollowTheLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, damping);
        QFETCH(int, exitCode);
        QFETCH(QString, shown);
        HartctlRun run;
        QCOMPARE(
            run.run(QStringList{QStringLiteral("set"), QStringLiteral("--lang"), language,
                                QStringLiteral("--address"), QStringLiteral("4"),
                                QStringLiteral("--yes"), QStringLiteral("damping=") + damping} +
                    hartIp(m_sim)),
            exitCode);
        QVERIFY2(run.out().contains(shown), qPrintable(run.out()));
        if (exitCode == 0)
            QCOMPARE(value(deviceValues(m_sim, 4), "filterTime"), QStringLiteral("2.5"));
    }

    void writeDryRunShowsTheDifferencesAndChangesNothing()
    {
        HartctlRun run;
        const QString file = run.file(QStringLiteral("pt.vexds"));
        QCOMPARE(run.run(QStringList{QStringLiteral("read"), QStringLiteral("--address"),
                                     QStringLiteral("0"), QStringLiteral("--out"), file} +
                         hartIp(m_sim)),
                 0);
        QCOMPARE(run.run(QStringList{QStringLiteral("set"), QStringLiteral("--address"),
                                     QStringLiteral("0"), QStringLiteral("--yes"),
                                     QStringLiteral("damping=5"), QStringLiteral("tag=OTHER")} +
                         hartIp(m_sim)),
                 0);
        QCOMPARE(run.run(QStringList{QStringLiteral("write"), QStringLiteral("--address"),
                                     QStringLiteral("0"), QStringLiteral("--dry-run"),
                                     QStringLiteral("--json"), file} +
                         hartIp(m_sim)),
                 0);
        const QJsonObject result = run.json();
        QCOMPARE(result.value(QStringLiteral("written")).toBool(), false);
        QStringList changed;
        for (const QJsonValue &change : result.value(QStringLiteral("changes")).toArray())
            changed << change.toObject().value(QStringLiteral("item")).toString();
        changed.sort();
        QCOMPARE(changed, (QStringList{QStringLiteral("_tagHART"), QStringLiteral("filterTime")}));
        const QJsonObject values = deviceValues(m_sim, 0);
        QCOMPARE(value(values, "filterTime"), QStringLiteral("5"));
        QCOMPARE(value(values, "_tagHART"), QStringLiteral("OTHER"));
        // Without the dry run and with --yes the file goes to the device.
        QCOMPARE(run.run(QStringList{QStringLiteral("write"), QStringLiteral("--address"),
                                     QStringLiteral("0"), QStringLiteral("--yes"), file} +
                         hartIp(m_sim)),
                 0);
        QCOMPARE(value(deviceValues(m_sim, 0), "_tagHART"), QStringLiteral("PT-1"));
    }

    void reportIsWrittenAsPdf()
    {
        HartctlRun run;
        const QString pdf = run.file(QStringLiteral("report.pdf"));
        QCOMPARE(run.run(QStringList{QStringLiteral("report"), QStringLiteral("--address"),
                                     QStringLiteral("3"), QStringLiteral("--pdf"), pdf} +
                         hartIp(m_sim)),
                 0);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(bytes.contains("/Title"));
        QVERIFY(!QFile::exists(pdf + QStringLiteral(".part")));
        QVERIFY2(!run.err().contains(QLatin1String("plugin")), qPrintable(run.err()));
    }

    void commissionFiveDevicesOneWithAWrongTag()
    {
        HartctlRun run;
        const QString sheet =
            run.write(QStringLiteral("sheet.csv"), "address,current_tag,tag,lrv,urv,unit,damping\n"
                                                   "0,PT-1,PT-100,0,300,mbar,1\n"
                                                   "1,PT-1,PT-101,0,0.3,bar,2\n"
                                                   "2,FT-7,PT-102,0,200,mbar,0.5\n"
                                                   "3,PT-1,PT-103,-100,100,mbar,0\n"
                                                   "4,PT-1,PT-104,0,400,mbar,3\n");
        QCOMPARE(run.run(QStringList{QStringLiteral("commission"), QStringLiteral("--yes"),
                                     QStringLiteral("--continue-on-error"), sheet} +
                         hartIp(m_sim)),
                 1);
        // The summary names the row that failed and why.
        const QStringList lines = run.out().split(QLatin1Char('\n'));
        const auto row = [&lines](const QString &start) {
            for (const QString &line : lines) {
                if (line.startsWith(start))
                    return line;
            }
            return QString();
        };
        QVERIFY2(row(QStringLiteral("4 ")).contains(QLatin1String("failed")),
                 qPrintable(run.out()));
        QVERIFY(row(QStringLiteral("4 ")).contains(QLatin1String("FT-7")));
        for (const char *ok : {"2 ", "3 ", "5 ", "6 "})
            QVERIFY2(row(QLatin1String(ok)).contains(QLatin1String("done")), qPrintable(run.out()));
        QVERIFY(run.out().contains(QLatin1String("1 of 5 devices failed.")));

        const char *tags[] = {"PT-100", "PT-101", "PT-1", "PT-103", "PT-104"};
        for (int address = 0; address < 5; ++address)
            QCOMPARE(value(deviceValues(m_sim, address), "_tagHART"), QLatin1String(tags[address]));
        const QJsonObject second = deviceValues(m_sim, 1);
        QCOMPARE(value(second, "primaryValueUnit"), QStringLiteral("7"));
        QCOMPARE(value(second, "scaleInHiLim"), QStringLiteral("0.3"));
        QCOMPARE(value(second, "filterTime"), QStringLiteral("2"));
    }

    // A row without an address: the device is found by the tag it carries (command 11).
    void commissionFindsTheDeviceByItsTag()
    {
        HartctlRun run;
        QCOMPARE(run.run(QStringList{QStringLiteral("set"), QStringLiteral("--address"),
                                     QStringLiteral("3"), QStringLiteral("--yes"),
                                     QStringLiteral("tag=FIND-ME")} +
                         hartIp(m_sim)),
                 0);
        const QString sheet =
            run.write(QStringLiteral("sheet.csv"), "current_tag,damping\nFIND-ME,3\n");
        QCOMPARE(run.run(QStringList{QStringLiteral("commission"), QStringLiteral("--yes"),
                                     QStringLiteral("--json"), sheet} +
                         hartIp(m_sim)),
                 0);
        QCOMPARE(run.json()
                     .value(QStringLiteral("rows"))
                     .toArray()
                     .at(0)
                     .toObject()
                     .value(QStringLiteral("address")),
                 QJsonValue(3));
        QCOMPARE(value(deviceValues(m_sim, 3), "filterTime"), QStringLiteral("3"));
    }

    void commissionStopsAtTheFirstFailureAsJson()
    {
        HartctlRun run;
        const QString sheet = run.write(QStringLiteral("sheet.csv"), "address;current_tag;damping\n"
                                                                     "0;WRONG;2\n"
                                                                     "1;PT-1;2\n");
        QCOMPARE(run.run(QStringList{QStringLiteral("commission"), QStringLiteral("--yes"),
                                     QStringLiteral("--json"), sheet} +
                         hartIp(m_sim)),
                 1);
        const QJsonArray rows = run.json().value(QStringLiteral("rows")).toArray();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0).toObject().value(QStringLiteral("result")).toString(),
                 QStringLiteral("failed"));
        QCOMPARE(rows.at(1).toObject().value(QStringLiteral("result")).toString(),
                 QStringLiteral("skipped"));
        QCOMPARE(value(deviceValues(m_sim, 1), "filterTime"), QStringLiteral("0"));
    }
};

// Input hartctl cannot use: a clear message, exit code 2 (or 3 for the
// link), and the device as it was.
class HartctlBadInput : public QObject
{
    Q_OBJECT

private:
    HartsimProcess m_sim;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_sim.start({QStringLiteral("--devices"), QStringLiteral("0")}));
    }

    void refusedWithNothingWritten_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("sheet");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QString set = QStringLiteral("set");
        const QStringList at0{QStringLiteral("--address"), QStringLiteral("0"),
                              QStringLiteral("--yes")};
        const QString tag = QStringLiteral("tag=CHANGED");
        QTest::newRow("unknown column")
            << QStringList{QStringLiteral("commission"), QStringLiteral("--yes"),
                           QStringLiteral("SHEET")}
            << QByteArray("address,tag,colour\n0,CHANGED,red\n") << 2 << "\"colour\" is unknown";
        QTest::newRow("value outside its limits")
            << (QStringList{set} + at0 + QStringList{tag, QStringLiteral("damping=500")})
            << QByteArray() << 2 << "outside 0 to 100";
        QTest::newRow("range outside the sensor")
            << (QStringList{set} + at0 + QStringList{tag, QStringLiteral("urv=5000")})
            << QByteArray() << 2 << "sensor";
        QTest::newRow("range in a sheet outside the sensor")
            << QStringList{QStringLiteral("commission"), QStringLiteral("--yes"),
                           QStringLiteral("SHEET")}
            << QByteArray("address,tag,urv,unit\n0,CHANGED,5,bar\n") << 1 << "sensor";
        QTest::newRow("unit the device cannot take")
            << (QStringList{set} + at0 + QStringList{tag, QStringLiteral("unit=m3/h")})
            << QByteArray() << 2 << "cannot take";
        QTest::newRow("missing sheet")
            << QStringList{QStringLiteral("commission"), QStringLiteral("--yes"),
                           QStringLiteral("/nonexistent/sheet.csv")}
            << QByteArray() << 2 << "no such file";
        QTest::newRow("missing dataset file")
            << (QStringList{QStringLiteral("write")} + at0 +
                QStringList{QStringLiteral("/nonexistent/pt.vexds")})
            << QByteArray() << 2 << "no such file";
        QTest::newRow("no confirmation without a terminal")
            << QStringList{set, QStringLiteral("--address"), QStringLiteral("0"), tag}
            << QByteArray() << 2 << "--yes";
        QTest::newRow("server that is not there")
            << QStringList{set,
                           QStringLiteral("--address"),
                           QStringLiteral("0"),
                           QStringLiteral("--yes"),
                           tag,
                           QStringLiteral("--link"),
                           QStringLiteral("hartip:127.0.0.1:1")}
            << QByteArray() << 3 << "127.0.0.1";
        QTest::newRow("serial port that is not there")
            << QStringList{set,
                           QStringLiteral("--address"),
                           QStringLiteral("0"),
                           QStringLiteral("--yes"),
                           tag,
                           QStringLiteral("--link"),
                           QStringLiteral("serial:/dev/nonexistent-modem")}
            << QByteArray() << 3 << "nonexistent-modem";
        QTest::newRow("nobody at the address")
            << (QStringList{set, QStringLiteral("--address"), QStringLiteral("9"),
                            QStringLiteral("--yes"), tag})
            << QByteArray() << 3 << "";
        QTest::newRow("bad link text")
            << QStringList{QStringLiteral("scan"), QStringLiteral("--link"),
                           QStringLiteral("modem")}
            << QByteArray() << 2 << "modem";
    }

    void refusedWithNothingWritten()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, sheet);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        HartctlRun run;
        if (!sheet.isEmpty())
            arguments.replace(arguments.indexOf(QStringLiteral("SHEET")),
                              run.write(QStringLiteral("sheet.csv"), sheet));
        if (!arguments.contains(QStringLiteral("--link")))
            arguments << hartIp(m_sim);
        QCOMPARE(run.run(arguments), exitCode);
        QVERIFY2(run.err().contains(message), qPrintable(run.err()));
        QCOMPARE(value(deviceValues(m_sim, 0), "_tagHART"), QStringLiteral("PT-1"));
    }
};

// A device of another maker: its universal values are read, nothing of
// this family's is written to it.
class HartctlForeignDevice : public QObject
{
    Q_OBJECT

private:
    HartsimProcess m_sim;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_sim.start({QStringLiteral("--device"), QStringLiteral("5=hart7-pressure")}));
    }

    void readGivesTheUniversalValues()
    {
        HartctlRun run;
        QCOMPARE(run.run(QStringList{QStringLiteral("read"), QStringLiteral("--json"),
                                     QStringLiteral("--address"), QStringLiteral("5")} +
                         hartIp(m_sim)),
                 0);
        const QJsonObject identity = run.json().value(QStringLiteral("identity")).toObject();
        QCOMPARE(identity.value(QStringLiteral("family")).toBool(), false);
        QCOMPARE(identity.value(QStringLiteral("hartRevision")).toInt(), 7);
        const QJsonObject values = run.json().value(QStringLiteral("values")).toObject();
        for (const char *key : {"tag", "pv", "current", "lrv", "urv", "damping"})
            QVERIFY2(values.contains(QLatin1String(key)), key);
    }

    void nothingOfThisFamilyIsWritten_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("set") << QStringList{QStringLiteral("set"), QStringLiteral("--yes"),
                                            QStringLiteral("damping=2")}
                             << 1;
        QTest::newRow("read to a dataset file")
            << QStringList{QStringLiteral("read"), QStringLiteral("--out"),
                           QStringLiteral("x.vexds")}
            << 2;
    }

    void nothingOfThisFamilyIsWritten()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        HartctlRun run;
        QCOMPARE(run.run(arguments + QStringList{QStringLiteral("--address"), QStringLiteral("5")} +
                         hartIp(m_sim)),
                 exitCode);
        QVERIFY(!QFile::exists(QStringLiteral("x.vexds")));
    }
};

// The same program on a serial HART modem: a socat pair to hartsim's slave.
class HartctlOverSerial : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setAndReadBackOverTheModem()
    {
        if (!PtyPair::available())
            QFAIL(PtyPair::missing());
        HartctlRun run;
        PtyPair pair;
        QVERIFY(pair.start(run.file(QStringLiteral("host")), run.file(QStringLiteral("device"))));
        HartsimProcess sim;
        QVERIFY(
            sim.startSerial(pair.deviceEnd(), {QStringLiteral("--devices"), QStringLiteral("0")}));
        const QStringList serial{QStringLiteral("--link"),
                                 QStringLiteral("serial:") + pair.hostEnd(),
                                 QStringLiteral("--address"), QStringLiteral("0")};
        QCOMPARE(run.run(QStringList{QStringLiteral("set"), QStringLiteral("--yes"),
                                     QStringLiteral("tag=FT-9"), QStringLiteral("damping=2.5")} +
                         serial),
                 0);
        QCOMPARE(run.run(QStringList{QStringLiteral("read"), QStringLiteral("--json")} + serial),
                 0);
        const QJsonObject values = run.json().value(QStringLiteral("values")).toObject();
        QCOMPARE(value(values, "_tagHART"), QStringLiteral("FT-9"));
        QCOMPARE(value(values, "filterTime"), QStringLiteral("2.5"));
    }
};

VEX_TEST(HartctlOverHartIp)
VEX_TEST(HartctlOverSerial)
VEX_TEST(HartctlForeignDevice)
VEX_TEST(HartctlBadInput)
#include "tst_Hartctl.moc"

#include "TestHost.h"
#include "TestRegistry.h"

#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "VexAppletItemManager.h"
#include "clsChangeUnitValue.h"
#include "clsDebugInfo.h"
#include "clsDeviceInfo.h"
#include "clsGetDecimalPlaces.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <cmath>
#include <limits>

class TstDevhelp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void conversions_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<double>("expected");
        QTest::newRow("bar to psi") << 1.0 << 7 << 6 << 14.5038;
        QTest::newRow("degC to degF") << 100.0 << 32 << 33 << 212.0;
        QTest::newRow("degF to K") << 0.0 << 33 << 35 << 255.372;
        QTest::newRow("in to mm (the length base)") << 10.0 << 47 << 49 << 254.0;
        QTest::newRow("mm to in") << 254.0 << 49 << 47 << 10.0;
        QTest::newRow("in to in") << 5.0 << 47 << 47 << 5.0;
        QTest::newRow("neither in table") << 3.5 << 44 << 45 << 3.5;
        // One code the table does not know: nothing is converted.
        QTest::newRow("bar to an unknown code") << 2.0 << 7 << 200 << 2.0;
        QTest::newRow("an unknown code to psi") << 2.0 << 200 << 6 << 2.0;
        QTest::newRow("kPa to bar") << 400.0 << 12 << 7 << 4.0;
        QTest::newRow("t/h to kg/s") << 3.6 << 78 << 73 << 1.0000001;
        QTest::newRow("flow 242 from base") << 1.0 << 26 << 242 << 3051187 / 35.31466 / 1000000;
    }
    void conversions()
    {
        QFETCH(double, value);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(double, expected);
        TestHost host(testhost::builtInDescription());
        clsChangeUnitValue changer;
        QCOMPARE(changer.ChangeUnitValue(value, qint16(from), qint16(to)), value);
        changer.Register(host.manager());
        const double result = changer.ChangeUnitValue(value, qint16(from), qint16(to));
        QVERIFY2(std::fabs(result - expected) <= 1e-4 * std::max(1.0, std::fabs(expected)),
                 qPrintable(QString::number(result, 'g', 12)));
    }

    // The two columns of every unit must undo each other: a constant typed
    // differently in one of them shows here.
    void everyUnitRoundTrips()
    {
        for (int code = 0; code < 256; ++code) {
            const double back = clsChangeUnitValue::fromBase(
                qint16(code), clsChangeUnitValue::toBase(qint16(code), 7.25));
            QVERIFY2(std::fabs(back - 7.25) < 1e-9, qPrintable(QString::number(code)));
        }
    }

    void overflowGivesZero()
    {
        TestHost host(testhost::builtInDescription());
        clsChangeUnitValue changer;
        changer.Register(host.manager());
        QCOMPARE(changer.ChangeUnitValue(std::numeric_limits<double>::max(), 7, 11), 0.0);
    }

    void decimalPlaces_data()
    {
        QTest::addColumn<double>("span");
        QTest::addColumn<int>("places");
        QTest::newRow("zero") << 0.0 << 0;
        QTest::newRow("1") << 1.0 << 4;
        QTest::newRow("10") << 10.0 << 3;
        QTest::newRow("1000") << 1000.0 << 1;
        QTest::newRow("0.1") << 0.1 << 5;
        QTest::newRow("negative") << -50.0 << 2;
        QTest::newRow("quotient overflows") << 1e-320 << int(clsGetDecimalPlaces::MaxDecimalPlaces);
        QTest::newRow("more digits than shown")
            << 1e-14 << int(clsGetDecimalPlaces::MaxDecimalPlaces);
        QTest::newRow("not a number") << std::nan("") << 0;
    }
    void decimalPlaces()
    {
        QFETCH(double, span);
        QFETCH(int, places);
        QCOMPARE(int(clsGetDecimalPlaces().GetDecimalPlaces(span)), places);
    }

    void debugSwitch()
    {
        const QString path = clsDebugInfo::switchFilePath();
        QFile::remove(path);
        QVERIFY(!clsDebugInfo().InDebugMode().isValid());
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(clsDebugInfo().InDebugMode(), QVariant(true));
        QFile::remove(path);
    }

    void softwareVersion_data()
    {
        QTest::addColumn<QString>("octets");
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("from150");
        QTest::newRow("1.2.3") << "01 02 03" << 123 << false;
        QTest::newRow("1.10.0") << "01 0A 00" << 1100 << true;
        QTest::newRow("1.4.0") << "01 04 00" << 140 << false;
        QTest::newRow("1.5.0") << "01 05 00" << 150 << true;
        // Joined, 1.1.10 reads 1110 and would pass for 1.5.0.
        QTest::newRow("1.1.10") << "01 01 0A" << 1110 << false;
        QTest::newRow("above 32767 saturates") << "FF FF FF" << 32767 << true;
        QTest::newRow("3.27.68") << "03 1B 44" << 32767 << true;
    }
    void softwareVersion()
    {
        QFETCH(QString, octets);
        QFETCH(int, version);
        TestHost host(testhost::builtInDescription());
        clsDeviceInfo info;
        info.Register(host.manager());
        testhost::setShadow(*host.manager(), "softwareRevision", octets);
        QCOMPARE(int(info.SoftwareVersion()), version);
        QFETCH(bool, from150);
        const std::array<quint8, 3> revision = info.SoftwareRevision();
        QCOMPARE(revision >= (std::array<quint8, 3>{1, 5, 0}), from150);
    }

    void deviceInformation()
    {
        TestHost host(testhost::builtInDescription());
        auto &manager = *host.manager();
        clsDeviceInfo info;
        info.Register(host.manager());
        info.Register(host.manager()); // a second attach changes nothing
        QVERIFY(info.isRegistered());
        host.instance().setItemText("&&private_PM&&TagName", " PT-101 ");
        host.instance().setItemText("&&private_PM&&Descriptor", "Line 2");
        QCOMPARE(info.DeviceIdentName(), QStringLiteral("PT-101: Line 2"));

        testhost::setDataset(manager, "currentResponseCode", "00 00 08");
        QCOMPARE(info.FixedCurrentModeEnabled(), qint16(1));
        testhost::setDataset(manager, "currentResponseCode", "00 00 07");
        QCOMPARE(info.FixedCurrentModeEnabled(), qint16(0));

        QCOMPARE(info.CommType(), HART);
        host.instance().setItemText("&&private_FDT&&ActiveForms", "1");
        QVERIFY(!info.DtmIsInSystemBatchMode());
        host.instance().setItemText("&&private_FDT&&ActiveForms", "0");
        QVERIFY(info.DtmIsInSystemBatchMode());
    }
};

VEX_TEST(TstDevhelp)
#include "tst_Devhelp.moc"

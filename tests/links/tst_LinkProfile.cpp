#include "TestRegistry.h"

#include "hart/HartLinkProfile.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TstLinkProfile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("canonical"); // empty: refused
        QTest::newRow("sim") << "sim"
                             << "sim";
        QTest::newRow("serial") << "serial:/dev/ttyUSB0"
                                << "serial:/dev/ttyUSB0";
        QTest::newRow("hart-ip default port") << "hartip:gw.local"
                                              << "hartip:gw.local:5094";
        QTest::newRow("hart-ip udp") << "hartip:10.0.0.5:20004/udp"
                                     << "hartip:10.0.0.5:20004/udp";
        QTest::newRow("ipv6") << "hartip:[::1]:5094"
                              << "hartip:[::1]:5094";
        QTest::newRow("port 0") << "hartip:host:0"
                                << "";
        QTest::newRow("port too big") << "hartip:host:70000"
                                      << "";
        QTest::newRow("ipv6 unbracketed") << "hartip:::1"
                                          << "";
        QTest::newRow("serial without port") << "serial:"
                                             << "";
        QTest::newRow("unknown kind") << "modem:/dev/ttyS0"
                                      << "";
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, canonical);
        QString error;
        const auto profile = HartLinkProfile::parse(text, &error);
        QCOMPARE(profile.has_value(), !canonical.isEmpty());
        if (profile)
            QCOMPARE(profile->toString(), canonical);
        else
            QVERIFY(!error.isEmpty());
    }

    // Stored and read back; values a hand-edited file gets wrong fall back.
    void settingsRoundTrip()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
        HartLinkProfile p =
            *HartLinkProfile::parse(QStringLiteral("hartip:[::1]:6000/udp"), nullptr);
        p.preambles = 12;
        p.retries = 0;
        p.rtsKeying = false;
        p.pollingAddress = 7;
        p.save(settings);
        QCOMPARE(HartLinkProfile::load(settings), p);
        settings.setValue(QStringLiteral("Connection/Preambles"), 99);
        settings.setValue(QStringLiteral("Connection/Link"), QStringLiteral("nonsense"));
        const HartLinkProfile back = HartLinkProfile::load(settings);
        QCOMPARE(back.preambles, 5);
        QCOMPARE(back.kind, HartLinkProfile::Kind::Simulator);
        QCOMPARE(back.pollingAddress, 7);
    }
};

VEX_TEST(TstLinkProfile)
#include "tst_LinkProfile.moc"

#include "TestHost.h"
#include "TestRegistry.h"

#include "Dictionary.h"
#include "HostResult.h"
#include "ItemStore.h"
#include "UpdateScheduler.h"
#include "VexAppletItemManager.h"
#include "clsAppItem.h"
#include "clsAppItemView.h"

#include <QLocale>
#include <QSignalSpy>
#include <QTest>

class TstHostItems : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_host = std::make_unique<TestHost>();
        m_manager = m_host->manager();
    }
    void cleanup()
    {
        m_manager.reset();
        m_host.reset();
        QLocale::setDefault(QLocale::c());
    }

    void stringForms_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("stored"); // empty: refused, value unchanged
        QTest::newRow("float shortest") << "scaleInLoLim"
                                        << "0.1"
                                        << "0.1";
        QTest::newRow("float exponent") << "scaleInLoLim"
                                        << "1e-7"
                                        << "1e-07";
        QTest::newRow("float too big") << "scaleInLoLim"
                                       << "1e39"
                                       << "";
        QTest::newRow("float text") << "scaleInLoLim"
                                    << "abc"
                                    << "";
        QTest::newRow("uint negative") << "primaryValueUnit"
                                       << "-1"
                                       << "";
        QTest::newRow("uint by text") << "primaryValueUnit"
                                      << "mbar"
                                      << "8";
        QTest::newRow("int min") << "counter"
                                 << "-2147483648"
                                 << "-2147483648";
        QTest::newRow("int overflow") << "counter"
                                      << "2147483648"
                                      << "";
        QTest::newRow("bcd") << "bcdItem"
                             << "99999999"
                             << "99999999";
        QTest::newRow("bcd overflow") << "bcdItem"
                                      << "100000000"
                                      << "";
        QTest::newRow("pca upper") << "pbTagDesc"
                                   << "ab"
                                   << "AB      ";
        QTest::newRow("pca bad char") << "pbTagDesc"
                                      << "a~"
                                      << "";
        QTest::newRow("octets") << "octets8"
                                << "de ad"
                                << "DE AD 00 00 00 00 00 00";
        QTest::newRow("octets long") << "octets8"
                                     << "1 2 3 4 5 6 7 8 9"
                                     << "";
        QTest::newRow("date") << "installDate"
                              << "1999-12-31"
                              << "1999-12-31";
        QTest::newRow("date invalid") << "installDate"
                                      << "2021-02-29"
                                      << "";
        QTest::newRow("string long") << "message" << QString(33, QLatin1Char('a')) << "";
    }

    void stringForms()
    {
        QFETCH(QString, item);
        QFETCH(QString, input);
        QFETCH(QString, stored);
        clsAppItem a;
        a.Register(m_manager, item);
        const QString before = a.StringValue();
        qint32 rc = 0;
        m_manager->fncPutStringValue(a.itemHandle(), input, rc);
        QCOMPARE(rc == 0, !stored.isEmpty());
        QCOMPARE(a.StringValue(), stored.isEmpty() ? before : stored);
    }

    void floatsInTheUsersFormat()
    {
        QLocale::setDefault(QLocale(QLocale::German));
        clsAppItem a;
        a.Register(m_manager, QStringLiteral("scaleInLoLim"));
        a.setStringValue(QStringLiteral("12,5"));
        QCOMPARE(a.FloatValue(), 12.5f);
        a.setStringValue(QStringLiteral("1.000,5")); // group separators are refused
        QCOMPARE(a.FloatValue(), 12.5f);
        a.setStringValue(QStringLiteral("3.25"));
        QCOMPARE(a.StringValue(), QStringLiteral("3.25"));
    }

    void unknownHandlesAndViews()
    {
        qint32 rc = 0, handle = -1;
        double d = 1;
        m_manager->fncGetUIntValueEx(9999, d, false, rc);
        QCOMPARE(rc, HostResult::UnknownItem);
        QCOMPARE(d, 0.0);
        m_manager->fncRegisterItem(QStringLiteral("counter"), false, 42, handle, 0, 0, rc);
        QCOMPARE(rc, HostResult::UnknownView);
        QCOMPARE(handle, 0);
        m_manager->fncUnregisterItem(QVariant(42), 1, false, rc);
        QVERIFY(rc != 0);
        // A view without an item answers an error and the host carries on.
        clsAppItemView view;
        QVERIFY(view.NotifyChanged(1, false, 0, 0) != 0);
        QCOMPARE(view.Show(), 0);
    }

    void aViewLeavingDuringANotificationIsSkipped()
    {
        auto first = std::make_unique<clsAppItem>();
        auto second = std::make_unique<clsAppItem>();
        first->Register(m_manager, QStringLiteral("counter"));
        second->Register(m_manager, QStringLiteral("counter"));
        int secondHeard = 0;
        connect(first.get(), &clsAppItem::ValueUpdate, this, [&](QString &) { second.reset(); });
        connect(second.get(), &clsAppItem::ValueUpdate, this, [&](QString &) { ++secondHeard; });
        testhost::setDataset(*m_manager, QStringLiteral("counter"), QStringLiteral("3"));
        QVERIFY(!second);
        QCOMPARE(secondHeard, 0);
    }

    void itemObserversHearTheirItemBeforeTheViews()
    {
        const int counter = m_manager->store().indexOf(QStringLiteral("counter"));
        QStringList heard;
        m_manager->addItemObserver(counter, [&heard](int index, bool shadow, qint32) {
            heard << QStringLiteral("observer %1 %2").arg(index).arg(shadow);
        });
        clsAppItem item;
        item.Register(m_manager, QStringLiteral("counter"));
        connect(&item, &clsAppItem::ValueUpdate, this,
                [&heard](QString &value) { heard << QStringLiteral("view ") + value; });
        testhost::setDataset(*m_manager, QStringLiteral("message"), QStringLiteral("x"));
        QVERIFY(heard.isEmpty());
        testhost::setDataset(*m_manager, QStringLiteral("counter"), QStringLiteral("4"));
        QCOMPARE(heard, QStringList({QStringLiteral("observer %1 0").arg(counter),
                                     QStringLiteral("view 4")}));
    }

    void dictionaryWalksAndInfo()
    {
        auto dictionary = m_manager->fncGetDictionary();
        qint32 count = 0, rc = 0, id = 0;
        dictionary->fncGetObjectCount(QStringLiteral("Sequence"), count, rc);
        QCOMPARE(count, 2);
        QStringList names;
        dictionary->fncGetFirstObject(QStringLiteral("Sequence"), id, rc);
        while (rc == 0) {
            QString name;
            dictionary->fncGetObjectName(id, name, rc);
            names << name;
            dictionary->fncGetNextObject(id, rc);
        }
        QCOMPARE(names, (QStringList{"Upload", "PerformTransmitterSelfTest"}));

        dictionary->fncFindObject(QStringLiteral("Sequence"), QStringLiteral("upload"), id, rc);
        QCOMPARE(rc, 0);
        QStringList members;
        dictionary->fncGetObjectMembers(id, QString(), count, members, rc);
        QCOMPARE(members, QStringList{"ReadPrimaryVariable"});

        dictionary->fncFindObject(QStringLiteral("object"), QStringLiteral("scaleInLoLim"), id, rc);
        QString info, enumName;
        qint32 type = 0;
        QVariant low, high;
        dictionary->fncGetObjectInfo(id, info, type, low, high, enumName, rc);
        QCOMPARE(type, 4);
        QCOMPARE(low.toDouble(), -1e6);
        QCOMPARE(high.toDouble(), 1e6);

        dictionary->fncFindObject(QStringLiteral("enumeration"), QStringLiteral("UnitCodes"), id,
                                  rc);
        QList<EnumTableEntry> table;
        QString tableName;
        dictionary->fncGetEnumTable(id, tableName, table, rc);
        QCOMPARE(rc, 0);
        QCOMPARE(table.size(), 3);
        QCOMPARE(table[1].text, QStringLiteral("mbar"));
        dictionary->fncGetEnumTable(0, tableName, table, rc);
        QVERIFY(rc != 0);
    }

    void periodicReadsFollowTheIntervalWhileConnected()
    {
        UpdateScheduler &scheduler = m_manager->updateScheduler();
        scheduler.setUnitMilliseconds(5);
        bool connected = false;
        int ticks = 0; // the scheduler asks at every tick
        QList<QList<int>> reads;
        scheduler.setConnectedProbe([&] {
            ++ticks;
            return connected;
        });
        scheduler.setReader([&](const QList<int> &items) { reads << items; });

        const int fast = m_manager->store().indexOf(QStringLiteral("scaleInLoLim"));
        const int slow = m_manager->store().indexOf(QStringLiteral("counter"));
        const int kept = m_manager->store().indexOf(QStringLiteral("bcdItem"));
        clsAppItem a, b, c;
        a.Register(m_manager, QStringLiteral("scaleInLoLim"), false, 1);
        b.Register(m_manager, QStringLiteral("counter"), false, 3);

        QTRY_VERIFY(ticks >= 6);
        QVERIFY(reads.isEmpty()); // not connected
        connected = true;
        QTRY_VERIFY(reads.size() >= 6);
        int fastReads = 0, slowReads = 0;
        for (const QList<int> &batch : reads) {
            fastReads += batch.count(fast);
            slowReads += batch.count(slow);
        }
        QVERIFY(fastReads >= 6);
        QVERIFY2(slowReads <= fastReads / 3 + 1 && slowReads >= fastReads / 3 - 1,
                 qPrintable(QStringLiteral("%1 %2").arg(fastReads).arg(slowReads)));

        // Once unregistered an item is read no more; the others go on.
        c.Register(m_manager, QStringLiteral("bcdItem"), false, 1);
        a.UnRegister();
        b.UnRegister();
        reads.clear();
        QTRY_VERIFY(reads.size() >= 6);
        for (const QList<int> &batch : reads)
            QCOMPARE(batch, QList<int>{kept});
    }

private:
    std::unique_ptr<TestHost> m_host;
    std::shared_ptr<VexAppletItemManager> m_manager;
};

VEX_TEST(TstHostItems)
#include "tst_HostItems.moc"

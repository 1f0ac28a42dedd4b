#include "TestHost.h"
#include "TestRegistry.h"

#include "ScriptedMessageBox.h"
#include "VexAppletItemManager.h"
#include "VexException.h"
#include "clsAppItemCollection.h"
#include "clsRecItemCollection.h"
#include "clsSeqItemCollection.h"

#include <QTest>

class TstCollections : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addReturnsThePresentElement()
    {
        clsAppItemCollection items;
        auto first = items.Add(QStringLiteral("pbTagDesc"), false, 0);
        auto second = items.Add(QStringLiteral("PBTAGDESC"), true, 5);
        QCOMPARE(first, second);
        QCOMPARE(items.Count(), 1);
        QVERIFY(!second->RegisterOnShadow()); // configured by the first call
    }

    void aliasesAndDuplicates()
    {
        clsAppItemCollection items;
        auto aliased = items.Add(QStringLiteral("scaleInLoLim"), false, 0, nullptr, QString(),
                                 QStringLiteral("low"));
        // The lookup is by name, not alias: a second element.
        auto plain = items.Add(QStringLiteral("scaleInLoLim"), false, 0);
        QVERIFY(aliased != plain);
        QCOMPARE(items.Count(), 2);
        QCOMPARE(items.Item(QStringLiteral("LOW")), aliased);
        QCOMPARE(items.Item(2), plain);
        try {
            items.Add(QStringLiteral("counter"), false, 0, nullptr, QString(),
                      QStringLiteral("low"));
            QFAIL("duplicate key accepted");
        } catch (const VexException &e) {
            QCOMPARE(e.number(), 457);
        }
        QCOMPARE(items.Count(), 2);
    }

    void missingKeysAreReportedOrIgnored_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("items") << 0 << "AppItem: ";
        QTest::newRow("records") << 1 << "RecItem: ";
        QTest::newRow("sequences") << 2 << "SeqItem: ";
    }

    void missingKeysAreReportedOrIgnored()
    {
        QFETCH(int, kind);
        QFETCH(QString, prefix);
        ScriptedMessageBox box;
        bool found = true;
        if (kind == 0) {
            clsAppItemCollection c;
            c.Remove(QStringLiteral("absent"));
            found = c.Item(QStringLiteral("absent")) != nullptr;
        } else if (kind == 1) {
            clsRecItemCollection c;
            c.Remove(QStringLiteral("absent"));
            found = c.Item(QStringLiteral("absent")) != nullptr;
        } else {
            clsSeqItemCollection c;
            c.Remove(3);
            found = c.Item(QStringLiteral("absent")) != nullptr;
        }
        QVERIFY(!found);
        QCOMPARE(box.asked().size(), 1);
        QVERIFY(box.asked().first().text.startsWith(prefix + QStringLiteral("absent, ")));
        QCOMPARE(box.asked().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void registerInOrderStopsAtTheFirstRefusal()
    {
        TestHost host;
        auto manager = host.manager();
        clsAppItemCollection items;
        auto a = items.Add(QStringLiteral("counter"), false, 0);
        auto bad = items.Add(QStringLiteral("noSuchItem"), false, 0);
        auto c = items.Add(QStringLiteral("message"), false, 0);
        QVERIFY_THROWS_EXCEPTION(VexException, items.Register(manager));
        QVERIFY(a->isRegistered());
        QVERIFY(!bad->isRegistered());
        QVERIFY(!c->isRegistered());

        items.Remove(QStringLiteral("noSuchItem"));
        items.Register(manager);
        QVERIFY(c->isRegistered());
        QCOMPARE(items.NewEnum(), (QList<std::shared_ptr<clsAppItem>>{a, c}));
        items.UnRegister();
        QVERIFY(!a->isRegistered() && !c->isRegistered());
    }

    void recordAndSequenceCollectionsPassTheMask()
    {
        TestHost host;
        auto manager = host.manager();
        clsSeqItemCollection sequences;
        auto upload = sequences.Add(QStringLiteral("Upload"), false, 0, 3);
        clsRecItemCollection records;
        auto record = records.Add(QStringLiteral("ReadPrimaryVariable"), false, 0, 4);
        sequences.Register(manager);
        records.Register(manager);
        QCOMPARE(upload->regMask(), qint16(3));
        QVERIFY(upload->handle(clsPartItemBase::StatePart) > 0);
        QVERIFY(upload->handle(clsPartItemBase::ControlPart) > 0);
        QCOMPARE(record->handle(clsPartItemBase::StatePart), 0);
        QVERIFY(record->handle(clsPartItemBase::ResponsePart) > 0);
    }
};

VEX_TEST(TstCollections)
#include "tst_Collections.moc"

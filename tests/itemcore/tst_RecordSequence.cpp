#include "MethodTarget.h"
#include "TestHost.h"
#include "TestRegistry.h"

#include "ItemStore.h"
#include "VexAppletItemManager.h"
#include "VexException.h"
#include "clsRecordItem.h"
#include "clsSequenceItem.h"
#include "enmRegMask.h"

#include <QTest>

class TstRecordSequence : public QObject
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
    }

    void partsByMask_data()
    {
        QTest::addColumn<bool>("sequence");
        QTest::addColumn<int>("mask");
        QTest::addColumn<QStringList>("registered");
        const QString r = QStringLiteral("ReadPrimaryVariable");
        const QString s = QStringLiteral("Upload");
        QTest::newRow("record 0") << false << 0 << QStringList{};
        QTest::newRow("record 7") << false << 7
                                  << QStringList{"&&Record_State&&" + r, "&&Record_Response&&" + r,
                                                 "&&Record_Response_Control&&" + r};
        QTest::newRow("record state") << false << 1 << QStringList{"&&Record_State&&" + r};
        QTest::newRow("sequence 7")
            << true << 7 << QStringList{"&&Sequence_State&&" + s, "&&Sequence_Control&&" + s};
        QTest::newRow("sequence control") << true << 2 << QStringList{"&&Sequence_Control&&" + s};
    }

    void partsByMask()
    {
        QFETCH(bool, sequence);
        QFETCH(int, mask);
        QFETCH(QStringList, registered);
        std::unique_ptr<clsPartItemBase> item;
        if (sequence)
            item = std::make_unique<clsSequenceItem>();
        else
            item = std::make_unique<clsRecordItem>();
        item->Register(m_manager,
                       sequence ? QStringLiteral("Upload") : QStringLiteral("ReadPrimaryVariable"),
                       false, 0, qint16(mask));
        QVERIFY(item->isRegistered());
        QCOMPARE(m_manager->viewCount(), 1);
        QStringList seen;
        const ItemStore &store = m_manager->store();
        for (int i = 0; i < store.count(); ++i) {
            if (m_manager->registrationCount(i) > 0)
                seen << store.definition(i).name;
        }
        QCOMPARE(seen, registered);
        item->UnRegister();
        for (int i = 0; i < store.count(); ++i)
            QCOMPARE(m_manager->registrationCount(i), 0);
        // A sequence lets its view go with the registration; a record keeps it.
        QCOMPARE(m_manager->viewCount(), sequence ? 0 : 1);
    }

    void statusRoundsHalfToEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("status");
        QTest::newRow("2.5") << 2.5 << 2;
        QTest::newRow("3.5") << 3.5 << 4;
        QTest::newRow("32") << 32.0 << 32;
        QTest::newRow("0.49") << 0.49 << 0;
    }

    void statusRoundsHalfToEven()
    {
        QFETCH(double, value);
        QFETCH(int, status);
        QCOMPARE(clsPartItemBase::roundStatus(value), status);
    }

    void stateChangesBecomeStatusAndMethodCall()
    {
        MethodTarget target;
        clsSequenceItem sequence;
        sequence.Register(m_manager, QStringLiteral("Upload"), false, 0,
                          REGISTER_STATE | REGISTER_CONTROL, &target,
                          QStringLiteral("StatusChanged"));
        QList<qint32> statuses;
        connect(&sequence, &clsSequenceItem::StatusChanged, this,
                [&](qint32 &s) { statuses << s; });
        testhost::setShadow(*m_manager, QStringLiteral("&&Sequence_State&&Upload"),
                            QStringLiteral("32"));
        testhost::setShadow(*m_manager, QStringLiteral("&&Sequence_State&&Upload"),
                            QStringLiteral("0"));
        // The host may report the same state again; each report counts.
        testhost::setShadow(*m_manager, QStringLiteral("&&Sequence_State&&Upload"),
                            QStringLiteral("0"));
        QCOMPARE(statuses, (QList<qint32>{32, 0, 0}));
        QCOMPARE(target.calls, (QStringList{"Upload=32", "Upload=0", "Upload=0"}));
        QCOMPARE(sequence.SequenceState(), 0.0);

        // Writes to the control item change no status.
        qint32 action = 2;
        sequence.DoAction(action);
        QCOMPARE(statuses.size(), 3);
        const int control = m_manager->store().indexOf("&&Sequence_Control&&Upload");
        QCOMPARE(m_manager->store().text(control, false), QStringLiteral("2"));
    }

    void responseRaisesOnlyResponseCatched()
    {
        MethodTarget target;
        clsRecordItem record;
        record.Register(m_manager, QStringLiteral("ReadPrimaryVariable"), false, 0, 7, &target,
                        QStringLiteral("StatusChanged"));
        QList<QByteArray> responses;
        int statusEvents = 0;
        connect(&record, &clsRecordItem::ResponseCatched, this,
                [&](QByteArray &b) { responses << b; });
        connect(&record, &clsRecordItem::StatusChanged, this, [&](qint32 &) { ++statusEvents; });
        testhost::setShadow(*m_manager, QStringLiteral("&&Record_Response&&ReadPrimaryVariable"),
                            QStringLiteral("01 07 40"));
        QCOMPARE(responses, QList<QByteArray>{QByteArray("\x01\x07\x40")});
        QCOMPARE(record.ResponseCode(), QByteArray("\x01\x07\x40"));
        QCOMPARE(statusEvents, 0);
        QVERIFY(target.calls.isEmpty());

        testhost::setShadow(*m_manager, QStringLiteral("&&Record_State&&ReadPrimaryVariable"),
                            QStringLiteral("17"));
        QCOMPARE(statusEvents, 1);
        QCOMPARE(target.calls, QStringList{"ReadPrimaryVariable=17"});
    }

    void startForceAdjustRaise_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("description");
        const QString start = QStringLiteral("Sequenz konnte nicht gestartet werden");
        QTest::newRow("start unknown") << "start"
                                       << "Nope" << int(UNKNOWN_SEQUENCE)
                                       << "clsSequenceItem.StartSequence(\"Nope\")" << start;
        QTest::newRow("force unknown") << "force"
                                       << "Nope" << int(UNKNOWN_SEQUENCE)
                                       << "clsSequenceItem.StartSequence(\"Nope\")" << start;
        QTest::newRow("adjust unknown")
            << "adjust"
            << "Nope" << int(UNKNOWN_SEQUENCE) << "clsSequenceItem.fncStartAdjust(\"Nope\")"
            << "Sequenz unbekannt";
    }

    void startForceAdjustRaise()
    {
        QFETCH(QString, how);
        QFETCH(QString, name);
        QFETCH(int, number);
        QFETCH(QString, source);
        QFETCH(QString, description);
        // Starting needs only the manager, not a registration.
        clsSequenceItem sequence;
        sequence.Register(m_manager, name, false, 0, 0);
        try {
            if (how == "start")
                sequence.Start();
            else if (how == "force")
                sequence.Force();
            else
                sequence.Adjust();
            QFAIL("no error raised");
        } catch (const VexException &e) {
            QCOMPARE(e.number(), number);
            QCOMPARE(e.source(), source);
            QCOMPARE(e.description(), description);
        }
    }

    void commandsWithoutAManagerFail()
    {
        clsSequenceItem sequence;
        sequence.Init(QStringLiteral("Upload"));
        qint32 action = 1;
        QVERIFY_THROWS_EXCEPTION(VexException, sequence.DoAction(action));
        QVERIFY_THROWS_EXCEPTION(VexException, sequence.Start());
    }

private:
    std::unique_ptr<TestHost> m_host;
    std::shared_ptr<VexAppletItemManager> m_manager;
};

VEX_TEST(TstRecordSequence)
#include "tst_RecordSequence.moc"

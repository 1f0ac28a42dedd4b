#include "MethodTarget.h"
#include "TestHost.h"
#include "TestRegistry.h"

#include "ItemStore.h"
#include "Module1.h"
#include "UpdateScheduler.h"
#include "VexAppletItemManager.h"
#include "VexException.h"
#include "clsAppItem.h"

#include <QLoggingCategory>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <memory>
#include <stdexcept>

class TstAppItem : public QObject
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

    void registrationMakesANewViewEachTime()
    {
        clsAppItem item;
        item.Register(m_manager, QStringLiteral("counter"));
        QVERIFY(item.isRegistered());
        QCOMPARE(m_manager->viewCount(), 1);
        const int index = m_manager->store().indexOf(QStringLiteral("counter"));
        QCOMPARE(item.itemHandle(), index + 1);

        // The second registration ends the first: one view, one registration.
        item.Register1(m_manager);
        QCOMPARE(m_manager->viewCount(), 1);
        QCOMPARE(m_manager->registrationCount(index), 1);

        item.UnRegister();
        QVERIFY(!item.isRegistered());
        QCOMPARE(m_manager->registrationCount(index), 0);
        // The view stays with the host until the item goes away.
        QCOMPARE(m_manager->viewCount(), 1);
        // Still readable while the handle is known.
        QCOMPARE(item.StringValue(), QStringLiteral("-5"));
    }

    void destructionLeavesTheHost()
    {
        {
            clsAppItem item;
            item.Register(m_manager, QStringLiteral("counter"));
        }
        QCOMPARE(m_manager->viewCount(), 0);
        QCOMPARE(m_manager->registrationCount(m_manager->store().indexOf("counter")), 0);
    }

    void unknownNameFailsRegistration()
    {
        clsAppItem item;
        try {
            item.Register(m_manager, QStringLiteral("noSuchItem"));
            QFAIL("no error raised");
        } catch (const VexException &e) {
            QCOMPARE(e.number(), qint32(0x80040064));
            QCOMPARE(e.source(), QStringLiteral("clsAppItem.IAppItem_Register"));
            QCOMPARE(e.description(),
                     QStringLiteral("Registrierung von noSuchItem fehlgeschlagen"));
        }
        QVERIFY(!item.isRegistered());
        // Its view stays registered with the host.
        QCOMPARE(m_manager->viewCount(), 1);
        // Without a handle the string value is the item's name.
        QCOMPARE(item.StringValue(), QStringLiteral("noSuchItem"));
    }

    void updateIntervalSelectsTheShadowCopy()
    {
        testhost::setShadow(*m_manager, QStringLiteral("scaleInLoLim"), QStringLiteral("2.5"));
        clsAppItem periodic;
        periodic.Register(m_manager, QStringLiteral("scaleInLoLim"), false, 5);
        QVERIFY(periodic.RegisterOnShadow());
        QCOMPARE(periodic.FloatValue(), 2.5f);

        clsAppItem plain;
        plain.Register(m_manager, QStringLiteral("scaleInLoLim"));
        QVERIFY(!plain.RegisterOnShadow());
        QCOMPARE(plain.FloatValue(), 0.0f);
        QCOMPARE(m_manager->updateScheduler().interval(
                     m_manager->store().indexOf(QStringLiteral("scaleInLoLim"))),
                 5);
    }

    void neverRegisteredReadsGiveDefaults()
    {
        clsAppItem item;
        item.Init(QStringLiteral("counter"));
        QCOMPARE(item.StringValue(), QStringLiteral("counter"));
        QCOMPARE(item.IntValue(), 0);
        QCOMPARE(item.FloatValue(), 0.0f);
        QVERIFY(!item.OctetValue().isValid());
        QVERIFY(item.PCAValue().isNull());
        QCOMPARE(item.EnumValue(), QString());
        // Writes before registration change nothing.
        item.setIntValue(99);
        QCOMPARE(m_manager->store().text(m_manager->store().indexOf("counter"), false),
                 QStringLiteral("-5"));
    }

    void typedReadsAndWrites()
    {
        clsAppItem f, u, i, b, p, d, s;
        f.Register(m_manager, QStringLiteral("scaleInLoLim"));
        u.Register(m_manager, QStringLiteral("primaryValueUnit"));
        i.Register(m_manager, QStringLiteral("counter"));
        b.Register(m_manager, QStringLiteral("bcdItem"));
        p.Register(m_manager, QStringLiteral("pbTagDesc"));
        d.Register(m_manager, QStringLiteral("installDate"));
        s.Register(m_manager, QStringLiteral("message"));

        f.setFloatValue(-12.75f);
        QCOMPARE(f.FloatValue(), -12.75f);
        QCOMPARE(f.StringValue(), QStringLiteral("-12.75"));
        u.setUIntValue(8);
        QCOMPARE(u.UIntValue(), 8.0);
        QCOMPARE(u.EnumValue(), QStringLiteral("mbar"));
        i.setIntValue(-70000);
        QCOMPARE(i.IntValue(), -70000);
        b.setBCDValue(4321);
        QCOMPARE(b.BCDValue(), 4321);
        p.setPCAValue("pt-101");
        QCOMPARE(p.PCAValue(), QByteArray("PT-101  "));
        d.setHartDateValue(QByteArray("\x07\x0c\x7e", 3));
        QCOMPARE(d.StringValue(), QStringLiteral("2026-12-07"));
        s.setStringValue(QStringLiteral("free text"));
        QCOMPARE(s.StringValue(), QStringLiteral("free text"));
        // The string form is accepted by every type.
        f.setStringValue(QStringLiteral("1.5"));
        QCOMPARE(f.FloatValue(), 1.5f);
        QCOMPARE(f.DataType(), 4);
        QCOMPARE(s.DataType(), 1);
    }

    void wrongTypeReactions_data()
    {
        QTest::addColumn<QString>("accessor");
        QTest::addColumn<QString>("source"); // empty: no error raised
        QTest::addColumn<QString>("logged"); // the source in the log line, if any
        // The host's refusal raises nothing; the item core logs it instead.
        QTest::newRow("UInt get") << "UIntGet"
                                  << ""
                                  << "clsAppItem.UIntValue";
        QTest::newRow("UInt set") << "UIntSet"
                                  << ""
                                  << "clsAppItem.UIntValue";
        QTest::newRow("String set") << "StringSet"
                                    << ""
                                    << "clsAppItem.StringValue";
        QTest::newRow("BCD") << "BCD"
                             << ""
                             << "";
        QTest::newRow("Float") << "Float"
                               << ""
                               << "";
        QTest::newRow("Int") << "Int"
                             << ""
                             << "";
        QTest::newRow("PCA") << "PCA"
                             << ""
                             << "";
        QTest::newRow("HartDate") << "HartDate"
                                  << ""
                                  << "";
        QTest::newRow("Octet get") << "OctetGet"
                                   << "clsAppItem.OctetValue"
                                   << "";
        QTest::newRow("Octet set") << "OctetSet"
                                   << "clsAppItem.OctetValue"
                                   << "";
    }

    void wrongTypeReactions()
    {
        QFETCH(QString, accessor);
        QFETCH(QString, source);
        QFETCH(QString, logged);
        // "message" is a string item: only the string form fits it.
        clsAppItem item;
        item.Register(m_manager, QStringLiteral("message"));
        QLoggingCategory::setFilterRules(QStringLiteral("vex.itemcore.info=true"));
        const auto rules = qScopeGuard([] { QLoggingCategory::setFilterRules(QString()); });
        if (!logged.isEmpty())
            QTest::ignoreMessage(QtInfoMsg, QRegularExpression(" \\(0x80040065\\) in " +
                                                               QRegularExpression::escape(logged)));
        try {
            if (accessor == "UIntGet")
                QCOMPARE(item.UIntValue(), 0.0);
            else if (accessor == "UIntSet")
                item.setUIntValue(3);
            else if (accessor == "StringSet")
                item.setStringValue(QString(40, QLatin1Char('x'))); // longer than the item
            else if (accessor == "BCD")
                item.setBCDValue(item.BCDValue());
            else if (accessor == "Float")
                item.setFloatValue(item.FloatValue());
            else if (accessor == "Int")
                item.setIntValue(item.IntValue());
            else if (accessor == "PCA")
                item.setPCAValue(item.PCAValue());
            else if (accessor == "HartDate")
                item.setHartDateValue(item.HartDateValue());
            else if (accessor == "OctetGet")
                item.OctetValue();
            else if (accessor == "OctetSet")
                item.setOctetValue(QVariant(QByteArray("ab")));
            QVERIFY2(source.isEmpty(), "expected an error");
        } catch (const VexException &e) {
            QCOMPARE(e.number(), qint32(INVALID_DATATYPE));
            QCOMPARE(e.source(), source);
            QCOMPARE(e.description(), QStringLiteral("Falsche Zugriffsfunktion"));
        }
        QCOMPARE(item.StringValue(), QStringLiteral("hello"));
    }

    // What a swallowed error logs: the item core's numbered error with its
    // source, the text of any other exception.
    void errorTextOfTheCaughtException()
    {
        const auto caught = [](auto raise) {
            try {
                raise();
            } catch (...) {
                return CurrentErrorText();
            }
            return QString();
        };
        QCOMPARE(caught([] { throw VexException(INVALID_DATATYPE, "clsAppItem.EnumValue", "x"); }),
                 QStringLiteral("x (0x80040065) in clsAppItem.EnumValue"));
        QCOMPARE(caught([] { throw std::runtime_error("disk full"); }),
                 QStringLiteral("disk full"));
        QCOMPARE(caught([] { throw 42; }), QStringLiteral("an error of unknown type"));
    }

    void enumValueOfAnItemThatIsNoUInt()
    {
        clsAppItem item;
        item.Register(m_manager, QStringLiteral("sensorCode"));
        QVERIFY(item.hasEnumeration());
        try {
            item.EnumValue();
            QFAIL("no error raised");
        } catch (const VexException &e) {
            QCOMPARE(e.number(), qint32(INVALID_DATATYPE));
            QCOMPARE(e.source(), QStringLiteral("clsAppItem.fncgetAsString"));
        }
    }

    void nulCutsTheString()
    {
        clsAppItem item;
        item.Register(m_manager, QStringLiteral("message"));
        QString heard;
        connect(&item, &clsAppItem::ValueUpdate, this, [&heard](QString &value) { heard = value; });
        item.setStringValue(QStringLiteral("12.5") + QChar(0) + QStringLiteral("junk"));
        QCOMPARE(item.StringValue(), QStringLiteral("12.5"));
        QCOMPARE(heard, QStringLiteral("12.5"));
        item.setStringValue(QStringLiteral("whole"));
        QCOMPARE(item.StringValue(), QStringLiteral("whole"));
        // The text is searched several characters a step: a NUL in any
        // place of a step, and in the rest after the last whole step.
        for (int size = 1; size <= 9; ++size) {
            QString text;
            for (int i = 0; i < size; ++i)
                text += QChar(u'a' + i);
            for (int nul = 0; nul < size; ++nul) {
                QString withNul = text;
                withNul[nul] = QChar(0);
                item.setStringValue(withNul);
                QCOMPARE(item.StringValue(), text.left(nul));
            }
            item.setStringValue(text);
            QCOMPARE(item.StringValue(), text);
        }
    }

    void octetWritesKeepTheItemLength_data()
    {
        QTest::addColumn<QVariant>("input");
        QTest::addColumn<QByteArray>("stored");
        QVariantList ten, three;
        for (int i = 1; i <= 10; ++i)
            ten << i;
        three << 9 << 8 << 7;
        QTest::newRow("longer") << QVariant(ten) << QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08");
        QTest::newRow("shorter") << QVariant(three) << QByteArray("\x09\x08\x07\0\0\0\0\0", 8);
        QTest::newRow("bytes") << QVariant(QByteArray("\xff\x10", 2))
                               << QByteArray("\xff\x10\0\0\0\0\0\0", 8);
        QTest::newRow("not an array") << QVariant(5) << QByteArray(8, '\0');
    }

    void octetWritesKeepTheItemLength()
    {
        QFETCH(QVariant, input);
        QFETCH(QByteArray, stored);
        clsAppItem item;
        item.Register(m_manager, QStringLiteral("octets8"));
        item.setOctetValue(QVariantList{0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA});
        item.setOctetValue(input);
        QCOMPARE(item.OctetValue().toByteArray(), stored);
    }

    void octetOverflowWritesNothing()
    {
        clsAppItem item;
        item.Register(m_manager, QStringLiteral("octets8"));
        try {
            item.setOctetValue(QVariantList{1, 256});
            QFAIL("no overflow");
        } catch (const VexException &e) {
            QCOMPARE(e.number(), VexException::Overflow);
        }
        QCOMPARE(item.OctetValue().toByteArray(), QByteArray(8, '\0'));
    }

    void enumValueFallsBackToTheDatasetFor255()
    {
        clsAppItem shadow;
        shadow.Register(m_manager, QStringLiteral("primaryValueUnit"), true);
        QVERIFY(shadow.hasEnumeration());
        testhost::setShadow(*m_manager, QStringLiteral("primaryValueUnit"), QStringLiteral("255"));
        testhost::setDataset(*m_manager, QStringLiteral("primaryValueUnit"), QStringLiteral("8"));
        QCOMPARE(shadow.EnumValue(), QStringLiteral("mbar"));
        testhost::setShadow(*m_manager, QStringLiteral("primaryValueUnit"), QStringLiteral("7"));
        QCOMPARE(shadow.EnumValue(), QStringLiteral("bar"));
        // A value without an entry has no text.
        testhost::setShadow(*m_manager, QStringLiteral("primaryValueUnit"), QStringLiteral("99"));
        QCOMPARE(shadow.EnumValue(), QString());

        clsAppItem plain;
        plain.Register(m_manager, QStringLiteral("counter"));
        QVERIFY(!plain.hasEnumeration());
        QCOMPARE(plain.EnumValue(), QString());
    }

    void eventsInOrderWithTheValueByReference_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("plain") << 0
                               << QStringList{"3:7:0", "u:changed", "2:changed:0", "m:changed"};
        QTest::newRow("takeover") << 0x10
                                  << QStringList{"3:7:16", "u:changed", "2:changed:1",
                                                 "m:changed/s"};
        QTest::newRow("ignored") << 0x14 << QStringList{};
        QTest::newRow("modified flag")
            << 0x01 << QStringList{"3:7:1", "u:changed", "2:changed:0", "m:changed"};
    }

    void eventsInOrderWithTheValueByReference()
    {
        QFETCH(int, state);
        QFETCH(QStringList, expected);
        MethodTarget target;
        clsAppItem item;
        item.Register(m_manager, QStringLiteral("primaryValueUnit"), false, 0, &target,
                      QStringLiteral("Changed"));
        QStringList seen;
        connect(&item, &clsAppItem::ValueUpdate3, this, [&](QString &value, qint32 &itemState) {
            seen << QStringLiteral("3:%1:%2").arg(value).arg(itemState);
            value = QStringLiteral("changed"); // the later handlers see this
        });
        connect(&item, &clsAppItem::ValueUpdate, this,
                [&](QString &value) { seen << QStringLiteral("u:") + value; });
        connect(&item, &clsAppItem::ValueUpdate2, this, [&](QString &value, bool &suppress) {
            seen << QStringLiteral("2:%1:%2").arg(value).arg(int(suppress));
        });
        qint32 handle = item.itemHandle();
        item.OnNotifyChanged(handle, false, state, 0);
        for (const QString &call : target.calls)
            seen << QStringLiteral("m:") + call;
        QCOMPARE(seen, expected);
    }

    // An event is raised only while something listens: receivers that come
    // late hear it, one that goes (disconnected or destroyed) leaves the
    // others hearing.
    void eventsFollowTheirReceivers()
    {
        clsAppItem item;
        item.Register(m_manager, QStringLiteral("counter"));
        clsAppItem writer;
        writer.Register(m_manager, QStringLiteral("counter"));
        writer.setIntValue(1); // nobody listens yet
        QStringList seen;
        auto late = std::make_unique<QObject>();
        connect(&item, &clsAppItem::ValueUpdate, late.get(),
                [&](QString &value) { seen << "u:" + value; });
        const auto second = connect(&item, &clsAppItem::ValueUpdate2, this,
                                    [&](QString &value, bool &) { seen << "2:" + value; });
        connect(&item, &clsAppItem::ValueUpdate3, this,
                [&](QString &value, qint32 &) { seen << "3:" + value; });
        writer.setIntValue(2);
        disconnect(second);
        late.reset();
        writer.setIntValue(3);
        QCOMPARE(seen, (QStringList{"3:2", "u:2", "2:2", "3:3"}));
    }

    void hostChangesReachTheItem()
    {
        clsAppItem item;
        item.Register(m_manager, QStringLiteral("counter"));
        QStringList values;
        QList<qint32> states;
        connect(&item, &clsAppItem::ValueUpdate3, this, [&](QString &value, qint32 &state) {
            values << value;
            states << state;
        });
        clsAppItem writer;
        writer.Register(m_manager, QStringLiteral("counter"));
        writer.setIntValue(42);
        writer.setIntValue(42); // unchanged: marked to be ignored, so nothing is raised
        QCOMPARE(values, QStringList{"42"});
        QCOMPARE(states, QList<qint32>{ItemStore::StateModified});

        // Data the host takes over carries 0x10; the modified flag is cleared.
        ItemStore &store = m_manager->store();
        const int index = store.indexOf(QStringLiteral("counter"));
        ItemValue v = store.value(index, false);
        v.setNumber(7);
        store.takeOverDataset(index, v, false);
        QCOMPARE(values.last(), QStringLiteral("7"));
        QCOMPARE(states.last(), ItemStore::StateTakeover);
    }

    void adjustCopiesTheShadowValue()
    {
        clsAppItem item;
        item.Register(m_manager, QStringLiteral("scaleInLoLim"));
        item.setFloatValue(3);
        testhost::setShadow(*m_manager, QStringLiteral("scaleInLoLim"), QStringLiteral("9.5"));
        QVERIFY(m_manager->store().isModified(m_manager->store().indexOf("scaleInLoLim")));
        item.Adjust();
        QCOMPARE(item.FloatValue(), 9.5f);
        QVERIFY(!m_manager->store().isModified(m_manager->store().indexOf("scaleInLoLim")));
    }

    void writesTheTypeCannotHoldAreRefused()
    {
        clsAppItem u, p, d;
        u.Register(m_manager, QStringLiteral("primaryValueUnit"));
        p.Register(m_manager, QStringLiteral("pbTagDesc"));
        d.Register(m_manager, QStringLiteral("installDate"));
        u.setUIntValue(-1);
        u.setUIntValue(1.5);
        QCOMPARE(u.UIntValue(), 7.0);
        p.setPCAValue("much too long");
        p.setPCAValue("tab\there");
        QCOMPARE(p.StringValue(), QStringLiteral("TAG     "));
        d.setHartDateValue(QByteArray("\x1f\x02\x64", 3)); // 31 February
        QCOMPARE(d.StringValue(), QStringLiteral("2020-02-29"));
        // An enumerated item also takes its text.
        u.setStringValue(QStringLiteral("MBAR"));
        QCOMPARE(u.UIntValue(), 8.0);
    }

private:
    std::unique_ptr<TestHost> m_host;
    std::shared_ptr<VexAppletItemManager> m_manager;
};

VEX_TEST(TstAppItem)
#include "tst_AppItem.moc"

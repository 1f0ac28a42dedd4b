#include "ScriptedHartLink.h"
#include "TestRegistry.h"

#include "ChangeLog.h"
#include "ChangeNames.h"
#include "HistoryDatabase.h"
#include "ScriptedMessageBox.h"
#include "generic/GenericDevice.h"
#include "hart/HartMaster.h"
#include "hart/HartProtocol.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// Command 0 of a revision 7 device of another maker: expanded device type
// E123, revision 7, device id 123456, then preambles, variables, change
// counter, extended status, manufacturer 002A, distributor, profile.
QByteArray hart7Identity(const char *deviceId = "123456")
{
    return hex("FE E123 05 07 02 03 10 00") + hex(deviceId) + hex("05 04 0007 00 002A 002A 01");
}

// Command 0 of a revision 5 device: manufacturer 2A, type 61.
QByteArray hart5Identity()
{
    return hex("FE 2A 61 05 05 01 02 08 00 00BEEF");
}

using Kind = HartMaster::Outcome::Kind;
using Action = GenericDevice::Action;
namespace universal = ChangeNames::universal;

} // namespace

// The generic view's controller against a device written down byte for byte
// (ScriptedHartLink): what it reads for each revision, how it takes answers
// it cannot use, and the loop current it holds across a lost connection.
class TstGenericDevice : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedHartLink> m_link;
    std::unique_ptr<HartMaster> m_master;
    std::unique_ptr<HistoryDatabase> m_database;
    std::unique_ptr<ChangeLog> m_log;
    std::unique_ptr<GenericDevice> m_device;
    int m_hostStatus = 0;
    // The journal: straight into the change log, with the problem a test gives.
    QList<QList<qint64>> m_tokens;
    QString m_problem;

    static ChangeEntry::Outcome entryOutcome(DeviceWriteJournal::Outcome outcome)
    {
        using O = DeviceWriteJournal::Outcome;
        using E = ChangeEntry::Outcome;
        return outcome == O::Accepted  ? E::Accepted
               : outcome == O::Refused ? E::Refused
               : outcome == O::NotSent ? E::NotSent
                                       : E::Unknown;
    }

    // Everything a small temperature transmitter answers.
    void answerEverything(const QByteArray &identity)
    {
        m_link->answer(0, identity);
        // "TT-4", "BOILER", 1 Jan 2020.
        m_link->answer(13, hex("514B74820820") + hex("08F24C152820820820820820") + hex("010178"));
        m_link->answer(12, hex("820820820820820820820820820820820820820820820820"));
        m_link->answer(20, QByteArray("Boiler 4 \xC4u\xDF"
                                      "en") +
                               QByteArray(18, '\0'));
        m_link->answer(16, hex("000001"));
        // Sensor -200 .. 850 degC, span 10.
        m_link->answer(14, hex("000007 20 44548000 C3480000 41200000"));
        // High alarm, linear, degC, 150 / 0, 2 s, not protected.
        m_link->answer(15, hex("00 00 20 43160000 00000000 40000000 00 FA 00"));
        // 12 mA, 75 degC, 25.5 degC (terminals), nothing more.
        m_link->answer(3, hex("41400000 20 42960000 20 41CC0000"));
        m_link->answer(2, hex("41400000 42480000"));
        m_link->answer(48, hex("000000000000 01 00 80 00 00 00 00 00"));
        for (const quint8 write : {17, 18, 22, 34, 35, 40, 43, 44, 45, 46})
            m_link->echo(write);
    }

    bool finish(const std::function<bool()> &action, GenericDevice::Result *result = nullptr)
    {
        QSignalSpy finished(m_device.get(), &GenericDevice::finished);
        // A write kept back ends at once.
        if (!action() || (finished.isEmpty() && !finished.wait(2000)))
            return false;
        if (result)
            *result = finished.first().first().value<GenericDevice::Result>();
        return true;
    }

    bool started()
    {
        QSignalSpy finished(m_device.get(), &GenericDevice::finished);
        m_device->start();
        return finished.wait(2000) && m_device->state() == GenericDevice::State::Ready;
    }

    // The host finds the device again after the link came back.
    void hostReconnects()
    {
        m_link->open();
        m_master->identify(0, [](const HartMaster::Outcome &) {});
    }

    QList<ChangeEntry> logged() const
    {
        QList<ChangeEntry> entries = m_log->entries();
        std::reverse(entries.begin(), entries.end());
        return entries;
    }

    QList<QByteArray> sent(quint8 command) const
    {
        QList<QByteArray> data;
        for (const auto &r : m_link->requests) {
            if (r.command == command)
                data.append(r.data);
        }
        return data;
    }

private Q_SLOTS:
    void init()
    {
        m_link = std::make_unique<ScriptedHartLink>();
        m_master = std::make_unique<HartMaster>(m_link.get());
        m_database = std::make_unique<HistoryDatabase>(
            m_dir.filePath(QString::fromLatin1(QTest::currentTestFunction()) + ".sqlite"));
        QCOMPARE(m_database->open(), HistoryDatabase::Status::Open);
        m_log = std::make_unique<ChangeLog>(*m_database);
        m_device = std::make_unique<GenericDevice>(m_master.get());
        m_problem.clear();
        m_device->changeLog().setJournal(
            {[this](const QList<ChangeEntry> &entries, QString *problem) {
                 *problem = m_problem;
                 m_tokens.append(m_log->begin(entries));
                 return qint64(m_tokens.size());
             },
             [this](qint64 token, DeviceWriteJournal::Outcome outcome, int code) {
                 m_log->complete(m_tokens[token - 1], entryOutcome(outcome), code);
             }});
        m_hostStatus = 0;
        m_device->setHostStatus([this] { return m_hostStatus; });
    }
    void cleanup()
    {
        m_tokens.clear();
        m_device.reset();
        m_master.reset();
        m_link.reset();
        m_log.reset();
        m_database.reset();
    }

    // Long tags from revision 6 on, the standard bytes of command 48 from 7 on.
    void readsWhatTheRevisionOffers_data()
    {
        QTest::addColumn<QByteArray>("identity");
        QTest::addColumn<bool>("longTag");
        QTest::newRow("revision 7") << hart7Identity() << true;
        QTest::newRow("revision 5") << hart5Identity() << false;
    }
    void readsWhatTheRevisionOffers()
    {
        QFETCH(QByteArray, identity);
        QFETCH(bool, longTag);
        answerEverything(identity);
        QVERIFY(started());
        const GenericValues &v = m_device->values();
        QCOMPARE(v.tagDescriptorDate->tag, QStringLiteral("TT-4"));
        QCOMPARE(v.tagDescriptorDate->descriptor, QStringLiteral("BOILER"));
        QCOMPARE(v.tagDescriptorDate->date, QDate(2020, 1, 1));
        QCOMPARE(v.message, QString());
        QCOMPARE(v.output->upperRange, 150.0f);
        QCOMPARE(v.sensor->lowerLimit, -200.0f);
        QCOMPARE(v.dynamic->variables.size(), 2);
        QCOMPARE(v.loop->percent, 50.0f);
        QCOMPARE(m_link->commands().contains(20), longTag);
        QCOMPARE(v.longTag.has_value(), longTag);
        if (longTag)
            QCOMPARE(*v.longTag, QStringLiteral("Boiler 4 \u00C4u\u00DFen"));
        QCOMPARE(v.additional->extendedDeviceStatus().has_value(), longTag);
        QCOMPARE(int(v.additional->standardized0().value_or(0)), longTag ? 0x80 : 0);
        QCOMPARE(int(m_device->identity()->universalRevision), longTag ? 7 : 5);
    }

    // "Not implemented" is an answer the window shows; silence is a problem.
    void answersItCannotUse()
    {
        answerEverything(hart7Identity());
        m_link->answer(16, {}, hart::response::CommandNotImplemented);
        m_link->silence(14);
        QSignalSpy finished(m_device.get(), &GenericDevice::finished);
        m_device->start();
        QVERIFY(finished.wait(2000));
        const auto result = finished.first().first().value<GenericDevice::Result>();
        QCOMPARE(result.command, quint8(14));
        QCOMPARE(result.kind, Kind::Timeout);
        QVERIFY(m_device->values().answersNot(16));
        QVERIFY(!m_device->values().sensor);
        QVERIFY(m_device->values().output);
    }

    // The loop current held when the connection dropped is released when
    // the same device answers again, and only then.
    void releasesTheLoopWhenTheDeviceIsBack()
    {
        answerEverything(hart7Identity());
        QVERIFY(started());
        QVERIFY(finish([this] { return m_device->fixCurrent(12.0); }));
        QVERIFY(m_device->heldCurrent());
        QCOMPARE(*m_device->heldCurrent(), 12.0f);
        QCOMPARE(sent(40), QList<QByteArray>{hex("41400000")});

        m_link->close();
        QCOMPARE(m_device->state(), GenericDevice::State::Lost);
        QVERIFY(m_device->releaseWhenBack());
        QVERIFY(!m_device->fixCurrent(4.0));

        QSignalSpy finished(m_device.get(), &GenericDevice::finished);
        hostReconnects();
        QVERIFY(finished.wait(2000));
        QCOMPARE(finished.first().first().value<GenericDevice::Result>().action,
                 Action::ReleaseCurrent);
        QCOMPARE(sent(40), (QList<QByteArray>{hex("41400000"), hex("00000000")}));
        QVERIFY(!m_device->heldCurrent());
        QVERIFY(!m_device->releaseWhenBack());
        const QList<ChangeEntry> entries = logged();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[1].item, QLatin1String(universal::FixedCurrent));
        QCOMPARE(entries[1].oldValue, QStringLiteral("12"));
        QCOMPARE(entries[1].newValue, QStringLiteral("0"));
        QCOMPARE(entries[1].outcome, ChangeEntry::Outcome::Accepted);
        QCOMPARE(entries[1].device, m_device->identity()->key());
    }

    // Another device where the lost one was: its loop is not this view's.
    void anotherDeviceIsNotReleased()
    {
        answerEverything(hart7Identity());
        QVERIFY(started());
        QVERIFY(finish([this] { return m_device->fixCurrent(12.0); }));
        const QString first = m_device->identity()->key();
        m_link->close();
        m_link->answer(0, hart7Identity("654321"));
        QSignalSpy replaced(m_device.get(), &GenericDevice::deviceReplaced);
        QSignalSpy finished(m_device.get(), &GenericDevice::finished);
        hostReconnects();
        QVERIFY(replaced.wait(2000));
        QCOMPARE(replaced.first().first().value<HartDeviceIdentity>().key(), first);
        QVERIFY(finished.wait(2000));
        QCOMPARE(finished.first().first().value<GenericDevice::Result>().action, Action::Read);
        QCOMPARE(sent(40).size(), 1);
        QVERIFY(!m_device->heldCurrent());
        QVERIFY(m_device->identity()->key() != first);
    }

    // Leaving: the loop back to normal first, then the link the view opened
    // itself closed, unless the host has taken the connection over.
    void stopReleasesAndClosesItsOwnLink_data()
    {
        QTest::addColumn<int>("hostStatus");
        QTest::addColumn<bool>("linkOpen");
        QTest::newRow("host not connected") << 0 << false;
        QTest::newRow("host connected meanwhile") << 2 << true;
    }
    void stopReleasesAndClosesItsOwnLink()
    {
        QFETCH(int, hostStatus);
        QFETCH(bool, linkOpen);
        answerEverything(hart7Identity());
        QVERIFY(started());
        QVERIFY(m_link->isOpen());
        QVERIFY(finish([this] { return m_device->fixCurrent(4.0); }));
        m_hostStatus = hostStatus;
        std::optional<GenericDevice::Result> release;
        bool done = false;
        m_device->stop([&](const std::optional<GenericDevice::Result> &r) {
            release = r;
            done = true;
        });
        QTRY_VERIFY(done);
        QVERIFY(release && release->accepted());
        QCOMPARE(release->action, Action::ReleaseCurrent);
        QCOMPARE(sent(40).last(), hex("00000000"));
        QCOMPARE(m_link->isOpen(), linkOpen);
    }

    // A refusal is logged with its code; values the device holds already
    // are not logged as changes.
    void writesAreLoggedAsTheyEnded()
    {
        answerEverything(hart7Identity());
        QVERIFY(started());
        m_link->answer(35, {}, hart::response::LowerRangeTooHigh);
        GenericDevice::Result result;
        QVERIFY(finish([this] { return m_device->writeRange({32, 120.0f, 10.0f}); }, &result));
        QVERIFY(!result.accepted());
        QCOMPARE(sent(35), QList<QByteArray>{hex("20 42F00000 41200000")});
        QVERIFY(finish(
            [this] {
                return m_device->writeTagDescriptorDate({"tt-5", "BOILER", QDate(2020, 1, 1)});
            },
            &result));
        QVERIFY(result.accepted());

        const QList<ChangeEntry> entries = logged();
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries[0].item, QLatin1String(universal::LowerRange));
        QCOMPARE(entries[0].oldValue, QStringLiteral("0"));
        QCOMPARE(entries[0].newValue, QStringLiteral("10"));
        QCOMPARE(entries[0].newUnit, QStringLiteral("°C"));
        QCOMPARE(entries[0].outcome, ChangeEntry::Outcome::Refused);
        QCOMPARE(entries[0].responseCode, 9);
        QCOMPARE(entries[1].item, QLatin1String(universal::UpperRange));
        QCOMPARE(entries[1].oldValue, QStringLiteral("150"));
        QCOMPARE(entries[2].item, QLatin1String(universal::Tag));
        QCOMPARE(entries[2].oldValue, QStringLiteral("TT-4"));
        QCOMPARE(entries[2].newValue, QStringLiteral("TT-5"));
        QCOMPARE(entries[2].tag, QStringLiteral("TT-4"));
        QCOMPARE(entries[2].command, 18);
    }

    // What the history cannot keep goes out only when the user says so; the
    // loop's return to normal always does.
    void unrecordedWritesWaitForTheUser()
    {
        answerEverything(hart7Identity());
        QVERIFY(started());
        QVERIFY(finish([this] { return m_device->fixCurrent(12.0); }));
        m_problem = QStringLiteral("The disk is full.");
        ScriptedMessageBox box;
        box.enqueue(QMessageBox::No);
        GenericDevice::Result result;
        QVERIFY(finish([this] { return m_device->writeDamping(4.0); }, &result));
        QVERIFY(!result.sent);
        QCOMPARE(box.asked().size(), 1);
        QCOMPARE(box.asked()[0].icon, QMessageBox::Warning);
        QVERIFY(box.asked()[0].text.contains(m_problem));
        QVERIFY(sent(34).isEmpty());
        QCOMPARE(logged().last().outcome, ChangeEntry::Outcome::NotSent);

        box.enqueue(QMessageBox::Yes);
        QVERIFY(finish([this] { return m_device->writeDamping(4.0); }, &result));
        QVERIFY(result.accepted());
        QCOMPARE(sent(34), QList<QByteArray>{hex("40800000")});

        QVERIFY(finish([this] { return m_device->releaseCurrent(); }, &result));
        QVERIFY(result.accepted());
        QCOMPARE(box.asked().size(), 2);
    }
};

VEX_TEST(TstGenericDevice)
#include "tst_GenericDevice.moc"

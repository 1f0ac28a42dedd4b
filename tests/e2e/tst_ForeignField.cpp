#include "HartsimProcess.h"
#include "MainWindowRig.h"
#include "PtyPair.h"
#include "RequestLog.h"
#include "TestRegistry.h"

#include "ChangeNames.h"
#include "ConnectionController.h"
#include "DeviceInstance.h"
#include "HistoryService.h"
#include "ResidentViews.h"
#include "ScriptedMessageBox.h"
#include "generic/GenericConfigurationPage.h"
#include "generic/GenericIdentificationPage.h"
#include "generic/GenericLoopPage.h"
#include "generic/GenericStatusPage.h"
#include "generic/GenericValuesPage.h"
#include "generic/frmGenericView.h"
#include "hart/HartCodec.h"
#include "hart/HartMaster.h"
#include "hart/HartProtocol.h"
#include "history/HistoryTexts.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"
#include "simulator/FieldDeviceModel.h"
#include "simulator/FieldDeviceProfile.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace universal = ChangeNames::universal;

// A field of other makers' devices in hartsim, over HART-IP and over the
// serial pty pair, through the real host and main window: each is named,
// the generic view opens on the user's yes, reads and writes it with the
// universal and common-practice commands alone, and files every change
// under the device's own identity.
class TstForeignField : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    PtyPair m_pty;
    HartsimProcess m_sim;
    RequestLog m_wire;
    QString m_profileText; // the link the program was given
    std::unique_ptr<MainWindowRig> m_rig;
    std::unique_ptr<ScriptedMessageBox> m_box;

    bool start(const QString &transport, const QString &profile)
    {
        const QStringList device{QStringLiteral("--device"), QStringLiteral("0=") + profile};
        QString link;
        if (transport == QLatin1String("serial")) {
            if (!m_pty.start(m_dir.filePath(QStringLiteral("modem")),
                             m_dir.filePath(QStringLiteral("device"))) ||
                !m_sim.startSerial(m_pty.deviceEnd(), device))
                return false;
            link = QStringLiteral("serial:") + m_pty.hostEnd();
        } else {
            if (!m_sim.start(device))
                return false;
            link = QStringLiteral("hartip:127.0.0.1:%1").arg(m_sim.tcpPort());
        }
        m_rig = std::make_unique<MainWindowRig>(
            QStringList{"--history", m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()))});
        m_rig->wire = &m_wire;
        QString error;
        m_profileText = link;
        m_rig->link().setProfile(*HartLinkProfile::parse(link, &error));
        m_box = std::make_unique<ScriptedMessageBox>();
        return true;
    }

    frmGenericView *view() const
    {
        for (QMdiSubWindow *f : m_rig->form().mdiArea()->subWindowList()) {
            if (auto *v = qobject_cast<frmGenericView *>(f->widget()); v && f->isVisible())
                return v;
        }
        return nullptr;
    }

    static bool settled(const frmGenericView *view)
    {
        return view->device()->state() == GenericDevice::State::Ready && !view->device()->isBusy();
    }

    // A button of the view, and the action it starts run to its end.
    static bool click(frmGenericView *view, QPushButton *button)
    {
        if (!button->isEnabled())
            return false;
        button->click();
        return QTest::qWaitFor([view] { return settled(view); });
    }

    static void type(QLineEdit *field, const QString &text)
    {
        field->selectAll();
        QTest::keyClicks(field, text);
    }

    // What the device itself answers, through the host's master.
    HartMaster::Outcome ask(quint8 command)
    {
        std::optional<HartMaster::Outcome> answer;
        m_rig->instance().master().transact(
            command, {}, [&answer](const HartMaster::Outcome &o) { answer = o; });
        (void)QTest::qWaitFor([&answer] { return answer.has_value(); }, 5000);
        return answer.value_or(HartMaster::Outcome{});
    }

    HistoryService *history() const { return historyServiceOf(m_rig->form().viewRef()); }

    void hold(double pv)
    {
        QCOMPARE(m_sim.command(QStringLiteral("pv %1 0").arg(pv)), QStringLiteral("ok"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        registerResidentViews();
        registerWorkbenchViews();
    }
    void cleanup()
    {
        m_box.reset();
        m_rig.reset();
        m_sim.kill();
        m_pty.remove();
        m_wire.clear();
    }

    void aDeviceOfAnotherMaker_data()
    {
        QTest::addColumn<QString>("transport");
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("named"); // maker and device type as the header names them
        // The range written, a small reading zeroed, the process afterwards.
        QTest::addColumn<QStringList>("range");
        QTest::addColumn<double>("zeroAt");
        QTest::addColumn<double>("processAt");
        for (const char *transport : {"hart-ip", "serial"}) {
            QTest::addRow("%s HART 7 pressure", transport)
                << transport << "hart7-pressure"
                << "2A-71-3A0100"
                << "Manufacturer Siemens (0x2A), device type 0x2A71" << QStringList{"-0.5", "16"}
                << 0.3 << 4.0;
            QTest::addRow("%s HART 7 temperature", transport)
                << transport << "hart7-temperature"
                << "26-A4-5C2200"
                << "Manufacturer Rosemount (0x26), device type 0x26A4" << QStringList{"20", "220"}
                << 5.0 << 90.0;
            QTest::addRow("%s HART 5 flow", transport)
                << transport << "hart5-flow"
                << "11-5C-071500"
                << "Manufacturer Endress+Hauser (0x11), device type 0x5C" << QStringList{"2", "40"}
                << 0.5 << 12.0;
        }
    }
    void aDeviceOfAnotherMaker()
    {
        QFETCH(QString, transport);
        QFETCH(QString, profile);
        QFETCH(QString, key);
        if (transport == QLatin1String("serial") && !PtyPair::available())
            QFAIL(PtyPair::missing());
        QVERIFY2(start(transport, profile), qPrintable(m_sim.output()));
        const FieldDeviceProfile &p = *FieldDeviceProfile::find(profile);

        connectAndAccept(key);
        if (QTest::currentTestFailed())
            return;
        readsWhatItLists(p, key);
        if (QTest::currentTestFailed())
            return;
        writesTagRangeAndZero();
        if (QTest::currentTestFailed())
            return;
        trimsAndTestsTheLoop();
        if (QTest::currentTestFailed())
            return;
        backToNormal();
        if (QTest::currentTestFailed())
            return;
        loggedUnderItsIdentity(key);

        // Identity, tag and long tag at connect; from then on nothing of
        // this family, nothing device-specific.
        QList<int> connect{0, 13};
        if (p.isHart7())
            connect << 20;
        QCOMPARE(m_wire.commands().mid(0, connect.size()), connect);
        QCOMPARE(m_wire.unreadable(), 0);
        for (const int command : m_wire.commands())
            QVERIFY2(command != 31 && command < 128, qPrintable(QString::number(command)));
    }

    // The program ends while the view holds the loop: the device is
    // returned to normal all the same, as the next session finds it.
    void theProgramEndsWithTheLoopHeld_data()
    {
        QTest::addColumn<QString>("transport");
        QTest::newRow("hart-ip") << "hart-ip";
        QTest::newRow("serial") << "serial";
    }
    void theProgramEndsWithTheLoopHeld()
    {
        QFETCH(QString, transport);
        if (transport == QLatin1String("serial") && !PtyPair::available())
            QFAIL(PtyPair::missing());
        QVERIFY2(start(transport, QStringLiteral("hart7-pressure")), qPrintable(m_sim.output()));
        connectAndAccept(QStringLiteral("2A-71-3A0100"));
        frmGenericView *v = view();
        QVERIFY(v);
        type(v->pageLoop->txtLoopCurrent, QStringLiteral("12"));
        m_box->enqueue(QMessageBox::Yes);
        QVERIFY(click(v, v->pageLoop->cmdLoopStart));
        QVERIFY(ask(hart::command::ReadLoopCurrentAndPercent).deviceStatus &
                hart::status::OutputFixed);

        // The user closes the main window; once it has gone the program
        // ends: what is posted runs, the instance closes, no event loop
        // runs in between.
        // The window may be gone by the time this looks again.
        QPointer<frmMain> form = &m_rig->form();
        QVERIFY(form->isVisible());
        form->close();
        QTRY_VERIFY(!form || !form->isVisible());
        QCoreApplication::sendPostedEvents();
        m_rig.reset();

        m_rig = std::make_unique<MainWindowRig>(
            QStringList{"--history", m_dir.filePath(QStringLiteral("again"))});
        QString error;
        m_rig->link().setProfile(*HartLinkProfile::parse(m_profileText, &error));
        m_box->enqueue(QMessageBox::No);
        m_rig->form().runMenuCommand(QStringLiteral("mnuDeviceConnect"));
        QTRY_COMPARE_WITH_TIMEOUT(m_box->asked().size(), 3, 10000);
        QVERIFY(!(ask(hart::command::ReadLoopCurrentAndPercent).deviceStatus &
                  hart::status::OutputFixed));
    }

private:
    void connectAndAccept(const QString &key)
    {
        m_box->enqueue(QMessageBox::Yes);
        m_rig->form().runMenuCommand(QStringLiteral("mnuDeviceConnect"));
        QTRY_COMPARE_WITH_TIMEOUT(m_box->asked().size(), 1, 10000);
        const QString text = m_box->texts().first();
        QVERIFY2(text.contains(key) && text.contains(QLatin1String("generic HART view")),
                 qPrintable(text));
        QCOMPARE(m_rig->instance().connection().linkCondition(),
                 ConnectionController::LinkCondition::ForeignDevice);
        QTRY_VERIFY(view());
        frmGenericView *v = view();
        QVERIFY(QTest::qWaitFor([v] { return settled(v) && v->device()->values().output; }));
    }

    // Everything the window lists came from the device, nothing is missing.
    void readsWhatItLists(const FieldDeviceProfile &p, const QString &key)
    {
        frmGenericView *v = view();
        const GenericValues &values = v->device()->values();
        QCOMPARE(v->device()->identity()->key(), key);
        QCOMPARE(v->pageIdentification->lblKey->text(), key);
        QFETCH(QString, named);
        QVERIFY2(v->lblIdentity->text().startsWith(named), qPrintable(v->lblIdentity->text()));
        QCOMPARE(values.notImplemented, QSet<quint8>());
        QVERIFY(values.sensor && values.loop && values.dynamic && values.additional &&
                values.message && values.finalAssemblyNumber);
        QCOMPARE(v->lblResult->text(), QStringLiteral("Reading: done."));

        GenericIdentificationPage *id = v->pageIdentification;
        QCOMPARE(id->txtTag->text(), p.tag);
        QCOMPARE(id->txtDescriptor->text(), p.descriptor);
        QCOMPARE(id->dtpDate->date(), p.date);
        QCOMPARE(id->txtMessage->text(), p.message);
        QCOMPARE(id->txtLongTag->text(), p.longTag);
        QCOMPARE(id->lblLongTagNote->text(),
                 p.isHart7() ? QString() : QStringLiteral("only from HART 6 on"));
        QCOMPARE(id->lblFinalAssembly->text(), QString::number(p.finalAssemblyNumber));

        GenericConfigurationPage *config = v->pageConfiguration;
        QCOMPARE(config->txtLowerRange->text(), QString::number(p.lowerRange));
        QCOMPARE(config->txtUpperRange->text(), QString::number(p.upperRange));
        QCOMPARE(config->cmbUnit->currentData().toInt(), int(p.variables[0].unit));
        QVERIFY(!config->lblUpperLimit->text().isEmpty());

        // The dynamic variables the device maps, each with its unit.
        qsizetype mapped = 0;
        for (const quint8 code : p.dynamic)
            mapped += code != FieldDeviceModel::NoVariable;
        QCOMPARE(values.dynamic->variables.size(), mapped);
        QVERIFY(!v->pageValues->lblPrimary->text().isEmpty());
        for (qsizetype i = 1; i < 4; ++i)
            QCOMPARE(v->pageValues->lblVariable[i - 1]->text() != QStringLiteral("not available"),
                     i < mapped);
        QCOMPARE(v->pageStatus->lines(0).isEmpty(), false);
    }

    void writesTagRangeAndZero()
    {
        frmGenericView *v = view();
        QFETCH(QStringList, range);
        QFETCH(double, zeroAt);
        type(v->pageIdentification->txtTag, QStringLiteral("FX-7"));
        QVERIFY(click(v, v->pageIdentification->cmdWriteTag));
        QCOMPARE(HartCodec::unpackAscii(ask(hart::command::ReadTagDescriptorDate).data.left(6))
                     .trimmed(),
                 QStringLiteral("FX-7"));

        type(v->pageConfiguration->txtLowerRange, range[0]);
        type(v->pageConfiguration->txtUpperRange, range[1]);
        QVERIFY(click(v, v->pageConfiguration->cmdWriteRange));
        QCOMPARE(v->lblResult->text(), QStringLiteral("Writing the range: done."));
        // Command 15: alarm, transfer function, unit, upper, lower, ...
        const QByteArray output = ask(hart::command::ReadOutputInformation).data;
        QCOMPARE(HartCodec::toFloat(output, 3), range[1].toFloat());
        QCOMPARE(HartCodec::toFloat(output, 7), range[0].toFloat());

        hold(zeroAt);
        m_box->enqueue(QMessageBox::Yes);
        QVERIFY(click(v, v->pageConfiguration->cmdZero));
        QCOMPARE(v->lblResult->text(),
                 QStringLiteral("Setting the zero of the primary variable: done."));
        // Command 1: unit, then the primary variable, now read as zero.
        QCOMPARE(HartCodec::toFloat(ask(hart::command::ReadPrimaryVariable).data, 1), 0.0f);
    }

    // The 4 mA trim, then a loop test at 12 mA, left by closing the window.
    void trimsAndTestsTheLoop()
    {
        frmGenericView *v = view();
        GenericLoopPage *loop = v->pageLoop;
        const int asked = int(m_box->asked().size());
        m_box->enqueue(QMessageBox::Yes);
        QVERIFY(click(v, loop->cmdTrimZeroSet));
        QCOMPARE(m_box->asked().size(), asked + 1);
        QCOMPARE(HartCodec::toFloat(ask(hart::command::ReadLoopCurrentAndPercent).data, 0), 4.0f);
        type(loop->txtTrimZero, QStringLiteral("4.02"));
        QVERIFY(click(v, loop->cmdTrimZero));
        QCOMPARE(v->lblResult->text(), QStringLiteral("Trim 4 mA: done."));

        type(loop->txtLoopCurrent, QStringLiteral("12"));
        QVERIFY(click(v, loop->cmdLoopStart));
        QCOMPARE(loop->lblLoopState->text(), QStringLiteral("The loop current is held at 12 mA."));
        const HartMaster::Outcome held = ask(hart::command::ReadLoopCurrentAndPercent);
        QVERIFY(held.deviceStatus & hart::status::OutputFixed);
        QCOMPARE(HartCodec::toFloat(held.data, 0), 12.0f);

        m_rig->form().mdiArea()->activeSubWindow()->close();
        QTRY_VERIFY(!view());
        QCOMPARE(m_box->asked().size(), asked + 1);
    }

    // What the device says afterwards: not fixed, the current follows the process.
    void backToNormal()
    {
        QFETCH(double, processAt);
        QFETCH(double, zeroAt);
        QFETCH(QStringList, range);
        hold(processAt);
        const HartMaster::Outcome loop = ask(hart::command::ReadLoopCurrentAndPercent);
        QVERIFY(!(loop.deviceStatus & hart::status::OutputFixed));
        const double lower = range[0].toDouble();
        const double percent = (processAt - zeroAt - lower) / (range[1].toDouble() - lower) * 100;
        QVERIFY2(qAbs(HartCodec::toFloat(loop.data, 4) - percent) < 1e-3,
                 qPrintable(QString::number(HartCodec::toFloat(loop.data, 4))));
        // As the process drives it (the trim moved it by hundredths).
        QVERIFY(qAbs(HartCodec::toFloat(loop.data, 0) - (4 + 0.16 * percent)) < 0.05);
        const HartMaster::Outcome status = ask(hart::command::ReadAdditionalStatus);
        QCOMPARE(status.responseCode, quint8(0));
        QVERIFY(!(status.deviceStatus & hart::status::OutputFixed));
    }

    void loggedUnderItsIdentity(const QString &key)
    {
        QFETCH(QStringList, range);
        QStringList items;
        for (const ChangeEntry &e : history()->changeLog().entries()) {
            QCOMPARE(e.device, key);
            QCOMPARE(e.outcome, ChangeEntry::Outcome::Accepted);
            items.prepend(e.item + QLatin1Char(' ') + e.newValue);
            if (e.item != QLatin1String(universal::Tag))
                QCOMPARE(e.tag, QStringLiteral("FX-7"));
        }
        QCOMPARE(items, (QStringList{QString(universal::Tag) + " FX-7",
                                     QString(universal::LowerRange) + " " + range[0],
                                     QString(universal::UpperRange) + " " + range[1],
                                     QString(universal::Zero) + " ",
                                     QString(universal::FixedCurrent) + " 4",
                                     QString(universal::TrimZero) + " 4.02",
                                     QString(universal::FixedCurrent) + " 12",
                                     QString(universal::FixedCurrent) + " 0"}));
    }
};

VEX_TEST(TstForeignField)
#include "tst_ForeignField.moc"

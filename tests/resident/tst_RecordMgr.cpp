#include "ResidentHost.h"
#include "TestRegistry.h"

#include "Applet.h"
#include "DeviceInstance.h"
#include "ScriptedMessageBox.h"
#include "SequenceEngine.h"
#include "VexAppletItemManager.h"
#include "clsAppItem.h"
#include "simulator/SimulatedTransmitter.h"

#include <QLocale>
#include <QTest>

namespace {
using Button = QMessageBox::StandardButton;
using Buttons = QMessageBox::StandardButtons;

// The record every row reports through; no sequence runs, so the host takes
// the action the record manager sends and leaves it in the control item.
const QString Record = QStringLiteral("WriteRangeValues");

QString action(const ResidentHost &r)
{
    return r.text("&&Record_Response_Control&&" + Record);
}
} // namespace

class TstRecordMgr : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void responses_data()
    {
        QTest::addColumn<QString>("response");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("message"); // empty: nobody is asked
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("aborts");
        const int okCancel = QMessageBox::Ok | QMessageBox::Cancel;
        const int retryCancel = QMessageBox::Retry | QMessageBox::Cancel;
        const int ari = QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
        const int info = QMessageBox::Information;
        const int warn = QMessageBox::Warning;
        QTest::newRow("success") << "23 00 00" << 32 << 0 << "" << 0 << 0 << "2" << false;
        QTest::newRow("9 to command 43")
            << "2B 09 00" << 32 << int(Button::Ok)
            << "Command:43, Responsecode:9\r\nApplied pressure too high" << okCancel << info << "4"
            << false;
        QTest::newRow("10 to command 43")
            << "2B 0A 00" << 32 << int(Button::Ok)
            << "Command:43, Responsecode:10\r\nApplied pressure too low" << okCancel << info << "4"
            << false;
        QTest::newRow("9 to command 35")
            << "23 09 00" << 32 << int(Button::Ok)
            << "Command:35, Responsecode:9\r\nLower range value too high" << okCancel << info << "4"
            << false;
        QTest::newRow("12 to command 35")
            << "23 0C 00" << 32 << int(Button::Ok)
            << "Command:35, Responsecode:12\r\nUpper range value too low" << okCancel << info << "4"
            << false;
        QTest::newRow("12 to the unit command")
            << "2C 0C 00" << 32 << int(Button::Ok)
            << "Command:44, Responsecode:12\r\nInvalid unit code" << okCancel << info << "4"
            << false;
        QTest::newRow("write protected, ignore")
            << "23 07 00" << 32 << int(Button::Ignore)
            << "Command:35, Responsecode:7\r\nWrite protected" << ari << info << "2" << false;
        QTest::newRow("write protected, abort")
            << "23 07 00" << 32 << int(Button::Abort)
            << "Command:35, Responsecode:7\r\nWrite protected" << ari << info << "4" << false;
        QTest::newRow("warning, OK goes on")
            << "23 08 00" << 32 << int(Button::Ok)
            << "Command:35, Responsecode:8\r\nWarning: set to nearest possible value" << okCancel
            << warn << "2" << false;
        QTest::newRow("span warning, cancel")
            << "23 0E 00" << 16 << int(Button::Cancel)
            << "Command:35, Responsecode:14\r\n\"Warning: span too small" << okCancel << warn << "4"
            << true;
        // A refused calibration is told as a sentence (command 132, upper
        // balance point; 46, trim at 20 mA, not held at 20 mA).
        QTest::newRow("refused balance point")
            << "84 03 00" << 32 << int(Button::Ok)
            << "The balance point was not set: the reference pressure entered is more than 10 % "
               "of the sensor span above the pressure the sensor measures. Check the reference "
               "and the pressure applied."
            << okCancel << warn << "4" << false;
        QTest::newRow("refused trim")
            << "2E 09 08" << 32 << int(Button::Ok)
            << "The output was not trimmed: the device does not hold the output at exactly 20 mA. "
               "Choose the balance point again, then adjust."
            << okCancel << warn << "4" << false;
        QTest::newRow("access restricted, retry")
            << "23 10 00" << 32 << int(Button::Retry)
            << "Command:35, Responsecode:16\r\nAccess restricted" << retryCancel << info << "1"
            << false;
        QTest::newRow("busy") << "23 20 00" << 32 << int(Button::Ok)
                              << "Command:35, Responsecode:32\r\nDevice busy" << okCancel << info
                              << "4" << false;
        QTest::newRow("code without text")
            << "23 0D 00" << 32 << int(Button::Ok) << "Command:35, Responsecode:13\r\n"
            << okCancel << info << "4" << false;
        QTest::newRow("command unknown to the device")
            << "23 40 00" << 32 << 0 << "" << 0 << 0 << "2" << false;
        QTest::newRow("two error bits")
            << "23 C1 00" << 32 << int(Button::Retry)
            << "Command 35: Communication Error, Response = " << retryCancel << info << "1"
            << false;
        const char *bits[] = {"Undefined ",      "RX buffer overflow ", "Reserved ",
                              "Checksum error ", "Framing error ",      "Overrun error ",
                              "Parity Error "};
        for (int bit = 0; bit < 7; ++bit) {
            QTest::addRow("communication bit %d", bit)
                << QString("23 %1 00").arg(0x80 | (1 << bit), 2, 16, QChar('0')).toUpper() << 16
                << int(Button::Cancel)
                << QString("Command 35: Communication Error, Response = ") + bits[bit]
                << retryCancel << info << "4" << true;
        }
        QTest::newRow("timeout") << "23 00 00" << 17 << 0 << "" << 0 << 0 << "4" << false;
        QTest::newRow("communication error state")
            << "23 81 00" << 34 << 0 << "" << 0 << 0 << "4" << false;
        QTest::newRow("response too short") << "23 07" << 32 << 0 << "" << 0 << 0 << "4" << false;
    }
    void responses()
    {
        QFETCH(QString, response);
        QFETCH(int, status);
        QFETCH(int, answer);
        QFETCH(QString, message);
        QFETCH(int, buttons);
        QFETCH(int, icon);
        QFETCH(QString, action);
        QFETCH(bool, aborts);
        ResidentHost r;
        QVERIFY(r.connect());
        ScriptedMessageBox box;
        if (answer)
            box.enqueue(Button(answer));
        QStringList abortValues;
        clsAppItem abort;
        abort.Register(r.manager, "abortSequences");
        connect(&abort, &clsAppItem::ValueUpdate, this, [&](QString &v) { abortValues << v; });

        r.setShadow("&&Record_Response&&" + Record, response);
        r.setShadow("&&Record_State&&" + Record, QString::number(status));

        QCOMPARE(::action(r), action);
        QCOMPARE(r.text("currentRecord"), Record);
        QCOMPARE(r.text("currentRecordState"), QString::number(status));
        QCOMPARE(r.text("currentResponseCode"), (response + " 00").left(8));
        // Written 1 and reset to 0 by the abort before this listener hears it.
        QCOMPARE(abortValues.size(), aborts ? 2 : 0);
        if (message.isEmpty()) {
            QVERIFY(box.asked().isEmpty());
        } else {
            QCOMPARE(box.asked().size(), 1);
            const MessageBoxRequest &asked = box.asked().first();
            QCOMPARE(asked.text, message);
            QCOMPARE(int(asked.buttons), buttons);
            QCOMPARE(int(asked.icon), icon);
            QVERIFY(asked.systemModal);
            QCOMPARE(asked.title, QStringLiteral("PT-1: PRESSURE"));
        }
        // The record has ended: the name goes, the last report stays.
        r.setShadow("&&Record_State&&" + Record, "0");
        QCOMPARE(r.text("currentRecord"), "");
        QCOMPARE(r.text("currentRecordState"), "0");
        QCOMPARE(r.text("currentResponseCode"), (response + " 00").left(8));
    }

    void germanTexts()
    {
        ResidentHost r;
        QVERIFY(r.connect());
        ScriptedMessageBox box;
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        r.setShadow("&&Record_Response&&" + Record, "23 09 00");
        r.setShadow("&&Record_State&&" + Record, "32");
        QLocale::setDefault(before);
        QCOMPARE(box.texts(), QStringList({"Command:35, Responsecode:9\r\nMessanfang zu hoch"}));
    }

    void nobodyAsked_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("response");
        QTest::addColumn<QString>("action");
        QTest::newRow("batch mode, error") << true << "23 07 00"
                                           << "4";
        QTest::newRow("batch mode, warning") << true << "23 08 00"
                                             << "2";
        QTest::newRow("not connected") << false << "23 07 00"
                                       << "2";
    }
    void nobodyAsked()
    {
        QFETCH(bool, connected);
        QFETCH(QString, response);
        QFETCH(QString, action);
        ResidentHost r;
        if (connected) {
            QVERIFY(r.connect());
            r.host.instance().setItemText("&&private_FDT&&ActiveForms", "0");
        }
        ScriptedMessageBox box;
        r.setShadow("&&Record_Response&&" + Record, response);
        r.setShadow("&&Record_State&&" + Record, "32");
        QCOMPARE(::action(r), action);
        QVERIFY(box.asked().isEmpty());
    }

    // The simulator's faults through a real sequence.
    void deviceFaults_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("write protection")
            << "protect" << QStringList{"Command:138, Responsecode:7\r\nWrite protected"};
        QTest::newRow("busy") << "busy" << QStringList{"Command:0, Responsecode:32\r\nDevice busy"};
        // The device's report that it could not read the request.
        QTest::newRow("communication error")
            << "line" << QStringList{"Command 0: Communication Error, Response = Parity Error "};
    }
    void deviceFaults()
    {
        QFETCH(QString, fault);
        QFETCH(QStringList, asked);
        ResidentHost r;
        QVERIFY(r.connect());
        ScriptedMessageBox box;
        box.enqueue(fault == "protect" ? Button::Abort : Button::Cancel);
        const QString before = r.text("scaleInHiLim");
        QString sequence = "UPLOAD";
        if (fault == "protect") {
            r.host.device().setWriteProtected(true);
            sequence = "DOWNLOAD";
        } else if (fault == "busy") {
            r.host.device().injectBusy(1);
        } else {
            r.host.device().injectCommunicationError(0x40);
        }
        QCOMPARE(r.manager->fncGetApplet()->fncStartSequence(sequence), 0);
        QTRY_VERIFY(r.idle());
        QCOMPARE(box.texts(), asked);
        // Given up: nothing taken over.
        QCOMPARE(r.text("scaleInHiLim"), before);
        QCOMPARE(r.text("currentRecord"), "");
    }
};

VEX_TEST(TstRecordMgr)
#include "tst_RecordMgr.moc"

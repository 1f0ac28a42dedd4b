#include "DisplayRig.h"
#include "TestRegistry.h"

#include "DynamicLabel.h"
#include "VexaAppItem.h"
#include "VexaControlItemHandler.h"
#include "WinColor.h"
#include "displays/DigitalDisplayText.h"
#include "displays/ctlDigitalDisplay.h"
#include "displays/ctlFixedDigitalDisplay.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

namespace {
const QString CrLf = QStringLiteral("\r\n");

void configure(DigitalDisplayBase &display, const QString &loLo, const QString &hiHi,
               const QString &lo, const QString &hi)
{
    display.setObjectNameValue(QStringLiteral("actualOutputValue"));
    display.setObjectNameUnit(QStringLiteral("Unit_mA"));
    display.setObjectNameLoLoLim(loLo);
    display.setObjectNameHiHiLim(hiHi);
    display.setObjectNameLoLim(lo);
    display.setObjectNameHiLim(hi);
    display.setDecimalPlaces(2);
    display.setMaxDigits(8);
}
} // namespace

class TstDigitalDisplay : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void limitState_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("loLo");
        QTest::addColumn<QString>("hiHi");
        QTest::addColumn<QString>("lo");
        QTest::addColumn<QString>("hi");
        QTest::addColumn<QString>("code");
        QTest::addColumn<qint32>("colour");
        QTest::newRow("equal to the lower alarm") << "4"
                                                  << "4.0"
                                                  << ""
                                                  << ""
                                                  << ""
                                                  << "LA" << WinColor::Red;
        QTest::newRow("equal to the upper warning, alarms empty") << "100"
                                                                  << ""
                                                                  << ""
                                                                  << ""
                                                                  << "100"
                                                                  << "UW" << WinColor::Yellow;
        QTest::newRow("alarm tested before warning") << "12.5"
                                                     << "20"
                                                     << ""
                                                     << "30"
                                                     << ""
                                                     << "LA" << WinColor::Red;
        QTest::newRow("upper alarm") << "21.5"
                                     << "3.6"
                                     << "21"
                                     << ""
                                     << ""
                                     << "UA" << WinColor::Red;
        QTest::newRow("lower warning") << "5"
                                       << "3.6"
                                       << "21"
                                       << "6"
                                       << ""
                                       << "LW" << WinColor::Yellow;
        // Limits handed over as values, as the display setting does: a
        // current inside them is normal, not above an alarm limit of 0.
        QTest::newRow("inside limits given as values") << "12"
                                                       << "3.6"
                                                       << "21"
                                                       << ""
                                                       << ""
                                                       << "" << WinColor::Green;
        QTest::newRow("limits given as item names") << "3.5"
                                                    << "alarmLowValue"
                                                    << "alarmHighValue"
                                                    << ""
                                                    << ""
                                                    << "LA" << WinColor::Red;
        QTest::newRow("no limits") << "-7"
                                   << ""
                                   << ""
                                   << ""
                                   << ""
                                   << "" << WinColor::Green;
    }
    void limitState()
    {
        DisplayRig rig;
        QVERIFY(rig.connect());
        rig.set("alarmLowValue", "3.6");
        rig.set("alarmHighValue", "21");
        QFETCH(QString, value);
        QFETCH(QString, loLo);
        QFETCH(QString, hiHi);
        QFETCH(QString, lo);
        QFETCH(QString, hi);
        rig.set("actualOutputValue", value);
        ctlDigitalDisplay display;
        display.resize(200, 80);
        configure(display, loLo, hiHi, lo, hi);
        display.Register(rig.manager());
        QTEST(display.limitCode(), "code");
        QTEST(display.textColour(), "colour");
        QCOMPARE(display.lblValue()->ForeColor(), display.textColour());
        QVERIFY(display.lblValue()->Caption().startsWith(display.limitCode()));
        // A limit value is not bound as an item; a name is.
        QCOMPARE(display.appAlarmLimit[0]->AppItemName(),
                 display.ObjectNameLoLoLim().startsWith("alarm") ? "alarmLowValue" : "");
    }

    void maskBand_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("mask");
        QTest::newRow("first value of 5") << 0 << 5 << 7;
        QTest::newRow("6 keeps 7") << 7 << 6 << 7;
        QTest::newRow("4 keeps 7") << 7 << 4 << 7;
        QTest::newRow("3 rebuilds to 5") << 7 << 3 << 5;
        QTest::newRow("7 rebuilds to 9") << 7 << 7 << 9;
    }
    void maskBand()
    {
        QFETCH(int, current);
        QFETCH(int, length);
        QTEST(DigitalDisplayText::maskLength(current, length), "mask");
    }

    // Through the display: the field keeps its width inside the band.
    void valueText()
    {
        DisplayRig rig;
        QVERIFY(rig.connect());
        rig.set("actualOutputValue", "12.5");
        ctlDigitalDisplay display;
        display.resize(200, 80);
        configure(display, "3.6", "21", "", "");
        display.Register(rig.manager());
        QCOMPARE(display.lblValue()->Caption(), "  12.50" + CrLf + "     mA");
        rig.set("actualOutputValue", "3.25");
        QCOMPARE(display.lblValue()->Caption(), "LA   3.25" + CrLf + "     mA");
        QCOMPARE(display.maskLength(), 7);
        rig.set("actualOutputValue", "123456.5");
        QCOMPARE(display.maskLength(), 10);
    }

    // Grey while not connected: from the first moment, and after a loss
    // with the last value and code still shown; green on connecting.
    void connectionColour()
    {
        DisplayRig rig;
        rig.set("actualOutputValue", "22");
        ctlDigitalDisplay display;
        display.resize(200, 80);
        configure(display, "3.6", "21", "", "");
        display.Register(rig.manager());
        QCOMPARE(display.textColour(), WinColor::Grey);
        QCOMPARE(display.limitCode(), "UA");

        // Connected: green until the next value tells its limit state again.
        QVERIFY(rig.connect());
        QCOMPARE(display.textColour(), WinColor::Green);
        rig.set("actualOutputValue", "22.5");
        QCOMPARE(display.textColour(), WinColor::Red);
        const QString shown = display.lblValue()->Caption();
        QVERIFY(rig.disconnect());
        QCOMPARE(display.textColour(), WinColor::Grey);
        QCOMPARE(display.lblValue()->ForeColor(), WinColor::Grey);
        QCOMPARE(display.lblValue()->Caption(), shown);
        QCOMPARE(display.limitCode(), "UA");
    }

    void fixedDisplay()
    {
        DisplayRig rig;
        QVERIFY(rig.connect());
        rig.set("actualOutputValue", "3.5");
        ctlFixedDigitalDisplay display;
        configure(display, "3.6", "21", "", "");
        QFont font(QStringLiteral("DejaVu Sans"), 14);
        display.setFont(font);
        display.Register(rig.manager());
        QCOMPARE(display.lblValue()->text(), "LA 3.50 mA");
        QCOMPARE(display.lblValue()->palette().color(QPalette::WindowText),
                 WinColor::toColor(WinColor::Red));
        QCOMPARE(display.Font().pointSize(), 14);
        display.show();
        display.resize(300, 40);
        QCOMPARE(display.lblValue()->size(), QSize(300, 40));
        QCOMPARE(display.lblValue()->font().pointSizeF(), 14.0);

        // Too narrow for the text: drawn smaller, not cut; wide again: as chosen.
        display.resize(70, 40);
        const QFont shrunk = display.lblValue()->font();
        QVERIFY(shrunk.pointSizeF() < 14.0);
        QVERIFY(QFontMetricsF(shrunk).horizontalAdvance(display.lblValue()->text()) <=
                70 - 2 * ctlFixedDigitalDisplay::Margin);
        QCOMPARE(display.Font().pointSize(), 14);
        rig.set("actualOutputValue", "12");
        QCOMPARE(display.lblValue()->text(), " 12.00 mA");
        display.resize(300, 40);
        QCOMPARE(display.lblValue()->font().pointSizeF(), 14.0);
    }

    // The dialog's item handler registers the display, and the display its
    // own items; unregistering lets them all go.
    void registeredByTheDialog()
    {
        DisplayRig rig;
        QWidget dialog;
        VexaControlItemHandler handler(&dialog);
        handler.setStandAlone(true);
        auto *display = new ctlDigitalDisplay(&dialog);
        configure(*display, "3.6", "21", "", "");
        QVERIFY(!VexaControlItemHandler::Controls(&dialog).contains(display->appMeasValue));
        handler.Register1(&dialog, rig.manager());
        QVERIFY(display->isRegistered());
        QVERIFY(display->appMeasValue->isRegistered());
        QCOMPARE(display->appMeasValue->AppItemName(), "actualOutputValue");
        QCOMPARE(display->appMeasValue->UpdateInterval(), 1);
        handler.UnRegister();
        QVERIFY(!display->isRegistered());
        QVERIFY(!display->appMeasValue->isRegistered());
        QVERIFY(!display->appConnectionStatus->isRegistered());
    }

    void maxDigitsPassedOn()
    {
        ctlDigitalDisplay display;
        QSignalSpy changed(&display, &DigitalDisplayBase::PropertyChanged);
        display.setMaxDigits(6);
        display.setDecimalPlaces(3);
        QCOMPARE(display.appMeasValue->MaxDigits(), 6);
        QCOMPARE(display.appMeasValue->DecimalPlaces(), 3);
        QCOMPARE(changed.count(), 2);
    }

    // The label follows the control's width and tells when its height changed.
    void resizeReported()
    {
        DisplayRig rig;
        QVERIFY(rig.connect());
        rig.set("actualOutputValue", "12.5");
        ctlDigitalDisplay display;
        configure(display, "", "", "", "");
        display.resize(120, 60);
        display.show();
        display.Register(rig.manager());
        QSignalSpy resized(&display, &ctlDigitalDisplay::Resize);
        display.resize(240, 60);
        QCOMPARE(display.lblValue()->width(), 240);
        QCOMPARE(resized.count(), 1);
        QVERIFY(display.valueHeight() > 0);
    }
};

VEX_TEST(TstDigitalDisplay)
#include "tst_DigitalDisplay.moc"

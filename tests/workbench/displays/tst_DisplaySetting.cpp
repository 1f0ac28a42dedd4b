#include "DisplayRig.h"
#include "TestRegistry.h"

#include "VexaAppItem.h"
#include "VexaControlItemHandler.h"
#include "WinColor.h"
#include "displays/ctlDigitalDisplay.h"
#include "displays/ctlDisplaySetting.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QTest>

namespace {

// A dialog with one display setting registered by its item handler.
struct SettingDialog
{
    explicit SettingDialog(DisplayRig &rig)
    {
        handler->setStandAlone(true);
        handler->Register1(&dialog, rig.manager());
    }
    ~SettingDialog() { handler->UnRegister(); }

    ctlDigitalDisplay *addDisplay() { return new ctlDigitalDisplay(&dialog); }
    void show(ctlDigitalDisplay *display, int entry)
    {
        setting->Init(display, list);
        list->setCurrentIndex(entry);
        setting->ChangeDisplayedValue();
    }

    QWidget dialog;
    VexaControlItemHandler *handler = new VexaControlItemHandler(&dialog);
    ctlDisplaySetting *setting = new ctlDisplaySetting(&dialog);
    QComboBox *list = new QComboBox(&dialog);
};

} // namespace

class TstDisplaySetting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void table_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("upperItem");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QString>("lowerItem");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("listText");
        QTest::addColumn<double>("largeStep");
        QTest::addColumn<double>("smallStep");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<bool>("alarms");
        QTest::newRow("current output") << 0 << "alarmHighValue"
                                        << "21"
                                        << "alarmLowValue"
                                        << "3.6"
                                        << "Current Output" << 1.74 << 0.348 << 2 << true;
        QTest::newRow("percent range: fixed limits")
            << 1 << ""
            << "100"
            << ""
            << "0"
            << "Percent Range" << 10.0 << 2.0 << 2 << false;
        QTest::newRow("pressure") << 2 << "scaleInHiLim"
                                  << "400"
                                  << "scaleInLoLim"
                                  << "-100"
                                  << "Pressure, damped" << 50.0 << 10.0 << 1 << false;
        QTest::newRow("reversed range steps up the same")
            << 3 << "scaleInHiLim"
            << "0"
            << "scaleInLoLim"
            << "400"
            << "Pressure, trimmed" << 40.0 << 8.0 << 1 << false;
        QTest::newRow("temperature") << 4 << "sensorTemperatureRangeHiLim"
                                     << "85"
                                     << "sensorTemperatureRangeLoLim"
                                     << "-40"
                                     << "Sensor Temperature" << 12.5 << 2.5 << 1 << false;
        QTest::newRow("output scale of zero span") << 5 << "outScaleHiLim"
                                                   << "50"
                                                   << "outScaleLoLim"
                                                   << "50"
                                                   << "HART Output" << 0.0 << 0.0 << 0 << false;
    }
    void table()
    {
        QFETCH(int, entry);
        QFETCH(QString, upperItem);
        QFETCH(QString, upper);
        QFETCH(QString, lowerItem);
        QFETCH(QString, lower);
        QFETCH(bool, alarms);
        DisplayRig rig;
        if (!upperItem.isEmpty()) {
            rig.set(upperItem, upper);
            rig.set(lowerItem, lower);
        }
        SettingDialog d(rig);
        ctlDigitalDisplay *display = d.addDisplay();
        d.show(display, entry);

        const ctlDisplaySetting::Setting &s = d.setting->settings().at(entry);
        QVERIFY(s.valid);
        QCOMPARE(d.list->count(), int(ctlDisplaySetting::EntryCount));
        QTEST(d.list->itemText(entry), "listText");
        QCOMPARE(s.maximum, upper);
        QCOMPARE(s.minimum, lower);
        QFETCH(double, largeStep);
        QFETCH(double, smallStep);
        QVERIFY(qAbs(s.largeStep - largeStep) < 1e-9);
        QVERIFY(qAbs(s.smallStep - smallStep) < 1e-9);
        QTEST(int(s.decimalPlaces), "decimals");
        QCOMPARE(s.maxDigits, 8);

        // What the display got: values, not names, for the limits.
        QCOMPARE(display->ObjectNameMax(), upper);
        QCOMPARE(display->ObjectNameMin(), lower);
        QCOMPARE(display->ObjectNameHiHiLim(), alarms ? upper : QString());
        QCOMPARE(display->ObjectNameLoLoLim(), alarms ? lower : QString());
        QCOMPARE(display->ObjectNameHiLim(), QString());
        QCOMPARE(display->ObjectNameValue(), s.valueItem);
        QCOMPARE(display->DecimalPlaces(), s.decimalPlaces);
        QCOMPARE(display->property("LargeStep").toDouble(), s.largeStep);
        QVERIFY(display->isRegistered());
        QCOMPARE(display->appMeasValue->AppItemName(), s.valueItem);
    }

    // A current between the alarm currents shows as normal.
    void currentOutputIsNormalInsideAlarms()
    {
        DisplayRig rig;
        QVERIFY(rig.connect());
        rig.set("alarmHighValue", "21");
        rig.set("alarmLowValue", "3.6");
        rig.set("actualOutputValue", "12");
        SettingDialog d(rig);
        ctlDigitalDisplay *display = d.addDisplay();
        d.show(display, ctlDisplaySetting::CurrentOutput);
        QCOMPARE(display->limitCode(), QString());
        QCOMPARE(display->textColour(), WinColor::Green);
        rig.set("actualOutputValue", "21");
        QCOMPARE(display->limitCode(), "UA");
    }

    void changedScaleApplied()
    {
        DisplayRig rig;
        rig.set("outScaleHiLim", "100");
        rig.set("outScaleLoLim", "0");
        SettingDialog d(rig);
        ctlDigitalDisplay *display = d.addDisplay();
        d.show(display, ctlDisplaySetting::HartOutput);
        QSignalSpy applied(display, &DigitalDisplayBase::PropertyChanged);

        rig.set("outScaleHiLim", "100");
        QCOMPARE(applied.count(), 0);

        rig.set("outScaleHiLim", "250");
        QVERIFY(applied.count() > 0);
        QCOMPARE(display->ObjectNameMax(), "250");
        QCOMPARE(display->property("LargeStep").toDouble(), 25.0);
        QCOMPARE(display->ObjectNameValue(), "outValue");
        QVERIFY(display->isRegistered());
    }

    // Six displays on one hidden list: a limit change applies each with its
    // own entry, not all with the list's last selection.
    void eachDisplayKeepsItsEntry()
    {
        DisplayRig rig;
        SettingDialog d(rig);
        QList<ctlDigitalDisplay *> displays;
        for (int i = 0; i < ctlDisplaySetting::EntryCount; ++i) {
            displays << d.addDisplay();
            d.show(displays.last(), i);
        }
        rig.set("alarmHighValue", "22.5");
        for (int i = 0; i < ctlDisplaySetting::EntryCount; ++i) {
            QCOMPARE(d.setting->entryOf(displays[i]), i);
            QCOMPARE(displays[i]->ObjectNameValue(), d.setting->settings()[i].valueItem);
        }
        QCOMPARE(displays[0]->ObjectNameMax(), "22.5");
        QCOMPARE(displays[5]->ObjectNameMax(), d.setting->settings()[5].maximum);
    }
};

VEX_TEST(TstDisplaySetting)
#include "tst_DisplaySetting.moc"

#include "ResidentHost.h"
#include "TestRegistry.h"

#include "DeviceInstance.h"
#include "VexAppletItemManager.h"
#include "clsAppItem.h"
#include "clsDatasetvalidation.h"
#include "clsPrimaryValueMgr.h"

#include <QSignalSpy>
#include <QTest>

class TstRanges : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unitChangeConvertsFiveValuesInOrder()
    {
        ResidentHost r;
        r.takeOver("scaleInLoLim", "100");
        QStringList order;
        std::vector<std::unique_ptr<clsAppItem>> watched;
        for (const char *name :
             {"scaleInLoLim", "scaleInHiLim", "minSpan", "sensorRangeHiLim", "sensorRangeLoLim"}) {
            watched.push_back(std::make_unique<clsAppItem>());
            watched.back()->Register(r.manager, QLatin1String(name));
            connect(watched.back().get(), &clsAppItem::ValueUpdate, this,
                    [&order, name](QString &) { order << QLatin1String(name); });
        }
        QSignalSpy scaleIn(r.view.get(), &clsStartAlwaysView::ScaleInChanged);
        r.edit("primaryValueUnit", "7"); // mbar to bar
        QCOMPARE(order, (QStringList{"sensorRangeLoLim", "sensorRangeHiLim", "minSpan",
                                     "scaleInHiLim", "scaleInLoLim"}));
        QCOMPARE(r.text("sensorRangeLoLim"), "-0.4");
        QCOMPARE(r.text("sensorRangeHiLim"), "0.4");
        QCOMPARE(r.text("minSpan"), "0.004");
        QCOMPARE(r.text("scaleInHiLim"), "0.4");
        QCOMPARE(r.text("scaleInLoLim"), "0.1");
        QCOMPARE(scaleIn.count(), 0); // the conversion's writes skip the limit check
        QCOMPARE(r.text("scaleInHiLimRounded"), "0.4");
    }

    void unitChangeDuringASequenceOnlyFollows()
    {
        ResidentHost r;
        r.edit("currentSequence", "UPLOAD");
        r.edit("primaryValueUnit", "12"); // the values come in kPa already
        QCOMPARE(r.text("scaleInHiLim"), "400");
        r.edit("currentSequence", "");
        r.edit("primaryValueUnit", "7");
        QCOMPARE(r.text("scaleInHiLim"), "4");
        r.takeOver("primaryValueUnit", "8"); // taken over: no conversion either
        QCOMPARE(r.text("scaleInHiLim"), "4");
        QCOMPARE(r.component<clsPrimaryValueMgr>()->rememberedUnit(), qint16(8));
    }

    // The values are in the dataset's unit from the start: the first change
    // converts from that unit, not from an unknown one.
    void firstUnitChangeStartsFromTheDatasetUnit()
    {
        ResidentHost r;
        r.view->Destroy();
        r.manager->fncUnregisterView(r.view.get());
        r.takeOver("primaryValueUnit", "12");
        r.view = std::make_shared<clsStartAlwaysView>();
        r.manager->fncRegisterView(r.view.get());
        r.edit("primaryValueUnit", "7");
        QCOMPARE(r.text("scaleInHiLim"), "4");
        QCOMPARE(r.text("sensorRangeLoLim"), "-4");
    }

    void limitClamp_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("kept");
        QTest::newRow("high above") << "scaleInHiLim"
                                    << "115"
                                    << "110";
        QTest::newRow("high at bound") << "scaleInHiLim"
                                       << "110"
                                       << "110";
        QTest::newRow("low at bound") << "scaleInLoLim"
                                      << "-10"
                                      << "-10";
        QTest::newRow("low below") << "scaleInLoLim"
                                   << "-10.5"
                                   << "-10";
        QTest::newRow("inside") << "scaleInHiLim"
                                << "50"
                                << "50";
    }
    void limitClamp()
    {
        QFETCH(QString, item);
        QFETCH(QString, value);
        QFETCH(QString, kept);
        ResidentHost r;
        r.takeOver("sensorRangeLoLim", "0");
        r.takeOver("sensorRangeHiLim", "100");
        r.takeOver("scaleInSpare", "10");
        r.takeOver("scaleInLoLim", "0");
        r.takeOver("scaleInHiLim", "100");
        QSignalSpy scaleIn(r.view.get(), &clsStartAlwaysView::ScaleInChanged);
        r.edit(item, value);
        QCOMPARE(r.text(item), kept);
        QCOMPARE(scaleIn.count(), 1);
        QCOMPARE(r.text(item + "Rounded"), kept);
    }

    void validation_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<int>("status"); // when not connected
        QTest::addColumn<QString>("deviceUnit");
        QTest::addColumn<QString>("deviceLimits"); // lo hi minSpan spare
        QTest::addColumn<QString>("range");        // lo hi, in bar
        QTest::addColumn<QString>("datasetMinSpan");
        QTest::addColumn<int>("verdict");
        QTest::addColumn<bool>("copied");
        QTest::newRow("inside the margin") << false << 0 << "7"
                                           << "0 10 0.1 25"
                                           << "-2.5 12.5"
                                           << "0" << 0 << true;
        QTest::newRow("beyond the margin") << false << 0 << "7"
                                           << "0 10 0.1 25"
                                           << "-2.6 12.5"
                                           << "0" << 3 << false;
        QTest::newRow("reversed limits") << false << 0 << "7"
                                         << "0 10 0.1 25"
                                         << "12.5 -2.5"
                                         << "0" << 0 << true;
        QTest::newRow("device span, connected") << true << 2 << "7"
                                                << "0 10 0.5 25"
                                                << "0 0.4"
                                                << "0" << 4 << true;
        QTest::newRow("dataset span, offline") << false << 0 << "7"
                                               << "0 10 0.5 25"
                                               << "0 0.8"
                                               << "1" << 4 << false;
        QTest::newRow("dataset span, connecting") << false << 1 << "7"
                                                  << "0 10 0.5 25"
                                                  << "0 0.8"
                                                  << "1" << 0 << true;
        QTest::newRow("device in kPa, fits") << false << 0 << "12"
                                             << "0 1000 10 25"
                                             << "0 12.5"
                                             << "0" << 0 << true;
        QTest::newRow("device in kPa, beyond") << false << 0 << "12"
                                               << "0 1000 10 25"
                                               << "0 12.6"
                                               << "0" << 3 << false;
        QTest::newRow("negative lower limit at its bound") << false << 0 << "7"
                                                           << "-1 1 0.1 10"
                                                           << "-1.1 1"
                                                           << "0" << 0 << true;
    }
    // Connected to a device of another kind: no device information is read
    // at connect, and the dataset is checked as without a device.
    void anotherKindOfDeviceIsNoDeviceToCheckAgainst()
    {
        ResidentHost r;
        r.setShadow("sensorRangeLoLim", "0");
        r.setShadow("sensorRangeHiLim", "10");
        r.setShadow("minSpan", "0.5");
        r.takeOver("minSpan", "1");
        r.takeOver("scaleInLoLim", "0");
        r.takeOver("scaleInHiLim", "0.8");
        r.host.instance().setItemText("&&private&&ForeignDevice", "1");
        r.host.instance().setItemText("&&private&&Connect", "2");
        // A sequence started reports itself at once.
        QCOMPARE(r.text("currentSequence"), QString());
        r.component<clsDatasetvalidation>()->Validate();
        QCOMPARE(r.number("InCompatibleDataset"), 4.0); // the dataset's own span
        QCOMPARE(r.number("minSpan"), 1.0);             // the device's not taken over
    }

    void validation()
    {
        QFETCH(bool, connected);
        QFETCH(int, status);
        QFETCH(QString, deviceUnit);
        QFETCH(QString, deviceLimits);
        QFETCH(QString, range);
        QFETCH(QString, datasetMinSpan);
        QFETCH(int, verdict);
        QFETCH(bool, copied);
        ResidentHost r;
        if (connected)
            QVERIFY(r.connect());
        else if (status != 0)
            r.host.instance().setItemText("&&private&&Connect", QString::number(status));
        const QStringList device = deviceLimits.split(' ');
        r.setShadow("primaryValueUnit", deviceUnit);
        r.setShadow("sensorRangeLoLim", device[0]);
        r.setShadow("sensorRangeHiLim", device[1]);
        r.setShadow("minSpan", device[2]);
        r.setShadow("scaleInSpare", device[3]);
        // The dataset in bar, its own sensor limits far off.
        r.takeOver("primaryValueUnit", "7");
        r.takeOver("sensorRangeLoLim", "-99");
        r.takeOver("sensorRangeHiLim", "99");
        r.takeOver("minSpan", datasetMinSpan);
        r.takeOver("scaleInSpare", "0");
        r.takeOver("scaleInLoLim", range.section(' ', 0, 0));
        r.takeOver("scaleInHiLim", range.section(' ', 1, 1));
        r.component<clsDatasetvalidation>()->Validate();
        QCOMPARE(r.number("InCompatibleDataset"), double(verdict));
        const double factor = deviceUnit == "12" ? 0.01 : 1.0;
        if (copied) {
            QCOMPARE(r.number("sensorRangeHiLim"), double(float(device[1].toDouble() * factor)));
            QCOMPARE(r.number("minSpan"), double(float(device[2].toDouble() * factor)));
            QCOMPARE(r.number("scaleInSpare"), device[3].toDouble());
        } else {
            QCOMPARE(r.number("sensorRangeHiLim"), 99.0);
        }
    }

    void uploadResetsTheVerdict()
    {
        ResidentHost r;
        r.edit("InCompatibleDataset", "3");
        r.view->OnUploadCompleted();
        QCOMPARE(r.number("InCompatibleDataset"), 0.0);
    }

    void rangeChangeRevalidates()
    {
        ResidentHost r;
        r.setShadow("sensorRangeLoLim", "0");
        r.setShadow("sensorRangeHiLim", "400");
        r.setShadow("scaleInSpare", "10");
        r.edit("scaleInHiLim", "500"); // clamped to 440 by the range check, then fits
        QCOMPARE(r.text("scaleInHiLim"), "440");
        QCOMPARE(r.number("InCompatibleDataset"), 0.0);
    }
};

VEX_TEST(TstRanges)
#include "tst_Ranges.moc"

#include "ResidentHost.h"
#include "TestRegistry.h"

#include "Applet.h"
#include "DeviceInstance.h"
#include "SequenceEngine.h"
#include "VexAppletItemManager.h"
#include "clsAppItem.h"
#include "clsCurrentSequenceMgr.h"
#include "clsDebugInfo.h"
#include "clsSequenceItem.h"
#include "simulator/SimulatedTransmitter.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

namespace {
const QStringList MenuItems{"Connect",       "Disconnect",     "MenuSetSlaveAddr",
                            "LoadFromFile",  "SaveToFile",     "GenericView",
                            "HTMLPrintView", "DebugSequences", "MdiMain"};

void setDebugSwitch(bool on)
{
    const QString path = clsDebugInfo::switchFilePath();
    QFile::remove(path);
    if (on) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        file.open(QIODevice::WriteOnly);
    }
}

// Every notification of an item, with the value it holds when this listener
// hears of it (listeners registered before may have changed it again).
class ValueLog : public QObject
{
public:
    ValueLog(const std::shared_ptr<AppletItemManager> &manager, const QString &name)
    {
        m_item.Register(manager, name);
        QObject::connect(&m_item, &clsAppItem::ValueUpdate, this,
                         [this](QString &v) { values << v; });
    }
    QStringList values;

private:
    clsAppItem m_item;
};
} // namespace

class TstManagers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { setDebugSwitch(false); }

    void menuStates_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("debug");
        QTest::addColumn<QString>("states"); // in the order of MenuItems
        QTest::newRow("0") << 0 << false << "300000003";
        QTest::newRow("0 debug") << 0 << true << "300003033";
        QTest::newRow("1") << 1 << false << "300000003";
        QTest::newRow("1 debug") << 1 << true << "300003033";
        QTest::newRow("2") << 2 << false << "033000303";
        QTest::newRow("2 debug") << 2 << true << "033003333";
    }
    void menuStates()
    {
        QFETCH(int, status);
        QFETCH(bool, debug);
        QFETCH(QString, states);
        setDebugSwitch(debug); // read when the view attaches
        ResidentHost r;
        if (status == 2)
            QVERIFY(r.connect());
        else if (status == 1)
            r.host.instance().setItemText("&&private&&Connect", "1");
        QString actual;
        for (const QString &item : MenuItems)
            actual += r.text("&&Menu_State&&" + item);
        QCOMPARE(actual, states);
    }

    void deviceInformationOncePerConnection()
    {
        ResidentHost r;
        clsSequenceItem info;
        info.Register(r.manager, "GetDeviceInfo", false, 0, 1);
        int starts = 0;
        connect(&info, &clsSequenceItem::StatusChanged, this, [&](qint32 &s) {
            if (s == 32)
                ++starts;
        });
        ValueLog abort(r.manager, "abortSequences");
        QVERIFY(r.connect());
        QCOMPARE(starts, 1);
        r.host.instance().setItemText("&&private&&Connect", "2"); // 2 after 2
        QVERIFY(r.idle());
        QCOMPARE(starts, 1);
        r.manager->fncGetApplet()->fncDisconnect(0);
        QTRY_COMPARE(r.number("&&private&&Connect"), 0.0);
        QCOMPARE(abort.values, (QStringList{"0", "0"}));          // set to 1, aborted, reset
        r.host.instance().setItemText("&&private&&Connect", "0"); // 0 after 0 aborts again
        QCOMPARE(abort.values.size(), 4);
        QVERIFY(r.connect());
        QCOMPARE(starts, 2);
    }

    void abortSequenceAndFallback()
    {
        ResidentHost r;
        QVERIFY(r.connect());
        // Nothing shown, nothing started before: only the reset happens.
        ValueLog abort(r.manager, "abortSequences");
        r.edit("abortSequences", "1");
        QCOMPARE(abort.values, (QStringList{"0", "0"}));

        // GetRangeValues waits at 2 for the go of the dialog that holds it; none comes.
        clsSequenceItem dialog;
        dialog.Register(r.manager, QStringLiteral("GetRangeValues"), false, 0, 3);
        QCOMPARE(r.manager->fncGetApplet()->fncStartSequence("GetRangeValues"), 0);
        QCOMPARE(r.text("currentSequence"), "GetRangeValues");
        QTRY_COMPARE(r.number("&&Sequence_State&&GetRangeValues"), 2.0);
        r.edit("currentSequence", "");
        r.edit("abortSequences", "2"); // anything but 1 aborts nothing
        QVERIFY(r.host.instance().engine().isRunning());
        r.edit("abortSequences", "1"); // falls back on the last started sequence
        QVERIFY(!r.host.instance().engine().isRunning());
        QCOMPARE(r.component<clsCurrentSequenceMgr>()->lastStartedSequence(), "GetRangeValues");
        QCOMPARE(r.number("abortSequences"), 0.0);
    }

    void currentSequenceClearedOnlyByItsOwn()
    {
        ResidentHost r;
        auto *mgr = r.component<clsCurrentSequenceMgr>();
        mgr->SequenceItem_StatusChanged("UPLOAD", 32);
        mgr->SequenceItem_StatusChanged("GetDeviceInfo", 0);
        QCOMPARE(r.text("currentSequence"), "UPLOAD");
        mgr->SequenceItem_StatusChanged("UPLOAD", 2);
        QCOMPARE(r.text("currentSequence"), "UPLOAD");
        mgr->SequenceItem_StatusChanged("UPLOAD", 0);
        QCOMPARE(r.text("currentSequence"), "");
    }

    void uploadCompletesOnce()
    {
        ResidentHost r;
        QVERIFY(r.connect());
        QSignalSpy completed(r.view.get(), &clsStartAlwaysView::UploadCompleted);
        r.edit("scaleInHiLim", "123");
        r.host.instance().setItemText("&&private_PM&&TagName", "FT-9");
        r.host.instance().setItemText("&&private_PM&&Descriptor", "PROJECT");
        QCOMPARE(r.manager->fncGetApplet()->fncStartSequence("UPLOAD"), 0);
        QTRY_VERIFY(r.idle());
        QCOMPARE(completed.count(), 1);
        // The device's values are the dataset's now.
        QCOMPARE(r.text("scaleInHiLim"), r.text("scaleInHiLim", true));
        QCOMPARE(r.number("InCompatibleDataset"), 0.0);
        QCOMPARE(r.text("_tagHART").trimmed(), "FT-9");
        QCOMPARE(r.text("&&private_PM&&TagName"), "FT-9");
        QCOMPARE(r.text("descriptor").trimmed(), "PROJECT");
        // A 0 without a preceding 2 completes nothing.
        QCOMPARE(r.manager->fncGetApplet()->fncStartSequence("GetDeviceInfo"), 0);
        QTRY_VERIFY(r.idle());
        QCOMPARE(completed.count(), 1);
    }

    void identitySynchronisation()
    {
        ResidentHost r;
        r.host.instance().setItemText("&&private_PM&&TagName", "pump a-12x");
        QCOMPARE(r.text("_tagHART").trimmed(), "PUMP A-1");
        QCOMPARE(r.text("&&private_PM&&TagName"), "pump a-12x");
        r.host.instance().setItemText("&&private_PM&&Descriptor", "inlet pressure line 2");
        QCOMPARE(r.text("descriptor").trimmed(), "INLET PRESSURE L");

        r.edit("_tagHART", "  PT-7  ");
        QCOMPARE(r.text("&&private_PM&&TagName"), "PT-7");
        r.edit("descriptor", "BOILER");
        QCOMPARE(r.text("&&private_PM&&Descriptor"), "BOILER");

        // While a sequence is current the device does not rename the project.
        r.edit("currentSequence", "UPLOAD");
        r.edit("_tagHART", "OTHER");
        QCOMPARE(r.text("&&private_PM&&TagName"), "PT-7");
        r.edit("currentSequence", "");

        // Taken over by the host, the device's tag leaves the project alone;
        // after the upload the project's names go to the device.
        r.host.instance().setItemText("&&private_PM&&TagName", "FT-9");
        r.takeOver("_tagHART", "DEVICE");
        QCOMPARE(r.text("&&private_PM&&TagName"), "FT-9");
        r.view->OnUploadCompleted();
        QCOMPARE(r.text("_tagHART").trimmed(), "FT-9");
        QCOMPARE(r.text("descriptor").trimmed(), "BOILER");
    }

    void languageMaskBySoftware_data()
    {
        QTest::addColumn<QString>("revision");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<int>("language");
        QTest::newRow("140") << "01 04 00"
                             << "1, 1, 0" << 0;
        QTest::newRow("141") << "01 04 01"
                             << "1, 1, 1" << 7;
        QTest::newRow("2.0.0") << "02 00 00"
                               << "1, 1, 1" << 7;
    }
    void languageMaskBySoftware()
    {
        QFETCH(QString, revision);
        QFETCH(QString, mask);
        QFETCH(int, language);
        ResidentHost r;
        QCOMPARE(r.text("&&ObjectLimit&&hmiLanguage"), "1, 1, 1"); // the default 1.5.2
        r.edit("hmiLanguage", "7");
        r.setShadow("softwareRevision", revision);
        QCOMPARE(r.text("&&ObjectLimit&&hmiLanguage"), mask);
        QCOMPARE(r.number("hmiLanguage"), double(language));
    }

    void outputUnitText()
    {
        ResidentHost r;
        r.edit("outScaleUnit", "7");
        QCOMPARE(r.text("outScaleUnitGui"), "bar");
        r.edit("freeUnitText", "m WS");
        QCOMPARE(r.text("outScaleUnitGui"), "bar");
        r.edit("outScaleUnit", "253");
        QCOMPARE(r.text("outScaleUnitGui"), "m WS");
        r.edit("freeUnitText", "ft WS");
        QCOMPARE(r.text("outScaleUnitGui"), "ft WS");
    }
};

VEX_TEST(TstManagers)
#include "tst_Managers.moc"

#include "TestHost.h"
#include "TestRegistry.h"

#include "Applet.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "ItemStore.h"
#include "SequenceEngine.h"
#include "VexAppletItemManager.h"
#include "VexException.h"
#include "VexaCommandEvent.h"
#include "VexaSequenceItem.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Counts the deferred commands delivered to a control.
class CommandCounter : public QObject
{
public:
    explicit CommandCounter(QObject *control) { control->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (VexaCommandEvent::isCommand(event))
            codes << int(event->type());
        return false;
    }
    QList<int> codes;
};

} // namespace

class TstVexaSequenceItem : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestHost> m_host;

    std::unique_ptr<VexaSequenceItem> sequence(const QString &name)
    {
        auto control = std::make_unique<VexaSequenceItem>();
        control->setAppItemName(name);
        control->setDesignMode(false);
        control->Register(m_host->manager());
        return control;
    }
    void startUpload()
    {
        QCOMPARE(m_host->manager()->fncGetApplet()->fncStartSequence("UPLOAD"), 0);
        QCOMPARE(m_host->instance().engine().runningSequence(), QString("UPLOAD"));
    }

private Q_SLOTS:
    void init()
    {
        m_host = std::make_unique<TestHost>(testhost::builtInDescription());
        QVERIFY(m_host->connect());
    }
    void cleanup() { m_host.reset(); }

    void deferredStartWaitsForTheRunningSequence()
    {
        startUpload();
        auto info = sequence("GetDeviceInfo");
        CommandCounter counter(info.get());
        QList<qint32> statuses;
        connect(info.get(), &VexaSequenceItem::StatusChanged, this,
                [&](qint32 &status) { statuses << status; });
        QSignalSpy ended(&m_host->instance().engine(), &SequenceEngine::sequenceEnded);

        info->Start();
        QVERIFY(statuses.isEmpty()); // returned at once, nothing ran yet
        QTRY_VERIFY_WITH_TIMEOUT(statuses.contains(0) && statuses.contains(32), 10000);
        QCOMPARE(ended.at(0).at(0).toString(), QString("UPLOAD"));
        QCOMPARE(ended.last().at(0).toString(), QString("GetDeviceInfo"));
        QVERIFY2(counter.codes.size() > 1, "never asked again while busy");
        // Asked again when something changed or after a pause, not as fast as
        // the loop turns (tens of thousands of times in a few hundred ms).
        QVERIFY2(counter.codes.size() < 50, qPrintable(QString::number(counter.codes.size())));
        QVERIFY(std::all_of(counter.codes.begin(), counter.codes.end(),
                            [](int c) { return c == VexaCommandEvent::StartCode; }));
    }

    void immediateStartRaisesToTheCaller_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint32>("error");
        QTest::newRow("busy") << "GetDeviceInfo" << qint32(SEQUENCE_BUSY);
        QTest::newRow("unknown") << "NoSuchSequence" << qint32(UNKNOWN_SEQUENCE);
    }
    void immediateStartRaisesToTheCaller()
    {
        QFETCH(QString, name);
        QFETCH(qint32, error);
        startUpload();
        auto control = sequence(name);
        try {
            control->Start(true);
            QFAIL("no error raised");
        } catch (const VexException &e) {
            QCOMPARE(e.number(), error);
        }
    }

    void registeredAgainAfterUnRegister()
    {
        auto info = sequence("GetDeviceInfo");
        info->UnRegister();
        info->Register(m_host->manager());
        QList<qint32> statuses;
        connect(info.get(), &VexaSequenceItem::StatusChanged, this,
                [&](qint32 &status) { statuses << status; });
        info->Start(true);
        QTRY_VERIFY_WITH_TIMEOUT(statuses.endsWith(0), 10000);
        QCOMPARE(info->SequenceState(), 0.0);
    }
};

VEX_TEST(TstVexaSequenceItem)
#include "tst_VexaSequenceItem.moc"

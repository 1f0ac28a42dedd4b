#include "ResidentHost.h"
#include "TestRegistry.h"

#include "DeviceInstance.h"
#include "ProgIdRegistry.h"
#include "ResidentViews.h"
#include "VexAppletItemManager.h"
#include "clsComponentBase.h"
#include "clsComponentCollection.h"

#include <QSignalSpy>
#include <QTest>

namespace {
// Writes what happens to it into a shared log.
class Probe final : public IStartAlwaysComponent
{
public:
    Probe(QString name, QStringList &log) : m_name(std::move(name)), m_log(log) {}
    void Register(clsStartAlwaysView *) override { m_log << "R" + m_name; }
    void UnRegister() override { m_log << "U" + m_name; }

private:
    QString m_name;
    QStringList &m_log;
};
} // namespace

class TstStartAlwaysView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void componentsInTheirOrder()
    {
        ResidentHost r;
        const QStringList expected{"clsMenuMgr",
                                   "clsRecordMgr",
                                   "clsCurrentSequenceMgr",
                                   "clsDeviceIdentNameMgr",
                                   "clsUploadDownloadMgr",
                                   "clsOutScaleMgr",
                                   "clsDatasetvalidation",
                                   "clsConnEventMgr",
                                   "clsPrimaryValueMgr",
                                   "clsHtmlReportFactory",
                                   "clsEnumMgr"};
        QStringList actual;
        for (const auto &c : r.view->components().NewEnum()) {
            auto *component = dynamic_cast<clsComponentBase *>(c.get());
            QVERIFY(component && component->isRegistered());
            actual << QString::fromLatin1(component->metaObject()->className());
        }
        QCOMPARE(actual, expected);
        r.view->Destroy();
        for (const auto &c : r.view->components().NewEnum())
            QVERIFY(!dynamic_cast<clsComponentBase *>(c.get())->isRegistered());
        QCOMPARE(r.view->components().Count(), 11); // they stay until the view goes
    }

    void collectionRunsInInsertionOrder()
    {
        QStringList log;
        clsComponentCollection list;
        list.Add(std::make_shared<Probe>("1", log));
        list.Add(std::make_shared<Probe>("2", log), "second");
        list.Add(std::make_shared<Probe>("3", log));
        list.Register(nullptr);
        list.UnRegister();
        QCOMPARE(log, (QStringList{"R1", "R2", "R3", "U1", "U2", "U3"}));

        QVERIFY(list.Item(2) == list.Item("SECOND"));
        QVERIFY(list.Item(1) != nullptr);
        QVERIFY(list.Item("") == nullptr); // keyless: by position only
        QVERIFY(list.Item(4) == nullptr);
        list.Remove("second");
        QCOMPARE(list.Count(), 2);
    }

    void secondRegisterAndUnregisterDoNothing()
    {
        ResidentHost r;
        const int views = r.manager->viewCount();
        r.view->components().Register(r.view.get());
        QCOMPARE(r.manager->viewCount(), views);
        r.view->Destroy();
        r.view->Destroy();
        QVERIFY(r.manager->viewCount() <= views);
    }

    void hostStartsTheRegisteredView()
    {
        registerResidentViews();
        QVERIFY(ProgIdRegistry::instance().hasView("resident.clsStartAlwaysView"));
        ResidentHost r;
        QCOMPARE(r.host.instance().startView("Resident.clsStartAlwaysView"), 0);
        QCOMPARE(r.host.instance().startedViewCount(), 1);
    }
};

VEX_TEST(TstStartAlwaysView)
#include "tst_StartAlwaysView.moc"

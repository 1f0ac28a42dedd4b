#include "TestHost.h"
#include "TestRegistry.h"

#include "Applet.h"
#include "DeviceInstance.h"
#include "HostResult.h"
#include "ProgIdRegistry.h"
#include "VexAppletItemManager.h"
#include "View.h"

#include <QTest>

namespace {

QStringList g_events;

// A view that records what the host does with it; "one-shot" views leave the
// host from inside their attach, as function views do.
class RecordingView : public View
{
public:
    RecordingView(QString name, bool oneShot) : m_name(std::move(name)), m_oneShot(oneShot) {}
    ~RecordingView() override { g_events << m_name + ":deleted"; }
    qint32 SetAppletItemManagRef(qint32 handle, std::shared_ptr<AppletItemManager> manager) override
    {
        g_events << m_name + ":attached";
        m_manager = manager;
        g_events << (handle > 0 ? QString() : m_name + ":no handle");
        g_events.removeAll(QString());
        if (m_oneShot)
            m_manager->fncUnregisterView(this);
        return 0;
    }
    qint32 Show() override
    {
        g_events << m_name + ":show";
        return 0;
    }
    qint32 Hide() override { return 0; }
    qint32 Destroy() override
    {
        g_events << m_name + ":destroy";
        m_manager.reset();
        return 0;
    }
    qint32 NotifyChanged(qint32, bool, qint32, qint32) override { return 0; }

private:
    QString m_name;
    bool m_oneShot;
    std::shared_ptr<AppletItemManager> m_manager;
};

} // namespace

class TstViews : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        auto &registry = ProgIdRegistry::instance();
        registry.registerView("Test.Always", [] {
            return std::make_shared<RecordingView>(QStringLiteral("always"), false);
        });
        registry.registerView("Test.Main", [] {
            return std::make_shared<RecordingView>(QStringLiteral("main"), false);
        });
        registry.registerView("Test.OneShot", [] {
            return std::make_shared<RecordingView>(QStringLiteral("oneshot"), true);
        });
        registry.registerObject("Test.Object", [] { return std::make_shared<QObject>(); });
    }

    void init() { g_events.clear(); }

    void startedViewsAreDestroyedLatestFirst()
    {
        {
            TestHost host;
            auto applet = host.manager()->fncGetApplet();
            QCOMPARE(applet->fncStartView("test.always"), 0); // without regard to case
            QCOMPARE(applet->fncStartView("Test.Main"), 0);
            QCOMPARE(host.instance().startedViewCount(), 2);
            QCOMPARE(host.manager()->viewCount(), 2);
            host.instance().close();
            QCOMPARE(host.manager()->viewCount(), 0);
        }
        QCOMPARE(g_events,
                 (QStringList{"always:attached", "always:show", "main:attached", "main:show",
                              "main:destroy", "main:deleted", "always:destroy", "always:deleted"}));
    }

    void aOneShotViewIsReleasedAfterItsCall()
    {
        TestHost host;
        QCOMPARE(host.manager()->fncGetApplet()->fncStartView("Test.OneShot"), 0);
        QCOMPARE(host.instance().startedViewCount(), 0);
        QVERIFY(!g_events.contains("oneshot:deleted")); // still inside its own call
        QTRY_VERIFY(g_events.contains("oneshot:deleted"));
        QVERIFY(!g_events.contains("oneshot:show"));
    }

    void unknownIdentifiers()
    {
        TestHost host;
        auto applet = host.manager()->fncGetApplet();
        QCOMPARE(applet->fncStartView("No.Such"), HostResult::UnknownProgId);
        QVERIFY(!applet->fncCreateObject("No.Such"));
        QVERIFY(applet->fncCreateObject("Test.Object"));
    }
};

VEX_TEST(TstViews)
#include "tst_Views.moc"

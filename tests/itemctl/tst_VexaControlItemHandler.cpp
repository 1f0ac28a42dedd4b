#include "TestHost.h"
#include "TestRegistry.h"

#include "VexAppletItemManager.h"
#include "VexaAppItem.h"
#include "VexaControlItemHandler.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QScopeGuard>
#include <QTest>

namespace {

QStringList &calls()
{
    static QStringList log;
    return log;
}

// Stands in for the framework's handler control.
class FakeFramework : public QObject
{
    Q_OBJECT
public:
    Q_INVOKABLE void Register(QWidget *dialog, std::shared_ptr<AppletItemManager>)
    {
        calls() << "framework register " + dialog->objectName();
    }
    Q_INVOKABLE void UnRegister() { calls() << "framework unregister"; }
    Q_INVOKABLE void Update() { calls() << "framework update"; }
Q_SIGNALS:
    void Deactivated();
};

// A control that reports its registrations; "faulty" ones throw.
class FakeControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Typ READ Typ)
public:
    FakeControl(const QString &name, QWidget *parent, QString typ = "VexaItem", bool faulty = false)
        : QWidget(parent), m_typ(std::move(typ)), m_faulty(faulty)
    {
        setObjectName(name);
    }
    QString Typ() const { return m_typ; }
    Q_INVOKABLE void Register(std::shared_ptr<AppletItemManager>)
    {
        calls() << "register " + objectName();
        if (m_faulty)
            throw std::runtime_error("faulty");
    }
    Q_INVOKABLE void UnRegister() { calls() << "unregister " + objectName(); }

private:
    QString m_typ;
    bool m_faulty;
};

} // namespace

class TstVexaControlItemHandler : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { calls().clear(); }

    void registration_data()
    {
        QTest::addColumn<bool>("standAlone");
        QTest::addColumn<bool>("withItems");
        QTest::addColumn<QStringList>("registered");
        QTest::addColumn<QStringList>("unregistered");
        QTest::newRow("framework and items")
            << false << true
            << QStringList{"framework register frmTest", "register appFirst", "register appFaulty",
                           "register appLast"}
            << QStringList{"framework unregister", "unregister appFirst", "unregister appFaulty",
                           "unregister appLast"};
        QTest::newRow("stand-alone")
            << true << true
            << QStringList{"register appFirst", "register appFaulty", "register appLast"}
            << QStringList{"unregister appFirst", "unregister appFaulty", "unregister appLast"};
        QTest::newRow("no item controls")
            << false << false << QStringList{"framework register frmTest"}
            << QStringList{"framework unregister"};
    }
    // Item controls in control order, nested ones included; text boxes,
    // other types and the controls of a window inside the dialog are passed
    // by; a faulty control does not stop the others.
    void registration()
    {
        QFETCH(bool, standAlone);
        QFETCH(bool, withItems);
        QFETCH(QStringList, registered);
        QFETCH(QStringList, unregistered);
        TestHost host;
        QWidget dialog;
        dialog.setObjectName("frmTest");
        auto *handler = new VexaControlItemHandler(&dialog);
        handler->setStandAlone(standAlone);
        handler->setFrameworkHandler(std::make_shared<FakeFramework>());
        new QLineEdit(&dialog);
        VexaAppItem *real = nullptr;
        if (withItems) {
            new FakeControl("appFirst", &dialog);
            auto *frame = new QGroupBox(&dialog);
            new FakeControl("lblOther", frame, "VexaLabel");
            new FakeControl("appFaulty", frame, "VexaItem", true);
            real = new VexaAppItem(frame);
            real->setAppItemName("message");
            new FakeControl("appLast", &dialog);
            auto *inner = new QWidget(&dialog, Qt::Window);
            new FakeControl("appOfAnotherWindow", inner);
        }

        // The faulty control's error is logged, not lost.
        QLoggingCategory::setFilterRules(QStringLiteral("vex.itemctl.info=true"));
        const auto rules = qScopeGuard([] { QLoggingCategory::setFilterRules(QString()); });
        if (withItems)
            QTest::ignoreMessage(QtInfoMsg, "control appFaulty not registered: faulty");
        handler->Register1(&dialog, host.manager());
        QCOMPARE(calls(), registered);
        QCOMPARE(handler->parentForm(), &dialog);
        QVERIFY(!handler->DesignMode());
        if (real) {
            QVERIFY(real->isRegistered());
            QVERIFY(!real->DesignMode());
        }
        calls().clear();
        handler->UpdateVexaControls();
        QCOMPARE(calls(), standAlone ? QStringList() : QStringList{"framework update"});

        calls().clear();
        handler->UnRegister();
        QCOMPARE(calls(), unregistered);
        QCOMPARE(handler->parentForm(), nullptr);
        if (real)
            QVERIFY(!real->isRegistered());
    }
};

VEX_TEST(TstVexaControlItemHandler)
#include "tst_VexaControlItemHandler.moc"

#include "TestHost.h"
#include "TestRegistry.h"

#include "IVexaFrameworkControl.h"
#include "ItemStore.h"
#include "VexAppletItemManager.h"
#include "VexaCtrlItemHandler.h"
#include "VexaItemBinding.h"
#include "VexaLabelTextUnit.h"
#include "VexaValueEdit.h"

#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <stdexcept>

namespace {

// A framework control that writes down what the handler asks of it.
class Recorder : public QWidget, public IVexaFrameworkControl
{
public:
    Recorder(const QString &name, QStringList &log, QWidget *parent)
        : QWidget(parent), m_name(name), m_log(log)
    {
    }
    void registerItems(const std::shared_ptr<AppletItemManager> &) override
    {
        m_log << QStringLiteral("register ") + m_name;
        if (failing)
            throw std::runtime_error("faulty control");
    }
    void unregisterItems() override { m_log << QStringLiteral("unregister ") + m_name; }
    void updateItems() override { m_log << QStringLiteral("update ") + m_name; }

    bool failing = false;

private:
    QString m_name;
    QStringList &m_log;
};

} // namespace

// The framework's item handler: which controls it binds, in which order, and
// what it does on update, unregister and deactivation.
class tst_VexaCtrlItemHandler : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bindsFrameworkControlsInCreationOrder()
    {
        TestHost host;
        QStringList log;
        QWidget dialog;
        new Recorder(QStringLiteral("a"), log, &dialog);
        auto *frame = new QGroupBox(&dialog);
        new QLineEdit(frame); // not a framework control
        new Recorder(QStringLiteral("b"), log, frame);
        auto *item = new QWidget(&dialog);
        item->setProperty("Typ", QStringLiteral("VexaItem")); // an item control is not ours
        auto *inner = new Recorder(QStringLiteral("c"), log, &dialog);
        new Recorder(QStringLiteral("inside c"), log, inner); // the control binds its own parts
        auto *other = new QDialog(&dialog);                   // another window, its own handler
        new Recorder(QStringLiteral("other window"), log, other);
        (new Recorder(QStringLiteral("faulty"), log, &dialog))->failing = true;
        new Recorder(QStringLiteral("d"), log, &dialog);

        VexaCtrlItemHandler handler;
        QMetaObject::invokeMethod(&handler, "registerControls", Q_ARG(QWidget *, &dialog),
                                  Q_ARG(std::shared_ptr<AppletItemManager>, host.manager()));
        QCOMPARE(log, QStringList({"register a", "register b", "register c", "register faulty",
                                   "register d"}));

        log.clear();
        QMetaObject::invokeMethod(&handler, "update");
        QCOMPARE(log,
                 QStringList({"update a", "update b", "update c", "update faulty", "update d"}));

        log.clear();
        delete inner; // gone before the dialog closes
        QMetaObject::invokeMethod(&handler, "unregisterControls");
        QCOMPARE(log, QStringList(
                          {"unregister a", "unregister b", "unregister faulty", "unregister d"}));
        QVERIFY(!handler.dialog());

        log.clear();
        handler.update();
        handler.unregisterControls();
        QVERIFY(log.isEmpty());
    }

    void deactivationIsPassedOnWhileRegistered()
    {
        TestHost host;
        QWidget dialog;
        VexaCtrlItemHandler handler;
        QSignalSpy deactivated(&handler, &VexaCtrlItemHandler::Deactivated);
        QEvent deactivate(QEvent::WindowDeactivate);

        QCoreApplication::sendEvent(&dialog, &deactivate);
        QCOMPARE(deactivated.count(), 0);
        handler.registerControls(&dialog, host.manager());
        QCoreApplication::sendEvent(&dialog, &deactivate);
        QCOMPARE(deactivated.count(), 1);
        handler.unregisterControls();
        QCoreApplication::sendEvent(&dialog, &deactivate);
        QCOMPARE(deactivated.count(), 1);
    }

    // Update before a save: an entry typed but not confirmed reaches the host.
    void updateWritesTheEntryNotYetConfirmed()
    {
        TestHost host;
        QWidget dialog;
        auto *text = new VexaLabelTextUnit(&dialog);
        text->setObjectNameText(QStringLiteral("scaleInLoLim"));
        VexaCtrlItemHandler handler;
        handler.registerControls(&dialog, host.manager());
        QVERIFY(text->fieldBinding().isBound());

        text->edit()->clear();
        QTest::keyClicks(text->edit(), QStringLiteral("12.25"));
        handler.update();
        ItemStore &store = host.manager()->store();
        QCOMPARE(store.text(store.indexOf(QStringLiteral("scaleInLoLim")), false),
                 QStringLiteral("12.25"));

        handler.unregisterControls();
        QVERIFY(!text->fieldBinding().isBound());
        QVERIFY(text->edit()->text().isEmpty());
    }
};

VEX_TEST(tst_VexaCtrlItemHandler)
#include "tst_VexaCtrlItemHandler.moc"

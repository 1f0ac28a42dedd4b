#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "ChangeNames.h"
#include "ConnectionController.h"
#include "DeviceIdentity.h"
#include "DeviceInstance.h"
#include "HistoryService.h"
#include "ResidentViews.h"
#include "ScriptedMessageBox.h"
#include "VexAppletItemManager.h"
#include "frame/ProgramLanguage.h"
#include "generic/GenericConfigurationPage.h"
#include "generic/GenericIdentificationPage.h"
#include "generic/GenericLoopPage.h"
#include "generic/GenericStatusPage.h"
#include "generic/GenericTrendPage.h"
#include "generic/GenericValuesPage.h"
#include "generic/frmGenericView.h"
#include "hart/HartCodec.h"
#include "history/HistoryTexts.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace universal = ChangeNames::universal;

// The generic view on the real program: host, simulated transmitter (which
// answers the universal and common-practice commands like any device),
// main window, change log.
class TstGenericView : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<MainWindowRig> m_rig;
    std::unique_ptr<ScriptedMessageBox> m_box;

    const TransmitterSettings &settings() const { return m_rig->device.model().settings(); }
    HistoryService *history() const { return historyServiceOf(m_rig->form().viewRef()); }

    QMdiSubWindow *frame() const
    {
        for (QMdiSubWindow *f : m_rig->form().mdiArea()->subWindowList()) {
            if (f->isVisible() && qobject_cast<frmGenericView *>(f->widget()))
                return f;
        }
        return nullptr;
    }

    // Through the menu, once everything is read.
    frmGenericView *open()
    {
        m_rig->form().runMenuCommand(QStringLiteral("mnuDeviceGenericView"));
        QMdiSubWindow *f = frame();
        auto *view = f ? qobject_cast<frmGenericView *>(f->widget()) : nullptr;
        if (!view ||
            !QTest::qWaitFor([view] { return settled(view) && view->device()->values().output; }))
            return nullptr;
        return view;
    }

    static bool settled(const frmGenericView *view)
    {
        return view->device()->state() == GenericDevice::State::Ready && !view->device()->isBusy();
    }

    static bool click(frmGenericView *view, QPushButton *button)
    {
        if (!button->isEnabled())
            return false;
        button->click();
        return QTest::qWaitFor([view] { return settled(view); });
    }

    static void type(QLineEdit *field, const QString &text)
    {
        field->selectAll();
        QTest::keyClicks(field, text);
    }

    // Item, old and new value as the History window lists them, oldest first.
    QList<QStringList> logged() const
    {
        QList<QStringList> rows;
        const QString key = DeviceIdentity::fromDevice(m_rig->instance().manager()->store()).key();
        for (const ChangeEntry &e : history()->changeLog().entries()) {
            if (e.device != key || e.outcome != ChangeEntry::Outcome::Accepted)
                continue;
            rows.prepend({HistoryTexts::itemLabel(e.item), HistoryTexts::oldValue(history(), e),
                          HistoryTexts::newValue(history(), e)});
        }
        return rows;
    }

    static QString packed(const QString &text, int bytes)
    {
        return HartCodec::unpackAscii(HartCodec::packAscii(text, bytes));
    }

private Q_SLOTS:
    void initTestCase()
    {
        registerResidentViews();
        registerWorkbenchViews();
    }
    void init()
    {
        QSettings().clear();
        m_rig = std::make_unique<MainWindowRig>(QStringList{
            "--history", m_dir.filePath(QString::fromLatin1(QTest::currentTestFunction()))});
        m_box = std::make_unique<ScriptedMessageBox>();
    }
    void cleanup()
    {
        m_box.reset();
        m_rig.reset();
        ProgramLanguage::apply(QStringLiteral("en"));
    }

    // Everything the device says, under the identity the host knows it by,
    // and the live values following the process.
    void readsTheDevice()
    {
        QVERIFY(m_rig->connect());
        frmGenericView *view = open();
        QVERIFY(view);
        const QString key = DeviceIdentity::fromDevice(m_rig->instance().manager()->store()).key();
        QCOMPARE(view->device()->identity()->key(), key);
        QCOMPARE(view->pageIdentification->lblKey->text(), key);
        QVERIFY(view->lblIdentity->text().contains(QStringLiteral("0x3C")));
        QCOMPARE(view->pageIdentification->txtTag->text(),
                 HartCodec::unpackAscii(settings().tag).trimmed());
        QCOMPARE(view->pageConfiguration->txtUpperRange->text(),
                 QString::number(settings().upperRangeMbar, 'g', 7));
        QCOMPARE(view->pageConfiguration->lblRangeUnit->text(), QStringLiteral("mbar"));
        QVERIFY(!view->pageValues->lblVariable[2]->text().isEmpty());
        QCOMPARE(view->pageIdentification->lblLongTagNote->text(),
                 QStringLiteral("only from HART 6 on"));
        QVERIFY(!view->pageIdentification->cmdWriteLongTag->isEnabled());
        QCOMPARE(view->pageStatus->lines(0), QStringList{"No bit set"});

        m_rig->device.setAppliedPressure(settings().upperRangeMbar / 2);
        QTRY_COMPARE_WITH_TIMEOUT(view->pageValues->lblPercent->text().left(2),
                                  QStringLiteral("50"), 5000);
        // The trend follows the same values, each in its unit.
        const TrendRecorder &trend = view->pageTrend->recorder();
        QCOMPARE(trend.curve(0).unit, QStringLiteral("mbar"));
        QCOMPARE(trend.curve(1).unit, QStringLiteral("°C"));
        const TrendRing &pv = trend.ring(0);
        QVERIFY(pv.size() >= 1);
        QVERIFY(qAbs(pv.at(pv.size() - 1).value - settings().upperRangeMbar / 2) < 5);
        QCOMPARE(m_box->texts(), QStringList());
    }

    // Tag and range written, the zero set: in the device, and in the change
    // log as the History window shows them.
    void writesTagRangeAndZero()
    {
        QVERIFY(m_rig->connect());
        frmGenericView *view = open();
        QVERIFY(view);
        const QString oldTag = HartCodec::unpackAscii(settings().tag).trimmed();
        type(view->pageIdentification->txtTag, QStringLiteral("GEN-1"));
        QVERIFY(click(view, view->pageIdentification->cmdWriteTag));
        QCOMPARE(settings().tag, HartCodec::packAscii(QStringLiteral("GEN-1"), 6));
        QCOMPARE(view->lblResult->text(),
                 QStringLiteral("Writing tag, descriptor and date: done."));

        const QString oldLower = QString::number(settings().lowerRangeMbar, 'g', 7);
        const QString oldUpper = QString::number(settings().upperRangeMbar, 'g', 7);
        type(view->pageConfiguration->txtLowerRange, QStringLiteral("-50"));
        type(view->pageConfiguration->txtUpperRange, QStringLiteral("250.5"));
        QVERIFY(click(view, view->pageConfiguration->cmdWriteRange));
        QCOMPARE(settings().lowerRangeMbar, -50.0);
        QCOMPARE(settings().upperRangeMbar, 250.5);

        m_rig->device.setAppliedPressure(0.4);
        m_box->enqueue(QMessageBox::Yes);
        QVERIFY(click(view, view->pageConfiguration->cmdZero));
        QCOMPARE(m_box->asked().size(), 1);
        QCOMPARE(m_box->asked()[0].icon, QMessageBox::Question);
        QVERIFY(settings().zeroOffsetMbar != 0.0);

        QCOMPARE(logged(),
                 (QList<QStringList>{{"Tag", oldTag, "GEN-1"},
                                     {"Lower range value", oldLower + " mbar", "-50 mbar"},
                                     {"Upper range value", oldUpper + " mbar", "250.5 mbar"},
                                     {"Set primary variable zero", "\u2013", "\u2013"}}));
    }

    // The loop test takes the loop out of automatic control only after the
    // user agreed; closing the window returns it to normal.
    void loopTestEndsWithTheWindow()
    {
        QVERIFY(m_rig->connect());
        frmGenericView *view = open();
        QVERIFY(view);
        GenericLoopPage *loop = view->pageLoop;
        type(loop->txtLoopCurrent, QStringLiteral("12"));
        m_box->enqueue(QMessageBox::No);
        loop->cmdLoopStart->click();
        QCOMPARE(m_box->asked().size(), 1);
        QCOMPARE(m_box->asked()[0].icon, QMessageBox::Warning);
        QCOMPARE(m_box->asked()[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QVERIFY(m_box->asked()[0].text.startsWith("The loop is taken out of automatic control"));
        QVERIFY(!view->device()->isBusy());
        QVERIFY(!m_rig->device.model().isOutputFixed());

        m_box->enqueue(QMessageBox::Yes);
        QVERIFY(click(view, loop->cmdLoopStart));
        QVERIFY(m_rig->device.model().isOutputFixed());
        QCOMPARE(m_rig->device.model().fixedCurrent(), 12.0);
        QCOMPARE(loop->lblLoopState->text(), QStringLiteral("The loop current is held at 12 mA."));

        QMdiSubWindow *f = frame();
        f->close();
        QTRY_VERIFY(!frame());
        QVERIFY(!m_rig->device.model().isOutputFixed());
        QCOMPARE(m_box->asked().size(), 2);
        QCOMPARE(logged(),
                 (QList<QStringList>{{"Fixed output current", "Standard Mode", "12 mA"},
                                     {"Fixed output current", "12 mA", "Standard Mode"}}));
    }

    // The 4 mA trim: the output fixed at 4 mA, the meter's reading sent.
    void trimsFourMilliamperes()
    {
        QVERIFY(m_rig->connect());
        frmGenericView *view = open();
        QVERIFY(view);
        GenericLoopPage *loop = view->pageLoop;
        QVERIFY(!loop->cmdTrimZero->isEnabled());
        m_box->enqueue(QMessageBox::Yes);
        QVERIFY(click(view, loop->cmdTrimZeroSet));
        QCOMPARE(m_rig->device.model().fixedCurrent(), 4.0);
        type(loop->txtTrimZero, QStringLiteral("4.02"));
        const double offset = settings().dacOffset;
        QVERIFY(click(view, loop->cmdTrimZero));
        QCOMPARE(view->lblResult->text(), QStringLiteral("Trim 4 mA: done."));
        QVERIFY(qAbs(settings().dacOffset - (offset - 0.02)) < 1e-6);
        view->cmdClose->click();
        QTRY_VERIFY(!frame());
        QVERIFY(!m_rig->device.model().isOutputFixed());
        QCOMPARE(logged(),
                 (QList<QStringList>{{"Fixed output current", "Standard Mode", "4 mA"},
                                     {"Adjustment 4 mA: Measured Current", "not read", "4.02 mA"},
                                     {"Fixed output current", "4 mA", "Standard Mode"}}));
    }

    // Not connected, the view finds the device itself and lets the link go
    // again when it closes; the host stays as it was.
    void findsTheDeviceWhileNotConnected()
    {
        QCOMPARE(m_rig->instance().connection().status(), ConnectionController::NotConnected);
        frmGenericView *view = open();
        QVERIFY(view);
        QVERIFY(m_rig->link().isOpen());
        QCOMPARE(view->lblState->text(), QStringLiteral("Connected."));
        view->cmdClose->click();
        QTRY_VERIFY(!frame());
        QVERIFY(!m_rig->link().isOpen());
        QCOMPARE(m_rig->instance().connection().status(), ConnectionController::NotConnected);
    }

    void inGerman()
    {
        QVERIFY(ProgramLanguage::apply(QStringLiteral("de")));
        m_rig = std::make_unique<MainWindowRig>(
            QStringList{"--history", m_dir.filePath(QStringLiteral("german"))});
        QVERIFY(m_rig->connect());
        frmGenericView *view = open();
        QVERIFY(view);
        QCOMPARE(view->windowTitle(), QStringLiteral("Allgemeine HART-Ansicht"));
        QCOMPARE(view->tbsGeneric->tabText(4), QStringLiteral("Schleifentest und Abgleich"));
        // Wide enough for every title at once, none behind the scroll arrows
        // (where the main window leaves the room).
        frmGenericView design(nullptr);
        design.show();
        const QTabBar *tabs = design.tbsGeneric->tabBar();
        QVERIFY(tabs->width() >= tabs->sizeHint().width());
        const QString oldDamping = QString::number(settings().dampingSeconds, 'g', 7);
        type(view->pageConfiguration->txtDamping, QStringLiteral("2,5"));
        QVERIFY(click(view, view->pageConfiguration->cmdWriteDamping));
        QCOMPARE(settings().dampingSeconds, 2.5);
        QCOMPARE(view->pageConfiguration->txtDamping->text(), QStringLiteral("2,5"));
        QVERIFY(view->pageValues->lblCurrent->text().contains(QLatin1Char(',')));
        QCOMPARE(logged().last(),
                 (QStringList{"Dämpfung", QString(oldDamping).replace('.', ',') + " s", "2,5 s"}));
    }
};

VEX_TEST(TstGenericView)
#include "tst_GenericView.moc"

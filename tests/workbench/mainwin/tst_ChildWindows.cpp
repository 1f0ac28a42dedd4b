#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "ResidentViews.h"
#include "mainwin/ChildWindowPlacement.h"
#include "mainwin/MenuAccessKeys.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"
#include "mainwin/global.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>

namespace {

// A child window that needs a width and height of its own to show its text.
QWidget *window(const QString &title, QSize minimum = {180, 90})
{
    auto *w = new QWidget;
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setWindowTitle(title);
    w->setMinimumSize(minimum);
    (new QVBoxLayout(w))->addWidget(new QLabel(title, w));
    return w;
}

QStringList windowMenu(frmMain &main)
{
    QMenu *menu = main.commandBar().menu(QStringLiteral("mnuWindow"));
    Q_EMIT menu->aboutToShow();
    QStringList texts;
    for (QAction *action : menu->actions()) {
        if (action->isVisible() && !action->isSeparator())
            texts << action->text();
    }
    return texts;
}

} // namespace

// The main window's document area: where child windows open, that they stay
// reachable, how they are arranged, and the Window menu that lists them.
class TstChildWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        registerResidentViews();
        registerWorkbenchViews();
    }

    void placementRules_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QSize>("area");
        QTest::addColumn<QPoint>("kept");
        QTest::newRow("inside stays")
            << QRect(20, 30, 200, 100) << QSize(800, 600) << QPoint(20, 30);
        QTest::newRow("close button past the right edge")
            << QRect(700, 30, 200, 100) << QSize(800, 600) << QPoint(600, 30);
        QTest::newRow("title bar above the top")
            << QRect(10, -50, 200, 100) << QSize(800, 600) << QPoint(10, 0);
        QTest::newRow("title bar below the bottom")
            << QRect(10, 590, 200, 100) << QSize(800, 600) << QPoint(10, 575);
        QTest::newRow("wider than the area keeps its right end")
            << QRect(50, 10, 900, 100) << QSize(800, 600) << QPoint(-100, 10);
    }
    void placementRules()
    {
        QFETCH(QRect, frame);
        QFETCH(QSize, area);
        QFETCH(QPoint, kept);
        QCOMPARE(ChildWindowPlacement::keepInside(frame, area, 25).topLeft(), kept);
    }

    void cascadeAndTileGeometry()
    {
        using namespace ChildWindowPlacement;
        // Each new window one step further, starting again where it would leave the area.
        QCOMPARE(cascadePosition(0, {300, 200}, {800, 600}, 30), QPoint(0, 0));
        QCOMPARE(cascadePosition(2, {300, 200}, {800, 600}, 30), QPoint(60, 60));
        QCOMPARE(cascadePosition(14, {300, 200}, {800, 600}, 30), QPoint(0, 0));

        // Side by side while they fit, in two rows when they do not.
        const QList<QSize> three(3, QSize(250, 100));
        QList<QRect> tiles = tile({800, 600}, three, Qt::Horizontal);
        QCOMPARE(tiles.size(), 3);
        QCOMPARE(tiles[2], QRect(533, 0, 267, 600));
        tiles = tile({600, 600}, three, Qt::Horizontal);
        QCOMPARE(tiles[0], QRect(0, 0, 300, 300));
        QCOMPARE(tiles[2], QRect(0, 300, 600, 300)); // the last row's one window takes it whole
        tiles = tile({800, 600}, three, Qt::Vertical);
        QCOMPARE(tiles[1], QRect(0, 200, 800, 200));
        // No arrangement leaves them their minimum: none is given.
        QVERIFY(tile({300, 150}, three, Qt::Horizontal).isEmpty());
    }

    void accessKeys()
    {
        // Existing keys stay; the others get a free letter, word starts first.
        QCOMPARE(MenuAccessKeys::assign({"&Copy", "Paste", "Print Preview", "Connect", "Pro"}),
                 QStringList({"&Copy", "&Paste", "P&rint Preview", "C&onnect", "Pro"}));
        QCOMPARE(MenuAccessKeys::assign({"Fish && Chips"}), QStringList({"&Fish && Chips"}));
    }

    void everyMenuEntryHasAnAccessKey()
    {
        for (const char *lang : {"en", "de"}) {
            MainWindowRig rig({"--lang", lang});
            const QList<QMenu *> menus = rig.form().findChildren<QMenu *>();
            for (QMenu *menu : menus) {
                for (QAction *action : menu->actions()) {
                    if (action->isSeparator() || action->text().isEmpty() || !action->isVisible())
                        continue;
                    QVERIFY2(action->text().contains(QLatin1Char('&')),
                             qPrintable(lang + QStringLiteral(": ") + action->text()));
                }
            }
        }
    }

    void newWindowsCascadeAndStayReachable()
    {
        MainWindowRig rig;
        frmMain &main = rig.form();
        main.resize(1000, 700);
        QMdiArea *area = main.mdiArea();
        main.ShowChildForm(window(QStringLiteral("One")));
        main.ShowChildForm(window(QStringLiteral("Two")));
        const QList<QMdiSubWindow *> frames = area->subWindowList();
        QCOMPARE(frames.size(), 2);
        QVERIFY(frames[1]->pos().x() > frames[0]->pos().x());
        QVERIFY(frames[1]->pos().y() > frames[0]->pos().y());
        // One that chose its size keeps it, as far as the area has room.
        QWidget *sized = window(QStringLiteral("Sized"));
        sized->resize(420, 260);
        main.ShowChildForm(sized);
        QCOMPARE(sized->size(), QSize(420, 260));
        QWidget *wide = window(QStringLiteral("Wide"));
        wide->resize(5000, 200);
        main.ShowChildForm(wide);
        QVERIFY(wide->parentWidget()->width() <= area->viewport()->width());
        wide->close();
        sized->close();

        // Dragged or left past the area's edge, a window comes back with its close button.
        frames[1]->move(area->viewport()->width() - 50, 40);
        QCOMPARE(frames[1]->geometry().right(), area->viewport()->width() - 1);
        frames[0]->move(100, 300);
        main.resize(700, 400); // the area shrinks under it
        // Its title bar comes back into the area.
        QTRY_VERIFY(frames[0]->y() + 10 <= area->viewport()->height());
        QVERIFY(frames[0]->geometry().right() < area->viewport()->width());
    }

    void windowMenuArrangesListsAndCloses()
    {
        MainWindowRig rig;
        frmMain &main = rig.form();
        main.resize(1000, 700);
        for (const char *title : {"Bar", "Trend", "Status"})
            main.ShowChildForm(window(QLatin1String(title), {200, 150}));
        QMdiArea *area = main.mdiArea();
        QTRY_COMPARE(area->subWindowList().size(), 3);
        const QStringList menu = windowMenu(main);
        QVERIFY(menu.contains("&1 Bar") && menu.contains("&3 Status"));

        // Tiled, no window is smaller than its contents need.
        main.runMenuCommand(QStringLiteral("mnuWindowTileHorizontal"));
        for (QMdiSubWindow *frame : area->subWindowList())
            QVERIFY(frame->width() >= frame->minimumSizeHint().width());
        QCOMPARE(area->subWindowList()[1]->y(), area->subWindowList()[0]->y());
        main.runMenuCommand(QStringLiteral("mnuWindowTileVertical"));
        QCOMPARE(area->subWindowList()[1]->x(), area->subWindowList()[0]->x());
        main.runMenuCommand(QStringLiteral("mnuWindowCascade"));
        QVERIFY(area->subWindowList()[1]->pos() != area->subWindowList()[0]->pos());

        // Ctrl+F4 closes the active child window.
        area->setActiveSubWindow(area->subWindowList()[2]);
        QCOMPARE(main.menuEntry("mnuWindowClose")->shortcut(), QKeySequence("Ctrl+F4"));
        main.menuEntry("mnuWindowClose")->trigger();
        QTRY_COMPARE(area->subWindowList().size(), 2);
        QVERIFY(!windowMenu(main).contains("&3 Status"));
    }

    // A device operation disables the main window while it runs; after it the
    // window and field the user worked in are still in front, not the first
    // window that takes the focus (the trend, opened first).
    void deviceOperationKeepsTheUsersPlace()
    {
        MainWindowRig rig;
        frmMain &main = rig.form();
        main.resize(1000, 700);
        QApplication::setActiveWindow(&main);
        QWidget *trend = window(QStringLiteral("Trend"));
        auto *trendField = new QLineEdit(trend);
        trend->layout()->addWidget(trendField);
        main.ShowChildForm(trend);
        QWidget *dialog = window(QStringLiteral("Configure"));
        auto *field = new QLineEdit(dialog);
        dialog->layout()->addWidget(field);
        main.ShowChildForm(dialog);
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        QMdiSubWindow *working = main.mdiArea()->activeSubWindow();
        QCOMPARE(working->widget(), dialog);

        EnableMainWindow(false);
        QVERIFY(!main.isEnabled());
        EnableMainWindow(true);
        QCOMPARE(main.mdiArea()->activeSubWindow(), working);
        QTRY_VERIFY(field->hasFocus());

        // The same when a question came first: its box leaves the main window
        // inactive while the operation starts.
        QApplication::setActiveWindow(nullptr);
        EnableMainWindow(false);
        QApplication::setActiveWindow(&main);
        EnableMainWindow(true);
        QCOMPARE(main.mdiArea()->currentSubWindow(), working);
        QTRY_VERIFY(field->hasFocus());
    }

    // A device action that is not offered says why, also on a multidrop address.
    void unavailableEntriesSayWhy()
    {
        MainWindowRig rig;
        frmMain &main = rig.form();
        QCOMPARE(main.menuEntry("mnuDiagnostics")->statusTip(),
                 "Needs a connected device (Device > Connect).");
        QVERIFY(rig.connect());
        QVERIFY(main.menuEntry("mnuDiagnostics")->statusTip().isEmpty());
        QVERIFY(main.menuEntry("mnuCalibrateCurrent")->isEnabled());
        rig.set("&&private_PM&&Address", "3");
        QVERIFY(!main.menuEntry("mnuCalibrateCurrent")->isEnabled());
        QCOMPARE(main.menuEntry("mnuCalibrateCurrent")->toolTip(),
                 "The device is at a multidrop address (polling address 3): its loop current "
                 "is fixed at 4 mA.");
    }
};

VEX_TEST(TstChildWindows)
#include "tst_ChildWindows.moc"

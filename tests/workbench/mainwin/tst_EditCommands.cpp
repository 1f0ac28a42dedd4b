#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "ResidentViews.h"
#include "mainwin/MainCommandTable.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

// Edit Copy and Paste follow the focused control of the active child window:
// available only where there is a text to copy or a field to take one.
class TstEditCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        registerResidentViews();
        registerWorkbenchViews();
    }

    void copyAndPasteFollowTheFocus()
    {
        MainWindowRig rig;
        frmMain &main = rig.form();
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        const auto available = [&main](const char *entry, const char *button) {
            const bool menu = main.menuEntry(QLatin1String(entry))->isEnabled();
            if (main.toolbarButton(QLatin1String(button))->isEnabled() != menu)
                qFatal("%s and %s differ", entry, button);
            return menu;
        };
        // Nothing open: nothing to copy, nowhere to paste, and both say what would help.
        QVERIFY(!available("mnuEditCopy", "tbCopy"));
        QVERIFY(!available("mnuEditPaste", "tbPaste"));
        QCOMPARE(main.menuEntry("mnuEditCopy")->statusTip(),
                 "Click into a field with a text in a device window to copy it.");
        QVERIFY(main.toolbarButton("tbPaste")->toolTip().endsWith(
            "Click into a field you can type into; the clipboard must hold a text."));

        auto *dialog = new QWidget;
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        auto *value = new QLineEdit(QStringLiteral("400 mbar"), dialog);
        auto *shown = new QLineEdit(QStringLiteral("PT-1"), dialog);
        shown->setReadOnly(true);
        auto *layout = new QVBoxLayout(dialog);
        layout->addWidget(value);
        layout->addWidget(shown);
        main.ShowChildForm(dialog);
        value->setFocus();
        QTRY_VERIFY(available("mnuEditCopy", "tbCopy"));
        QVERIFY(!available("mnuEditPaste", "tbPaste")); // the clipboard is empty

        QVERIFY(main.menuEntry("mnuEditCopy")->statusTip().isEmpty());
        value->setSelection(0, 3);
        main.runMenuCommand(QStringLiteral("mnuEditCopy"));
        QCOMPARE(clipboard->text(), QStringLiteral("400"));
        QTRY_VERIFY(available("mnuEditPaste", "tbPaste"));

        // A field that only shows its value gives its text and takes none.
        shown->setFocus();
        QTRY_VERIFY(!available("mnuEditPaste", "tbPaste"));
        main.tbToolBar_ButtonClick(QStringLiteral("tbCopy"));
        QCOMPARE(clipboard->text(), QStringLiteral("PT-1"));
        main.runMenuCommand(QStringLiteral("mnuEditPaste"));
        QCOMPARE(shown->text(), QStringLiteral("PT-1"));

        value->setFocus();
        QTRY_VERIFY(available("mnuEditPaste", "tbPaste"));
        main.runMenuCommand(QStringLiteral("mnuEditPaste"));
        QCOMPARE(value->text(), QStringLiteral("PT-1"));

        main.UnloadChildForms();
        QTRY_VERIFY(!available("mnuEditCopy", "tbCopy"));
        QVERIFY(!available("mnuEditPaste", "tbPaste"));
    }

    // Tooltips say what a button does, without the menu's access-key markers.
    void toolbarTooltipsWithoutMarkers()
    {
        MainWindowRig rig;
        for (const MainToolbarButton &b : MainCommandTable::buttons()) {
            if (!*b.key)
                continue;
            const QString tip = rig.form().toolbarButton(QLatin1String(b.key))->toolTip();
            QVERIFY2(!tip.isEmpty() && !tip.contains(QLatin1Char('&')), b.key);
        }
        QCOMPARE(rig.form().toolbarButton(QStringLiteral("tbopen"))->toolTip(),
                 QStringLiteral("Open..."));
    }
};

VEX_TEST(TstEditCommands)
#include "tst_EditCommands.moc"

#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "ResidentViews.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

// Pictures of the main window and its Device and File menus, connected and
// not, in English and German, for a person to look at. Runs only when
// VEX_GRAB_DIR names the folder to write them to.
class TstMainWindowGrabs : public QObject
{
    Q_OBJECT

private:
    QString m_folder;

    void save(const QPixmap &picture, const QString &name)
    {
        QVERIFY(!picture.isNull());
        QVERIFY(picture.save(QDir(m_folder).filePath(name)));
    }

    void saveMenu(frmMain &form, const char *menuName, const QString &name)
    {
        auto *menu = form.findChild<QMenu *>(QLatin1String(menuName));
        QVERIFY(menu);
        menu->popup(form.mapToGlobal(QPoint(20, 40)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        save(menu->grab(), name);
        menu->hide();
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_folder = qEnvironmentVariable("VEX_GRAB_DIR");
        if (!m_folder.isEmpty())
            QDir().mkpath(m_folder);
        registerResidentViews();
        registerWorkbenchViews();
    }
    void cleanupTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void grabs_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("connected");
        for (const char *language : {"en", "de"}) {
            QTest::newRow(qPrintable(QString("%1 disconnected").arg(language)))
                << language << false;
            QTest::newRow(qPrintable(QString("%1 connected").arg(language))) << language << true;
        }
    }
    void grabs()
    {
        QFETCH(QString, language);
        QFETCH(bool, connected);
        if (m_folder.isEmpty())
            QSKIP("VEX_GRAB_DIR not set");
        QLocale::setDefault(language == "de" ? QLocale(QLocale::German, QLocale::Germany)
                                             : QLocale(QLocale::English, QLocale::UnitedStates));
        MainWindowRig rig;
        frmMain &form = rig.form();
        form.resize(760, 520);
        if (connected)
            QVERIFY(rig.connect());
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QString state = connected ? "connected" : "disconnected";
        save(form.grab(), QString("main-%1-%2.png").arg(state, language));
        saveMenu(form, "mnuDevice", QString("menu-device-%1-%2.png").arg(state, language));
        saveMenu(form, "mnuFile", QString("menu-file-%1-%2.png").arg(state, language));
        saveMenu(form, "mnuDiagnostics",
                 QString("menu-diagnostics-%1-%2.png").arg(state, language));
    }
};

VEX_TEST(TstMainWindowGrabs)
#include "tst_MainWindowGrabs.moc"

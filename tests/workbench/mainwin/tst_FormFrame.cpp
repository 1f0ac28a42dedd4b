#include "SampleDialog.h"
#include "TestHost.h"
#include "TestRegistry.h"

#include "ResStringTable.h"
#include "VexAppletItemManager.h"
#include "VexException.h"
#include "VexaAppItem.h"
#include "VexaControlItemHandler.h"
#include "VexaSequenceItem.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/global.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTest>

namespace {

void useLanguage(const QString &language)
{
    if (language == "de")
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    else if (language == "fr")
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    else
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

// Counts the framework handler's registrations of a dialog.
class CountingFramework : public QObject
{
    Q_OBJECT
public:
    Q_INVOKABLE void Register(QWidget *, std::shared_ptr<AppletItemManager>) { ++registrations; }
    Q_INVOKABLE void UnRegister() { ++unregistrations; }
    Q_INVOKABLE void Update() {}
    int registrations = 0;
    int unregistrations = 0;
};

QString storedValue(const QString &name)
{
    QSettings settings(QCoreApplication::organizationName(), QCoreApplication::applicationName());
    return settings.value("Settings/" + name).toString();
}

} // namespace

class TstFormFrame : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName("WorkbenchTest");
        QCoreApplication::setApplicationName("tst_mainwin");
        QSettings(QCoreApplication::organizationName(), QCoreApplication::applicationName())
            .clear();
        InstallProgramStringTable(std::make_shared<ResStringTable>(
            ResStringTable::fromTsv(QByteArray(SampleDialog::Strings))));
    }
    void cleanupTestCase() { InstallProgramStringTable(nullptr); }
    void cleanup()
    {
        useLanguage("en");
        SetMainWindow(nullptr);
    }

    void textLookup_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("expected"); // empty: the id is in no table
        QTest::newRow("German") << "de" << 1000 << "&Datei";
        QTest::newRow("English") << "en" << 1000 << "&File";
        QTest::newRow("French falls to neutral") << "fr" << 1000 << "&File";
        QTest::newRow("German missing, English given") << "de" << 1002 << "Only in English";
        QTest::newRow("missing id") << "de" << 1003 << "";
    }
    void textLookup()
    {
        QFETCH(QString, language);
        QFETCH(int, id);
        QFETCH(QString, expected);
        useLanguage(language);
        try {
            QCOMPARE(GetResText(qint16(id)), expected);
            QVERIFY(!expected.isEmpty());
        } catch (const VexException &e) {
            QVERIFY(expected.isEmpty());
            QCOMPARE(e.number(), ResStringTable::ResourceNotFound);
        }
    }

    // Each element keeps its design text unless its id resolves.
    void textsAppliedToTheWindow()
    {
        useLanguage("de");
        QWidget window;
        window.setProperty("Tag", 1001);
        const QList<std::pair<QVariant, QString>> labels{
            {1000, "&Datei"}, {1003, "design"}, {"-", "design"}, {"1002", "Only in English"}};
        QList<QLabel *> created;
        for (const auto &[tag, expected] : labels) {
            created << new QLabel("design", &window);
            created.last()->setProperty("Tag", tag);
        }
        auto *tabs = new QTabWidget(&window);
        tabs->addTab(new QWidget, "1012");
        tabs->addTab(new QWidget, "design");
        LoadResStrings(&window);
        QCOMPARE(window.windowTitle(), QString("Messbereich"));
        for (qsizetype i = 0; i < labels.size(); ++i)
            QCOMPARE(created[i]->text(), labels[i].second);
        QCOMPARE(tabs->tabText(0), QString("Gerätenachricht"));
        QCOMPARE(tabs->tabText(1), QString("design"));
    }

    void formatResText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("expected");
        QTest::newRow("close") << GetResText(2123) << QStringList{"Pressure"} << "Pressure Close";
        QTest::newRow("repeated") << "%1 and %1" << QStringList{"a"} << "a and a";
        QTest::newRow("argument holds its placeholder")
            << "%1-%1" << QStringList{"x%1"} << "x%1-x%1";
        QTest::newRow("missing argument stays") << "%1 %2" << QStringList{"a"} << "a %2";
        QTest::newRow("%10 is not %1") << "%1 %10" << QStringList{"a"} << "a %10";
        QTest::newRow("in list order") << "%2 %1" << QStringList{"a", "b"} << "b a";
    }
    void formatResText()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, args);
        QFETCH(QString, expected);
        QCOMPARE(FormatResText(text, args), expected);
    }

    // Stored in twips beside a main window in twips (one pixel per twip).
    void clampPlacement_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("fits") << QRect(1000, 1000, 3000, 2000) << QPoint(1000, 1000);
        QTest::newRow("beyond the right") << QRect(9000, 100, 3000, 2000) << QPoint(50, 100);
        QTest::newRow("into the right margin") << QRect(4800, 100, 3000, 2000) << QPoint(50, 100);
        QTest::newRow("into the lower part") << QRect(1000, 3000, 3000, 4000) << QPoint(1000, 50);
        QTest::newRow("both") << QRect(7000, 7000, 3000, 4000) << QPoint(50, 50);
    }
    void clampPlacement()
    {
        QFETCH(QRect, stored);
        QFETCH(QPoint, expected);
        QCOMPARE(ClampPlacement(stored, QSize(8000, 8000), 1.0).topLeft(), expected);
    }

    // Two screens side by side, the second with a panel along its top.
    void fitOnScreen_data()
    {
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("inside") << QRect(100, 80, 600, 400) << QRect(100, 80, 600, 400);
        QTest::newRow("on the second") << QRect(1300, 100, 600, 400) << QRect(1300, 100, 600, 400);
        QTest::newRow("menu above the top") << QRect(100, -20, 600, 400) << QRect(100, 0, 600, 400);
        QTest::newRow("under the panel") << QRect(1300, 10, 600, 400) << QRect(1300, 30, 600, 400);
        QTest::newRow("beyond the right")
            << QRect(2300, 100, 600, 400) << QRect(2000, 100, 600, 400);
        QTest::newRow("mostly on the second")
            << QRect(1100, 100, 600, 400) << QRect(1280, 100, 600, 400);
        QTest::newRow("larger than the screen")
            << QRect(-50, -50, 1500, 1200) << QRect(0, 0, 1280, 1024);
        QTest::newRow("on no screen") << QRect(5000, 5000, 600, 400) << QRect(340, 312, 600, 400);
    }
    void fitOnScreen()
    {
        QFETCH(QRect, wanted);
        QFETCH(QRect, expected);
        const QList<QRect> screens{QRect(0, 0, 1280, 1024), QRect(1280, 30, 1320, 1050)};
        QCOMPARE(FitOnScreen(wanted, screens), expected);
    }

    void placementPerUser()
    {
        QWidget main;
        main.resize(800, 600);
        SetMainWindow(&main);
        QWidget dialog;
        dialog.setObjectName("frmPlaced");
        dialog.setWindowTitle("Placed");
        dialog.resize(200, 100);
        dialog.move(30, 40);
        dialog.show();
        SaveWindowPlacement(&dialog, true, true);
        QCOMPARE(storedValue("frmPlaced_PlacedLeft"), QString("30"));
        QCOMPARE(storedValue("frmPlaced_PlacedHeight"), QString("100"));

        dialog.showMinimized();
        dialog.move(300, 300);
        SaveWindowPlacement(&dialog, false, false);
        QCOMPARE(storedValue("frmPlaced_PlacedLeft"), QString("30"));

        dialog.showNormal();
        dialog.move(5, 5);
        dialog.resize(10, 10);
        RestoreWindowPlacement(&dialog, true, true);
        QCOMPARE(dialog.pos(), QPoint(30, 40));
        QCOMPARE(dialog.size(), QSize(200, 100));

        // Placements are kept per caption; a damaged value does not stop the dialog.
        dialog.setWindowTitle("Platziert");
        QSettings(QCoreApplication::organizationName(), QCoreApplication::applicationName())
            .setValue("Settings/frmPlaced_PlatziertLeft", "abc");
        // Nothing usable stored: the window stays where it was opened.
        RestoreWindowPlacement(&dialog, true, true);
        QCOMPARE(dialog.pos(), QPoint(30, 40));
        QCOMPARE(dialog.size(), QSize(200, 100));
    }

    // Bound at the first activation only; after closing, the next opening
    // binds anew.
    void activationBindsOnce()
    {
        TestHost host;
        testhost::setDataset(*host.manager(), "message", "first");
        SampleView view(host.manager());
        SampleDialog dialog;
        auto framework = std::make_shared<CountingFramework>();
        dialog.VexaControlItemHandler1()->setFrameworkHandler(framework);
        dialog.setViewRef(&view);

        dialog.CommonLoad();
        QVERIFY(!dialog.container()->isVisibleTo(&dialog));
        QVERIFY(dialog.CommonActivate());
        QVERIFY(!dialog.CommonActivate());
        QCOMPARE(framework->registrations, 1);
        QVERIFY(dialog.container()->isVisibleTo(&dialog));
        QCOMPARE(dialog.txtMessage->text(), QString("first"));

        dialog.CommonUnload();
        QVERIFY(!dialog.appMessage->isRegistered());
        QCOMPARE(framework->unregistrations, 1);

        testhost::setDataset(*host.manager(), "message", "second");
        dialog.show();
        QCOMPARE(framework->registrations, 2);
        QCOMPARE(dialog.txtMessage->text(), QString("second"));
        QVERIFY(dialog.seqSetLowerRange->isRegistered());
        dialog.close();
        QVERIFY(!dialog.seqSetLowerRange->isRegistered());
    }
};

VEX_TEST(TstFormFrame)
#include "tst_FormFrame.moc"

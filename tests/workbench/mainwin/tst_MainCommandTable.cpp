#include "TestRegistry.h"

#include "mainwin/MainCommandStates.h"
#include "mainwin/MainCommandTable.h"

#include <QSet>
#include <QTest>
#include <typeinfo>

// The main window's commands without a window: the table's consistency, the
// registration of what an entry runs, and the availability rules.
namespace {

using S = ConnectionState;

// The elements the connection decides, as the main window shows them when
// the connection has settled.
const QStringList ConnectedOnly{"tbDiagnostics",         "tbReadFromDevice",
                                "tbWriteToDevice",       "tbDisconnect",
                                "mnuDeviceReset",        "mnuDisplay",
                                "mnuDiagnostics",        "mnuCalibrate",
                                "mnuDeviceSaveToDevice", "mnuDeviceLoadFromDevice",
                                "mnuDeviceCompare",      "tbCompare"};
const QStringList NotConnectedOnly{"tbConnect", "tbNew", "tbopen", "mnuFileNew", "mnuFileOpen"};
const QStringList ConnectionPair{"tbConnect", "mnuDeviceConnect", "tbDisconnect",
                                 "mnuDeviceDisconnect"};

QStringList disabled(const MainCommandStates &states, const QStringList &names)
{
    QStringList out;
    for (const QString &n : names) {
        if (!states.enabled(n))
            out << n;
    }
    return out;
}

QStringList enabled(const MainCommandStates &states, const QStringList &names)
{
    QStringList out;
    for (const QString &n : names) {
        if (states.enabled(n))
            out << n;
    }
    return out;
}

} // namespace

class TstMainCommandTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Rows others add must keep the table whole: unique names, submenu entries
    // under a submenu, every button running a command entry.
    void tableIsConsistent()
    {
        QSet<QString> names;
        int previousLevel = -1;
        bool underSubmenu = false;
        for (const MainMenuEntry &e : MainCommandTable::entries()) {
            QVERIFY2(e.level <= previousLevel + 1, e.name);
            if (e.level == 1)
                underSubmenu = false;
            if (e.level == 2)
                QVERIFY2(underSubmenu, e.name);
            if (e.is(MainMenuEntry::Submenu))
                underSubmenu = true;
            previousLevel = e.level;
            if (e.is(MainMenuEntry::Separator)) {
                QCOMPARE(QString(e.name), QString());
                continue;
            }
            QVERIFY2(!names.contains(e.name), e.name);
            names.insert(e.name);
            // These few have their text in the program's own catalogue.
            const bool ownText = QByteArray(e.name) == "mnuDeviceFleet" ||
                                 QByteArray(e.name) == "mnuDeviceHistoryServer";
            QVERIFY2(e.textId > 0 || e.is(MainMenuEntry::NoCommand) || ownText, e.name);
        }
        int buttons = 0;
        for (const MainToolbarButton &b : MainCommandTable::buttons()) {
            if (!*b.key)
                continue;
            ++buttons;
            QVERIFY2(!names.contains(b.key), b.key);
            names.insert(b.key);
            const MainMenuEntry *entry = MainCommandTable::entry(b.entry);
            QVERIFY2(entry && !entry->opensMenu() && !entry->is(MainMenuEntry::NoCommand), b.key);
            QCOMPARE(MainCommandTable::commandEntry(b.key), QString(b.entry));
        }
        QCOMPARE(buttons, 11);
    }

    // The main window's own commands are there from the start; the dialog
    // entries wait for their windows, the rest by design need none.
    void builtInCommandsRegistered_data()
    {
        QTest::addColumn<QString>("entry");
        for (const char *e : {"mnuFileNew",
                              "mnuFileOpen",
                              "mnuFileSave",
                              "mnuFileSaveAs",
                              "mnuFilePrintPreview",
                              "mnuFileExit",
                              "mnuEditCopy",
                              "mnuEditPaste",
                              "mnuDeviceConnect",
                              "mnuDeviceDisconnect",
                              "mnuDeviceLoadFromDevice",
                              "mnuDeviceSaveToDevice",
                              "mnuDeviceResetLoadDefault",
                              "mnuDeviceResetWarmStart",
                              "mnuViewToolbar",
                              "mnuViewStatusBar",
                              "mnuViewDeviceSummary",
                              "mnuWindowCascade",
                              "mnuWindowTileHorizontal",
                              "mnuWindowTileVertical",
                              "mnuHelpContents",
                              "mnuHelpSearchForHelpOn",
                              "mnuHelpReadme",
                              "mnuHelpAbout"})
            QTest::newRow(e) << QString(e);
    }
    void builtInCommandsRegistered()
    {
        QFETCH(QString, entry);
        QVERIFY(MainCommandTable::command(entry));
        QVERIFY(!MainCommandTable::commandMissing(entry));
    }

    void registrationStandsInAndLeaves()
    {
        const char *name = "mnuDeviceIdentification";
        const auto before = MainCommandTable::command(name).target_type().name();
        const auto outer = [](frmMain &) {};
        const auto inner = [](frmMain &) {};
        {
            MainCommandTable::Registration first(name, outer);
            {
                MainCommandTable::Registration second(name, inner);
                QVERIFY(MainCommandTable::command(name).target_type() == typeid(inner));
            }
            QVERIFY(MainCommandTable::command(name).target_type() == typeid(outer));
            QVERIFY(!MainCommandTable::commandMissing(name));
        }
        QCOMPARE(MainCommandTable::command(name).target_type().name(), before);
    }

    void registrationRefused_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::newRow("unknown entry") << "mnuNoSuchEntry";
        QTest::newRow("a menu") << "mnuDisplay";
        QTest::newRow("a button") << "tbNew";
    }
    void registrationRefused()
    {
        QFETCH(QString, entry);
        const MainCommand before = MainCommandTable::command(entry);
        QTest::ignoreMessage(QtWarningMsg,
                             qPrintable(QString("main window: no command can be registered for "
                                                "\"%1\"")
                                            .arg(entry)));
        {
            MainCommandTable::Registration r(qPrintable(entry), [](frmMain &) {});
            QCOMPARE(bool(MainCommandTable::command(entry)), bool(before));
        }
        QCOMPARE(bool(MainCommandTable::command(entry)), bool(before));
    }

    void designState()
    {
        const MainCommandStates states;
        for (const char *hidden : {"mnuViewTable", "mnuDiagnosticsSelftest", "mnuFileMRU1"})
            QVERIFY2(!states.visible(hidden), hidden);
        // The View menu's switches (with the device summary), the gauge and the
        // diagnosis configuration can be reached.
        for (const char *shown : {"mnuView", "mnuViewToolbar", "mnuViewDeviceSummary",
                                  "mnuDisplayGauge", "mnuConfigureDiagnosis"})
            QVERIFY2(states.visible(shown) && states.enabled(shown), shown);
        QVERIFY(!states.enabled("mnuWindowMainWindow"));
        QCOMPARE(disabled(states, ConnectedOnly + NotConnectedOnly), QStringList());
    }

    // A connection in between keeps what the last settled one decided.
    void connection_data()
    {
        QTest::addColumn<QList<int>>("statuses");
        QTest::addColumn<bool>("connectedLayout");
        const auto row = [](const char *name, QList<int> statuses, bool connected) {
            QTest::newRow(name) << statuses << connected;
        };
        row("not connected", {0}, false);
        row("connected", {2}, true);
        row("connecting keeps not connected", {2, 0, 1}, false);
        row("disconnecting keeps connected", {2, 3}, true);
        row("connected after disconnecting", {2, 3, 2}, true);
        row("a value outside the four changes nothing", {2, 7}, true);
    }
    void connection()
    {
        QFETCH(QList<int>, statuses);
        QFETCH(bool, connectedLayout);
        MainCommandStates states;
        for (int s : statuses) {
            if (ConnectionStates::isKnown(s))
                states.connectionChanged(ConnectionState(s));
        }
        QCOMPARE(connectedLayout ? disabled(states, ConnectedOnly) : enabled(states, ConnectedOnly),
                 QStringList());
        QCOMPARE(connectedLayout ? enabled(states, NotConnectedOnly)
                                 : disabled(states, NotConnectedOnly),
                 QStringList());
        QCOMPARE(states.visible("mnuDeviceConnect"), !connectedLayout);
        QCOMPARE(states.visible("mnuDeviceDisconnect"), connectedLayout);
        // Untouched by the connection.
        for (const char *always : {"mnuConfigure", "mnuFileSave", "tbSave", "mnuDeviceConnect"})
            QVERIFY2(states.enabled(always), always);
    }

    // The context decides which of the connection pair can be chosen.
    void engineeringContext_data()
    {
        QTest::addColumn<int>("context");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<bool>("offFirst"); // a context that allows nothing came before
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("00 connected") << 0x00 << true << false << QStringList();
        QTest::newRow("53 not connected") << 0x53 << false << false << QStringList();
        QTest::newRow("04 connected")
            << 0x04 << true << true << QStringList{"tbDisconnect", "mnuDeviceDisconnect"};
        QTest::newRow("80 not connected")
            << 0x80 << false << true << QStringList{"tbConnect", "mnuDeviceConnect"};
        // The other one of the pair keeps its state.
        QTest::newRow("04 connected keeps Connect")
            << 0x04 << true << false
            << QStringList{"mnuDeviceConnect", "tbDisconnect", "mnuDeviceDisconnect"};
    }
    void engineeringContext()
    {
        QFETCH(int, context);
        QFETCH(bool, connected);
        QFETCH(bool, offFirst);
        QFETCH(QStringList, expected);
        MainCommandStates states;
        const S status = connected ? S::Connected : S::NotConnected;
        states.connectionChanged(status);
        if (offFirst)
            states.engineeringContextChanged(0x00, status);
        states.engineeringContextChanged(quint8(context), status);
        QCOMPARE(enabled(states, ConnectionPair), expected);
    }

    // On the way between the settled states the context offers neither of
    // the pair anew: Connect stays barred while the device is disconnected.
    void onTheWayNothingIsOfferedAnew_data()
    {
        QTest::addColumn<int>("between");
        QTest::newRow("connecting") << int(S::Connecting);
        QTest::newRow("disconnecting") << int(S::Disconnecting);
    }
    void onTheWayNothingIsOfferedAnew()
    {
        QFETCH(int, between);
        MainCommandStates states;
        states.connectionChanged(S::Connected);
        states.engineeringContextChanged(0x00, S::Connected);
        states.connectionChanged(S(between));
        states.engineeringContextChanged(0x04, S(between));
        QCOMPARE(enabled(states, ConnectionPair), QStringList());
    }

    void datasetAndAddress_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<double>("address");
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("currentLoop");
        QTest::newRow("fits, connected") << true << "0" << 0.0 << true << true;
        QTest::newRow("outside the sensor limits") << true << "3" << 0.0 << false << true;
        QTest::newRow("span too small may be written") << true << "4" << 0.0 << true << true;
        QTest::newRow("an unknown verdict keeps") << true << "9" << 0.0 << false << true;
        QTest::newRow("fits, not connected: stays barred") << false << "0" << 0.0 << false << true;
        QTest::newRow("multidrop address") << true << "0" << 5.0 << true << false;
    }
    void datasetAndAddress()
    {
        QFETCH(bool, connected);
        QFETCH(QString, verdict);
        QFETCH(double, address);
        QFETCH(bool, writes);
        QFETCH(bool, currentLoop);
        MainCommandStates states;
        const S status = connected ? S::Connected : S::NotConnected;
        states.connectionChanged(status);
        // Barred first, so that only the verdict can lift it.
        states.datasetVerdictChanged("3", status);
        states.datasetVerdictChanged(verdict, status);
        states.pollingAddressChanged(address);
        for (const char *e : {"mnuDeviceSaveToDevice", "tbWriteToDevice"})
            QCOMPARE(states.enabled(e), writes);
        for (const char *e : {"mnuDiagnosticsSimulateCurrent", "mnuCalibrateCurrent"})
            QCOMPARE(states.enabled(e), currentLoop);
    }

    void changesAreReported()
    {
        const auto set = [](const QStringList &l) { return QSet<QString>(l.begin(), l.end()); };
        MainCommandStates states;
        QStringList changed;
        states.setChangedHandler([&changed](const QString &e) { changed << e; });
        states.connectionChanged(S::NotConnected);
        QCOMPARE(set(changed), set(ConnectedOnly + QStringList{"mnuDeviceDisconnect"}));
        changed.clear();
        states.connectionChanged(S::NotConnected);
        QCOMPARE(changed, QStringList());
        states.connectionChanged(S::Connected);
        QCOMPARE(set(changed), set(ConnectedOnly + NotConnectedOnly +
                                   QStringList{"mnuDeviceConnect", "mnuDeviceDisconnect"}));
    }
};

VEX_TEST(TstMainCommandTable)
#include "tst_MainCommandTable.moc"

#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "HostTexts.h"
#include "ProgramTranslations.h"
#include "ResidentViews.h"
#include "ScriptedMessageBox.h"
#include "VexaControlTexts.h"
#include "VexaDisplayTexts.h"
#include "clsHTMLPrintWindow.h"
#include "frame/ProgramLanguage.h"
#include "hart/HartDeviceScan.h"
#include "hart/HartLinkTexts.h"
#include "mainwin/DefaultDatasetDatabase.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmAbout.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmSelectDefaultDataset.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace {
// One text of each library's catalogue, looked up as the program does.
const std::function<QString()> OwnTexts[] = {
    [] { return HostTexts::text(HostTexts::OpenDatasetTitle); },
    [] { return HartLinkTexts::text(HartLinkTexts::SerialCannotOpen); },
    [] { return VexaControlTexts::text(VexaControlTexts::InvalidEntryTitle); },
    [] { return VexaDisplayTexts::text(VexaDisplayTexts::Pause); },
    [] {
        HartDeviceScan scan(nullptr);
        scan.start();
        return scan.errorString();
    },
    [] { return clsHTMLPrintWindow().windowTitle(); },
    [] { return frmAbout::SystemInfoMissingText(); },
    [] {
        DefaultDatasetDatabase database;
        QString reason;
        database.open(QStringLiteral("/nowhere"), &reason);
        return reason;
    },
};
} // namespace

// The program run in German: Qt's own texts too, numbers with a decimal
// comma, and File New answering Enter.
class TstGerman : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        registerResidentViews();
        registerWorkbenchViews();
    }
    void init() { QVERIFY(ProgramLanguage::apply(QStringLiteral("de"))); }
    void cleanup() { ProgramLanguage::apply(QStringLiteral("en")); }

    void standardButtonsInGerman()
    {
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
                 QStringLiteral("Abbrechen"));
        ProgramLanguage::apply(QStringLiteral("en"));
        QDialogButtonBox english(QDialogButtonBox::Cancel);
        QCOMPARE(english.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
                 QStringLiteral("Cancel"));
    }

    // Every library's catalogue is built in and found; English needs none.
    void catalogueOfEachLibrary()
    {
        QCOMPARE(ProgramTranslations::install(QLocale(QLocale::German)), 4);
        QCOMPARE(ProgramTranslations::install(QLocale(QLocale::English)), 0);
    }

    void ownTextsFollowTheLanguage_data()
    {
        QTest::addColumn<int>("text");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("german");
        QTest::newRow("host") << 0 << "Open dataset"
                              << "Datensatz öffnen";
        QTest::newRow("link") << 1 << "The serial port %1 cannot be opened: %2"
                              << "Die serielle Schnittstelle %1 lässt sich nicht öffnen: %2";
        QTest::newRow("control") << 2 << "Invalid entry"
                                 << "Ungültige Eingabe";
        QTest::newRow("display") << 3 << "Pause"
                                 << "Anhalten";
        QTest::newRow("scan") << 4 << "There is no link to scan."
                              << "Es gibt keine Verbindung zum Durchsuchen.";
        QTest::newRow("report window") << 5 << "Device report"
                                       << "Gerätebericht";
        QTest::newRow("design caption") << 6
                                        << "System information program not available at the "
                                           "moment."
                                        << "Systeminformationsprogramm zur Zeit nicht verfügbar.";
        QTest::newRow("reason in a message") << 7 << "/nowhere: folder not found"
                                             << "/nowhere: Ordner nicht gefunden";
    }

    // German after the switch, English again after switching back: the
    // translators are replaced, not piled up.
    void ownTextsFollowTheLanguage()
    {
        QFETCH(int, text);
        QFETCH(QString, english);
        QFETCH(QString, german);
        QCOMPARE(OwnTexts[text](), german);
        ProgramLanguage::apply(QStringLiteral("en"));
        QCOMPARE(OwnTexts[text](), english);
        ProgramLanguage::apply(QStringLiteral("de"));
        QCOMPARE(OwnTexts[text](), german);
    }

    void newDatasetWithDecimalCommaAndEnter()
    {
        MainWindowRig rig; // no country given: the German datasets
        ScriptedMessageBox box;
        auto *dialog = new frmSelectDefaultDataset(&rig.form());
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setViewRef(rig.form().viewRef());
        dialog->show();
        QTRY_COMPARE(dialog->lstDeviceID->count(), 2);
        QCOMPARE(dialog->lblDeviceDescription->text(),
                 QStringLiteral("Absolutdruck-Messumformer, 4 bis 20 mA mit HART"));
        dialog->lstDeviceID->setCurrentRow(1);
        const auto found =
            dialog->lstPRanges->findItems(QStringLiteral("-2,5 ... 2,5 bar"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        dialog->lstPRanges->setCurrentItem(found.first());
        QPointer<frmSelectDefaultDataset> open(dialog);
        QTest::keyClick(dialog->lstPRanges, Qt::Key_Return);
        QTRY_VERIFY(!open);
        QCOMPARE(rig.text("scaleInHiLim"), QStringLiteral("2.5"));
        QCOMPARE(rig.text("primaryValueUnit"), QStringLiteral("7"));
        QCOMPARE(box.texts(), QStringList());
    }
};

VEX_TEST(TstGerman)
#include "tst_German.moc"

#include "TestRegistry.h"

#include "ScriptedMessageBox.h"
#include "mainwin/HelpBrowser.h"
#include "mainwin/ReadMe.h"
#include "mainwin/frmAbout.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

namespace {

void useLanguage(const QString &language)
{
    QLocale::setDefault(language == "de" ? QLocale(QLocale::German, QLocale::Germany)
                                         : QLocale(QLocale::English, QLocale::UnitedStates));
}

QSettings productSettings()
{
    return QSettings(QSettings::SystemScope, QLatin1String(frmAbout::ProductOrganization),
                     QLatin1String(frmAbout::ProductApplication));
}

} // namespace

// The about box, the help window and the readme (./dev grab shows them).
class TstAboutHelp : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_machineSettings;

private Q_SLOTS:
    void initTestCase()
    {
        // The machine-wide store of this run.
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope,
                           m_machineSettings.path());
    }
    void cleanup()
    {
        productSettings().clear();
        HelpBrowser::closeAll();
        if (ReadMe *readMe = ReadMe::current())
            delete readMe;
        useLanguage("en");
    }

    void aboutVersion_data()
    {
        QTest::addColumn<QString>("installed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("installed version") << "02.03.04"
                                           << "Version 02.03.04";
        QTest::newRow("no version key") << ""
                                        << "Version 01.01.00";
    }
    void aboutVersion()
    {
        QFETCH(QString, installed);
        QFETCH(QString, shown);
        if (!installed.isEmpty())
            productSettings().setValue(QLatin1String(frmAbout::VersionValue), installed);
        frmAbout about;
        QCOMPARE(about.lblVersion->text(), shown);
        QVERIFY(about.lblDisclaimer->text().startsWith(QStringLiteral("Warning:")));
    }

    // The system information starts (or is said to be missing), and Enter
    // then closes the about box.
    void systemInfoThenEnterCloses_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("missing");
        QTest::newRow("program started") << "/bin/true" << false;
        QTest::newRow("no program") << "/nonexistent/sysinfo" << true;
    }
    void systemInfoThenEnterCloses()
    {
        QFETCH(QString, program);
        QFETCH(bool, missing);
        productSettings().setValue(QLatin1String(frmAbout::SystemInfoValue), program);
        // Nothing of the desktop's own stands in for the program named.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", "/nonexistent");
        ScriptedMessageBox box;
        frmAbout about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
        qputenv("PATH", path);
        // Without a program the window shows what it knows of the system itself.
        QCOMPARE(box.texts(), missing ? QStringList{frmAbout::SystemInformation()} : QStringList());
        if (missing)
            QVERIFY(box.texts().first().contains(QString::fromLatin1(qVersion())));
        QTest::keyClick(&about, Qt::Key_Return);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

    void helpContentsAndIndex_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("firstTitle");
        QTest::addColumn<QString>("keyword");
        QTest::newRow("en") << "en"
                            << "Working with the transmitter"
                            << "warm start";
        QTest::newRow("de") << "de"
                            << "Arbeiten mit dem Messumformer"
                            << "Warmstart";
    }
    void helpContentsAndIndex()
    {
        QFETCH(QString, language);
        QFETCH(QString, firstTitle);
        QFETCH(QString, keyword);
        useLanguage(language);
        HelpBrowser::showContents(nullptr);
        HelpBrowser *help = HelpBrowser::current();
        QVERIFY(help);
        QCOMPARE(help->language(), language);
        QCOMPARE(help->tbsNavigation->currentIndex(), 0);
        QCOMPARE(help->treContents->topLevelItem(0)->text(0), firstTitle);
        QCOMPARE(help->txtPage->documentTitle(), firstTitle);

        HelpBrowser::showIndex(nullptr);
        QCOMPARE(HelpBrowser::current(), help);
        QCOMPARE(help->tbsNavigation->currentIndex(), 1);
        QTest::keyClicks(help->txtKeyword, keyword.left(4));
        QCOMPARE(help->lstIndex->currentItem()->text(), keyword);
        QTest::keyClick(help->txtKeyword, Qt::Key_Return);
        QVERIFY(help->txtPage->source().toString().endsWith(QStringLiteral("/reset.html")));

        // Every page is in the contents and every link between pages leads to one.
        const QDir folder(QStringLiteral(":/help/") + language);
        const QStringList pages = folder.entryList({"*.html"});
        QCOMPARE(help->treContents->topLevelItem(0)->childCount() + 2, pages.size());
        static const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)\""));
        for (const QString &page : pages) {
            QFile file(folder.filePath(page));
            QVERIFY(file.open(QIODevice::ReadOnly));
            for (const auto &match : link.globalMatch(QString::fromUtf8(file.readAll())))
                QVERIFY2(pages.contains(match.captured(1)), qPrintable(page));
        }
    }

    void readMeInTheUsersLanguage()
    {
        useLanguage("de");
        ReadMe::open(nullptr);
        QVERIFY(ReadMe::current());
        QVERIFY(ReadMe::current()->txtReadMe->toPlainText().contains(
            "Konfigurationsprogramm für die Druckmessumformer"));
    }
};

VEX_TEST(TstAboutHelp)
#include "tst_AboutHelp.moc"

#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "DescriptionTexts.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "FileChooser.h"
#include "HistoryRecorder.h"
#include "HistoryService.h"
#include "ItemStore.h"
#include "ResidentViews.h"
#include "VexAppletItemManager.h"
#include "clsHTMLPrintView.h"
#include "clsHTMLPrintWindow.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace {

QList<QTextTable *> tables(QTextDocument *document)
{
    QList<QTextTable *> found;
    for (QTextFrame *frame : document->rootFrame()->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(frame))
            found.append(table);
    }
    return found;
}

QString cellText(QTextTable *table, int row, int column)
{
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cursor.selectedText().trimmed();
}

QStringList rowText(QTextTable *table, int row)
{
    QStringList cells;
    for (int column = 0; column < table->columns(); ++column)
        cells << cellText(table, row, column);
    return cells;
}

QTextTable *changesTable(QTextDocument *document)
{
    for (QTextTable *table : tables(document)) {
        if (table->columns() == 6)
            return table;
    }
    return nullptr;
}

// The title in a PDF file's information dictionary: a string of UTF-16BE
// after a byte-order mark, with '(', ')' and '\\' escaped by a backslash.
QString pdfTitle(const QByteArray &pdf)
{
    const QByteArray start("/Title (\xfe\xff");
    qsizetype at = pdf.indexOf(start);
    if (at < 0)
        return QString();
    QByteArray bytes;
    for (at += start.size(); at < pdf.size() && pdf[at] != ')'; ++at) {
        if (pdf[at] == '\\')
            ++at;
        bytes.append(pdf[at]);
    }
    QString title;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        title.append(QChar(char16_t(quint8(bytes[i]) << 8 | quint8(bytes[i + 1]))));
    return title;
}

bool writeThroughHistory(MainWindowRig &rig, const QHash<QString, QString> &values)
{
    auto *history = qobject_cast<HistoryService *>(
        rig.instance().object(QLatin1String(HistoryService::ProgId)).get());
    if (!history)
        return false;
    QSignalSpy read(history, &HistoryService::deviceRead);
    QSignalSpy written(history, &HistoryService::writeFinished);
    return history->readDevice() == 0 && read.wait(5000) &&
           history->writeValues(values, "test") == 0 && written.wait(5000);
}

QTextDocument *printPreview(MainWindowRig &rig)
{
    rig.form().runMenuCommand(QStringLiteral("mnuFilePrintPreview"));
    clsHTMLPrintWindow *window = clsHTMLPrintView::window();
    return window ? window->browser()->document() : nullptr;
}

} // namespace

// File > Print Preview through the main window: the report of the user's
// language, labels and values in columns, the signature fields, the dataset
// verdict only with a device to check against.
class TstReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        registerResidentViews();
        registerWorkbenchViews();
    }
    void cleanup()
    {
        delete clsHTMLPrintView::window();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void report_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("verdictLabel");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QStringList>("signature");
        QTest::addColumn<QString>("current");
        const QStringList english{"Tested by", "Date", "Signature"};
        const QStringList german{"Geprüft von", "Datum", "Unterschrift"};
        // Whether the dataset is the device's is said as far as it was read, never assumed.
        QTest::newRow("English, not connected")
            << "en" << false << "Calibration and configuration report"
            << "Dataset against the device"
            << "No device connected: the values above are the dataset's." << english << "3.8 mA";
        QTest::newRow("English, connected")
            << "en" << true << "Calibration and configuration report"
            << "Dataset against the device"
            << "Not compared yet (Device > Compare with Dataset)" << english << "3.8 mA";
        // No country given: the program's language picks the report.
        QTest::newRow("German, connected")
            << "de" << true << "Kalibrier- und Konfigurationsbericht"
            << "Datensatz gegenüber dem Gerät"
            << "Noch nicht verglichen (Gerät > Mit Datensatz vergleichen)" << german << "3,8 mA";
    }
    void report()
    {
        QFETCH(QString, language);
        QFETCH(bool, connected);
        QFETCH(QString, title);
        QFETCH(QString, verdictLabel);
        QFETCH(QString, verdict);
        QFETCH(QStringList, signature);
        QFETCH(QString, current);
        QLocale::setDefault(language == "de" ? QLocale(QLocale::German, QLocale::Germany)
                                             : QLocale(QLocale::English, QLocale::UnitedStates));
        MainWindowRig rig;
        if (connected)
            QVERIFY(rig.connect());
        rig.form().runMenuCommand(QStringLiteral("mnuFilePrintPreview"));
        clsHTMLPrintWindow *window = clsHTMLPrintView::window();
        QVERIFY(window);
        QTextDocument *document = window->browser()->document();
        QVERIFY(document->toPlainText().startsWith(title));
        QVERIFY(document->toPlainText().contains(current));
        // The software version as Identification writes it.
        QVERIFY(document->toPlainText().contains(QStringLiteral("1.5.2")));

        // Every label sits in a column of the same width, so the values of
        // all sections line up; the signature block is three labelled boxes.
        QTextTable *signatureTable = nullptr;
        bool verdictShown = false;
        std::optional<QTextLength> labelColumn;
        for (QTextTable *table : tables(document)) {
            if (table->columns() == 3) {
                signatureTable = table;
                continue;
            }
            // The last changes, only with a device to name (see below).
            if (table->columns() == 6) {
                QVERIFY(connected);
                continue;
            }
            QCOMPARE(table->columns(), 2);
            const QTextLength width = table->format().columnWidthConstraints().value(0);
            QCOMPARE(width.type(), QTextLength::PercentageLength);
            if (labelColumn)
                QCOMPARE(width, *labelColumn);
            labelColumn = width;
            for (int row = 0; row < table->rows(); ++row) {
                if (cellText(table, row, 0) != verdictLabel)
                    continue;
                verdictShown = true;
                QCOMPARE(cellText(table, row, 1), verdict);
            }
        }
        QVERIFY(verdictShown);
        QVERIFY(signatureTable);
        QVERIFY(signatureTable->format().border() > 0);
        for (int column = 0; column < 3; ++column)
            QCOMPARE(cellText(signatureTable, 0, column), signature[column]);

        window->closeButton()->click();
        QTRY_VERIFY(!clsHTMLPrintView::window());
    }

    // The change log's newest entries for this device close the report: a
    // value written just after start is there, with who wrote it and what
    // the device said.
    void lastChanges_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("header");
        QTest::addColumn<QString>("none");
        QTest::addColumn<QStringList>("entry");
        QTest::newRow("English") << "en" << QStringList{"Time",      "User",      "Item",
                                                        "Old value", "New value", "Outcome"}
                                 << "No change to this device has been recorded."
                                 << QStringList{"Damping", "2.5 s", "Accepted"};
        QTest::newRow("German") << "de" << QStringList{"Zeit",       "Benutzer",   "Parameter",
                                                       "Alter Wert", "Neuer Wert", "Ergebnis"}
                                << "Für dieses Gerät ist keine Änderung aufgezeichnet."
                                << QStringList{"Dämpfung", "2,5 s", "Angenommen"};
    }
    void lastChanges()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, header);
        QFETCH(QString, none);
        QFETCH(QStringList, entry);
        QLocale::setDefault(language == "de" ? QLocale(QLocale::German, QLocale::Germany)
                                             : QLocale(QLocale::English, QLocale::UnitedStates));
        QTemporaryDir dir;
        MainWindowRig rig({"--history", dir.filePath("history.sqlite")});
        // Offline the report is the dataset's: no device, no changes.
        QTextDocument *document = printPreview(rig);
        QVERIFY(document);
        QVERIFY(!changesTable(document));

        QVERIFY(rig.connect());
        document = printPreview(rig);
        QTextTable *table = changesTable(document);
        QVERIFY(table);
        QCOMPARE(table->rows(), 2);
        QCOMPARE(rowText(table, 0), header);
        QCOMPARE(cellText(table, 1, 0), none);

        QVERIFY(writeThroughHistory(rig, {{"filterTime", "2.5"}}));
        document = printPreview(rig);
        table = changesTable(document);
        QVERIFY(table);
        QCOMPARE(table->rows(), 2);
        const QStringList row = rowText(table, 1);
        QCOMPARE(row.value(1), HistoryRecorder::loginName());
        QCOMPARE((QStringList{row.value(2), row.value(4), row.value(5)}), entry);
        QVERIFY(!row.value(3).isEmpty() && row.value(3) != row.value(4)); // as the device had it
        QVERIFY(!document->toPlainText().contains(none));
    }

    // The title names the device, the kind of report and the day: on the
    // page, on the window and in the PDF file's information.
    void titleNamesTheDeviceTheReportAndTheDay()
    {
        MainWindowRig rig;
        QVERIFY(rig.connect());
        QTextDocument *document = printPreview(rig);
        QVERIFY(document);
        const QString date = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
        const QString tag = rig.text("_tagHART").trimmed();
        const QString title =
            tag + QStringLiteral(" \u2013 Calibration and configuration report \u2013 ") + date;
        clsHTMLPrintWindow *window = clsHTMLPrintView::window();
        QCOMPARE(window->reportTitle(), title);
        QCOMPARE(window->windowTitle(), title);
        const QStringList lines = document->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("Calibration and configuration report"));
        QVERIFY2(lines.value(1).startsWith("Tag " + tag) && lines.value(1).endsWith(date),
                 qPrintable(lines.value(1)));

        QTemporaryDir dir;
        ScriptedFileChooser chooser;
        chooser.enqueue(dir.filePath("report.pdf"));
        QVERIFY(window->exportPdf());
        QFile pdf(dir.filePath("report.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdfTitle(pdf.readAll()), title);
    }

    // In German every enumeration text and every number of the report is
    // German, the last changes too; and every text any enumeration the
    // report shows can take has its German text.
    void germanReportHasNoEnglishLeftovers()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QTemporaryDir dir;
        MainWindowRig rig({"--history", dir.filePath("history.sqlite")});
        QVERIFY(rig.connect());
        QVERIFY(writeThroughHistory(rig, {{"filterTime", "2.5"}, {"alarmSelection", "0"}}));
        QTextDocument *document = printPreview(rig);
        QVERIFY(document);
        QVERIFY(changesTable(document));

        const ItemStore &store = rig.instance().manager()->store();
        QStringList english; // the texts that read otherwise in German
        for (const EnumerationDefinition &e : rig.instance().description().enumerations) {
            for (const EnumerationEntry &entry : e.entries) {
                if (DescriptionTexts::translated(entry.text) != entry.text)
                    english << QRegularExpression::escape(entry.text);
            }
        }
        const QRegularExpression englishText("(^|\\W)(" + english.join('|') + ")($|\\W)");
        const QRegularExpression date("\\d{1,2}\\.\\d{1,2}\\.\\d{2,4}");
        const QRegularExpression pointDecimal("\\d\\.\\d");
        // A version is written with points in German too.
        const QRegularExpression version("^\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}$");
        QStringList leftovers;
        for (QTextTable *table : tables(document)) {
            for (int row = 0; row < table->rows(); ++row) {
                for (int column = 0; column < table->columns(); ++column) {
                    const QString cell = cellText(table, row, column);
                    if (englishText.match(cell).hasMatch() ||
                        (!version.match(cell).hasMatch() &&
                         QString(cell).remove(date).contains(pointDecimal)))
                        leftovers << cell;
                }
            }
        }
        QCOMPARE(leftovers, QStringList());
        const QString text = document->toPlainText();
        for (const char *seen : {"Low alarm current", "Differential pressure", "Silicone oil",
                                 "Enabled", "Simulation off", "2.5"})
            QVERIFY2(!text.contains(QLatin1String(seen)), seen);

        QFile page(QStringLiteral(":/device/gv/gv049.htm"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        static const QRegularExpression placeholder("\\{\\{([\\w&]+)\\}\\}");
        QStringList untranslated;
        for (const auto &match : placeholder.globalMatch(QString::fromUtf8(page.readAll()))) {
            const int index = store.indexOf(match.captured(1));
            const QList<EnumerationEntry> *entries = index < 0 ? nullptr : store.enumeration(index);
            const QString table = index < 0 ? QString() : store.definition(index).enumeration;
            // Units are symbols, makers and device types names.
            if (!entries || table.endsWith("Units") || table == "Manufacturer" ||
                table == "DeviceTypeCode")
                continue;
            for (const EnumerationEntry &entry : *entries) {
                if (!DescriptionTexts::hasGerman(entry.text))
                    untranslated << entry.text;
            }
        }
        QCOMPARE(untranslated, QStringList());
    }
};

VEX_TEST(TstReport)
#include "tst_Report.moc"

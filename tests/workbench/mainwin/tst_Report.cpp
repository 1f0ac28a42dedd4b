#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "ResidentViews.h"
#include "clsHTMLPrintView.h"
#include "clsHTMLPrintWindow.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QPushButton>
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
        QTest::addColumn<QStringList>("signature");
        QTest::addColumn<QString>("current");
        const QStringList english{"Tested by", "Date", "Signature"};
        const QStringList german{"Geprüft von", "Datum", "Unterschrift"};
        QTest::newRow("English, not connected")
            << "en" << false << "Calibration and configuration report"
            << "Dataset check" << english << "3.8 mA";
        QTest::newRow("English, connected")
            << "en" << true << "Calibration and configuration report"
            << "Dataset check" << english << "3.8 mA";
        // No country given: the program's language picks the report.
        QTest::newRow("German, connected") << "de" << true << "Kalibrier- und Konfigurationsbericht"
                                           << "Datensatzprüfung" << german << "3,8 mA";
    }
    void report()
    {
        QFETCH(QString, language);
        QFETCH(bool, connected);
        QFETCH(QString, title);
        QFETCH(QString, verdictLabel);
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
            QCOMPARE(table->columns(), 2);
            const QTextLength width = table->format().columnWidthConstraints().value(0);
            QCOMPARE(width.type(), QTextLength::PercentageLength);
            if (labelColumn)
                QCOMPARE(width, *labelColumn);
            labelColumn = width;
            for (int row = 0; row < table->rows(); ++row)
                verdictShown = verdictShown || cellText(table, row, 0) == verdictLabel;
        }
        QCOMPARE(verdictShown, connected);
        QVERIFY(signatureTable);
        QVERIFY(signatureTable->format().border() > 0);
        for (int column = 0; column < 3; ++column)
            QCOMPARE(cellText(signatureTable, 0, column), signature[column]);

        window->closeButton()->click();
        QTRY_VERIFY(!clsHTMLPrintView::window());
    }
};

VEX_TEST(TstReport)
#include "tst_Report.moc"

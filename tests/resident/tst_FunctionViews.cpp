#include "ReportTables.h"
#include "ResidentHost.h"
#include "TestRegistry.h"

#include "Applet.h"
#include "DatasetFileService.h"
#include "DeviceInstance.h"
#include "FileChooser.h"
#include "ScriptedMessageBox.h"
#include "VexAppletItemManager.h"
#include "clsAppItem.h"
#include "clsHTMLPrintView.h"
#include "clsHTMLPrintWindow.h"
#include "clsHtmlReportFactory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

namespace {
QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TstFunctionViews : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        if (clsHTMLPrintView::window())
            delete clsHTMLPrintView::window();
    }

    void fileViewsMarkTheirRun_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("marker");
        QTest::newRow("save as") << "Resident.clsSaveAsToFile"
                                 << "WriteFile";
        QTest::newRow("save") << "Resident.clsSaveToFile"
                              << "WriteFile";
        QTest::newRow("load") << "Resident.clsLoadFromFile"
                              << "ReadFile";
    }
    void fileViewsMarkTheirRun()
    {
        QFETCH(QString, view);
        QFETCH(QString, marker);
        ResidentHost r;
        QTemporaryDir dir;
        const QString path = dir.filePath("device.vexds");
        ScriptedFileChooser chooser;
        if (view != "Resident.clsSaveAsToFile") {
            chooser.enqueue(path);
            QCOMPARE(r.host.instance().files().saveFile(path), 0);
        }
        chooser.enqueue(path);
        ScriptedMessageBox box;
        QStringList markers;
        clsAppItem current;
        current.Register(r.manager, "currentSequence");
        connect(&current, &clsAppItem::ValueUpdate, this, [&](QString &v) { markers << v; });

        QCOMPARE(r.manager->fncGetApplet()->fncStartView(view), 0);
        QCOMPARE(markers, (QStringList{marker, ""}));
        QVERIFY(QFile::exists(path));
        // The view has left the host and is released after its call.
        QTRY_COMPARE(r.host.instance().startedViewCount(), 0);
    }

    void reports_data()
    {
        QTest::addColumn<int>("country");
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("expectedText");
        QTest::newRow("1") << 1 << "prt_001.htm"
                           << "Calibration and configuration report";
        QTest::newRow("49") << 49 << "prt_049.htm"
                            << "Kalibrier- und Konfigurationsbericht";
        QTest::newRow("1000, own template") << 1000 << "prt_1000.htm"
                                            << "Eigene Vorlage";
    }
    void reports()
    {
        QFETCH(int, country);
        QFETCH(QString, report);
        QFETCH(QString, expectedText);
        ResidentHost r;
        QTemporaryDir dir;
        QString error;
        QVERIFY2(r.host.instance().prepareDescriptionFolder(dir.path(), &error), qPrintable(error));
        const QString folder = r.text("&&private_PM&&VexDPath");
        QVERIFY(folder.endsWith(QDir::separator()));
        if (country == 1000) {
            QFile own(folder + "gv/gv1000.htm");
            QVERIFY(own.open(QIODevice::WriteOnly));
            own.write("<p>Eigene Vorlage: {{&&private_PM&&TagName}} — Grüße</p>");
        }
        QFile old(folder + "prt_999.htm");
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.close();
        r.host.instance().setItemText("&&private&&countrycode", QString::number(country));
        r.host.instance().setItemText("&&private_PM&&TagName", "<b>PT&1</b>");

        QCOMPARE(r.manager->fncGetApplet()->fncStartView("Resident.clsHTMLPrintOut"), 0);
        QCOMPARE(r.text("generateHTMLPrintOut"), "0");
        QVERIFY(!QFile::exists(folder + "prt_999.htm"));
        const QByteArray written = contents(folder + report);
        // The template as it is, but for its tables: nobody here supplies their rows.
        const QString templateText = QString::fromUtf8(
            contents(folder + clsHtmlReportFactory::templateName(quint32(country))));
        QCOMPARE(QString::fromUtf8(written), ReportTables::fill(templateText, {}));
        QCOMPARE(contents(folder + "prt_.htm"), written);

        // The print view shows the report with the values filled in, as text.
        QVERIFY(clsHTMLPrintView::window());
        const QString shown = clsHTMLPrintView::window()->browser()->toPlainText();
        QVERIFY2(shown.contains(expectedText), qPrintable(shown.left(200)));
        QVERIFY(shown.contains("<b>PT&1</b>"));
        QVERIFY(!shown.contains("{{"));
        QTRY_COMPARE(r.host.instance().startedViewCount(), 0);
    }

    void missingTemplate()
    {
        ResidentHost r;
        QTemporaryDir dir;
        QVERIFY(r.host.instance().prepareDescriptionFolder(dir.path(), nullptr));
        const QString folder = r.text("&&private_PM&&VexDPath");
        r.host.instance().setItemText("&&private&&countrycode", "33");
        ScriptedMessageBox box;
        r.edit("generateHTMLPrintOut", "1");
        QCOMPARE(box.texts(), QStringList({"File not found: " +
                                           QDir::toNativeSeparators(folder + "gv/gv033.htm")}));
        QVERIFY(!QFile::exists(folder + "prt_.htm"));
        // The print view still opens and says there is no report.
        QVERIFY(clsHTMLPrintView::window());
        r.edit("generateHTMLPrintOut", "0");
        QCOMPARE(box.asked().size(), 1);
    }
};

VEX_TEST(TstFunctionViews)
#include "tst_FunctionViews.moc"

#include "TestHost.h"
#include "TestRegistry.h"

#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "FileChooser.h"
#include "HtmlReportFiller.h"
#include "ProgIdRegistry.h"
#include "VexAppletItemManager.h"
#include "View.h"
#include "clsHTMLPrintView.h"
#include "clsHTMLPrintWindow.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

class TstPrintView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { delete clsHTMLPrintView::window(); }

    void filling_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("filled");
        QTest::newRow("value") << "<td>{{a}}</td>"
                               << "<td>1 &lt; 2</td>";
        QTest::newRow("markup escaped") << "{{tag}}"
                                        << "&lt;b&gt;A&amp;B&lt;/b&gt;";
        QTest::newRow("unknown kept") << "x {{nope}} y"
                                      << "x {{nope}} y";
        QTest::newRow("unclosed") << "{{a"
                                  << "{{a";
        QTest::newRow("section kept") << "<p>{{#on}}<b>{{a}}</b>{{/on}}</p>"
                                      << "<p><b>1 &lt; 2</b></p>";
        QTest::newRow("section left out") << "<p>{{#off}}<b>{{a}}</b>{{/off}}x</p>"
                                          << "<p>x</p>";
        QTest::newRow("section of an unknown name") << "{{#nope}}y{{/nope}}z"
                                                    << "z";
        QTest::newRow("section without end") << "{{#on}}y"
                                             << "{{#on}}y";
    }
    void filling()
    {
        QFETCH(QString, html);
        QFETCH(QString, filled);
        const auto lookup = [](const QString &name) -> std::optional<QString> {
            if (name == "a")
                return QStringLiteral("1 < 2");
            if (name == "tag")
                return QStringLiteral("<b>A&B</b>");
            if (name == "on")
                return QStringLiteral("1");
            if (name == "off")
                return QStringLiteral("0");
            return std::nullopt;
        };
        QCOMPARE(HtmlReportFiller::fill(html, lookup), filled);
    }

    void exportsPdf()
    {
        TestHost host(testhost::builtInDescription());
        auto view = ProgIdRegistry::instance().createView(clsHTMLPrintView::ProgId);
        host.manager()->fncRegisterView(view.get()); // no folder: says there is no report
        clsHTMLPrintWindow *window = clsHTMLPrintView::window();
        QVERIFY(window);
        QVERIFY(window->browser()->toPlainText().startsWith("There is no report file"));
        // One window for every request.
        auto again = ProgIdRegistry::instance().createView(clsHTMLPrintView::ProgId);
        host.manager()->fncRegisterView(again.get());
        QCOMPARE(clsHTMLPrintView::window(), window);

        QTemporaryDir dir;
        ScriptedFileChooser chooser;
        QVERIFY(!window->exportPdf()); // cancelled
        chooser.enqueue(dir.filePath("report"));
        QVERIFY(window->exportPdf());
        QFile pdf(dir.filePath("report.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.read(4), QByteArray("%PDF"));
    }
};

VEX_TEST(TstPrintView)
#include "tst_PrintView.moc"

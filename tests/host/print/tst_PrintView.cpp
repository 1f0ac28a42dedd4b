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

namespace {
DeviceDescription builtIn()
{
    QString error;
    auto d = DeviceDescription::load(QLatin1String(DeviceDescription::BuiltInPath), &error);
    if (!d)
        qFatal("%s", qPrintable(error));
    return *d;
}
} // namespace

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
        QTest::newRow("blanks inside") << "{{ a }}"
                                       << "1 &lt; 2";
        QTest::newRow("markup escaped") << "{{tag}}"
                                        << "&lt;b&gt;A&amp;B&lt;/b&gt;";
        QTest::newRow("unknown kept") << "x {{nope}} y"
                                      << "x {{nope}} y";
        QTest::newRow("several") << "{{a}}{{tag}}"
                                 << "1 &lt; 2&lt;b&gt;A&amp;B&lt;/b&gt;";
        QTest::newRow("unclosed") << "{{a"
                                  << "{{a";
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
            return std::nullopt;
        };
        QCOMPARE(HtmlReportFiller::fill(html, lookup), filled);
    }

    void showsTheReportOfTheInstance()
    {
        TestHost host(builtIn());
        QTemporaryDir dir;
        QVERIFY(host.instance().prepareDescriptionFolder(dir.path(), nullptr));
        const QString folder = dir.path() + "/";
        QFile report(folder + "prt_.htm");
        QVERIFY(report.open(QIODevice::WriteOnly));
        report.write("<p>Tag: {{&&private_PM&&TagName}}</p><p>Unit: {{primaryValueUnit}}</p>"
                     "<p>High: {{scaleInHiLim}}</p><p>{{noSuchItem}}</p><p>Grüße</p>");
        report.close();
        host.instance().setItemText("&&private_PM&&TagName", "<script>x</script>");

        const int views = host.manager()->viewCount();
        auto object = ProgIdRegistry::instance().createObject(clsHTMLPrintView::ProgId);
        auto *view = dynamic_cast<View *>(object.get());
        QVERIFY(view);
        host.manager()->fncRegisterView(view);
        object.reset();
        QCOMPARE(host.manager()->viewCount(), views); // it has left the host again

        QVERIFY(clsHTMLPrintView::window());
        const QString shown = clsHTMLPrintView::window()->browser()->toPlainText();
        QVERIFY2(shown.contains("Tag: <script>x</script>"), qPrintable(shown));
        QVERIFY(shown.contains("Unit: mbar"));
        QVERIFY(shown.contains("High: 400"));
        QVERIFY(shown.contains("{{noSuchItem}}"));
        QVERIFY(shown.contains("Grüße"));

        // One window for every request.
        clsHTMLPrintWindow *first = clsHTMLPrintView::window();
        auto again = ProgIdRegistry::instance().createView(clsHTMLPrintView::ProgId);
        host.manager()->fncRegisterView(again.get());
        QCOMPARE(clsHTMLPrintView::window(), first);
    }

    void exportsPdf()
    {
        TestHost host(builtIn());
        auto view = ProgIdRegistry::instance().createView(clsHTMLPrintView::ProgId);
        host.manager()->fncRegisterView(view.get()); // no folder: says there is no report
        clsHTMLPrintWindow *window = clsHTMLPrintView::window();
        QVERIFY(window);
        QVERIFY(window->browser()->toPlainText().startsWith("There is no report file"));

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

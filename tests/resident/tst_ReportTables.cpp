#include "TestRegistry.h"

#include "ReportTables.h"

#include <QTest>

namespace {
const QString Template = QStringLiteral(
    "<h2>Before</h2>\n"
    "<!--@table lastChanges-->\n<h2>Changes</h2><table>\n<!--@rows-->\n"
    "<!--@empty--><tr><td>None recorded</td></tr><!--/@empty-->\n</table>\n<!--/@table-->\n"
    "<h2>After</h2>");
} // namespace

// The tables of the report template, filled from what the program supplies.
class TstReportTables : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aTableWithoutSourceOrRowsIsLeftOutOrSaysSo()
    {
        const QString none = ReportTables::fill(Template, {});
        QCOMPARE(none, QStringLiteral("<h2>Before</h2>\n\n<h2>After</h2>"));
        const QString unknown = ReportTables::fill(
            Template, [](const QString &) { return std::optional<QList<QStringList>>(); });
        QCOMPARE(unknown, none);

        const QString empty = ReportTables::fill(
            Template, [](const QString &) { return std::optional(QList<QStringList>()); });
        QVERIFY(empty.contains("<h2>Changes</h2>"));
        QVERIFY(empty.contains("<tr><td>None recorded</td></tr>"));
        QVERIFY(!empty.contains("<!--"));
    }

    // Text a user typed (a tag, a descriptor) reads as text: neither markup
    // nor a placeholder the print view would fill with an item's value.
    void rowsAreEscapedAndInOrder()
    {
        QString asked;
        const QString html = ReportTables::fill(Template, [&asked](const QString &name) {
            asked = name;
            return std::optional(QList<QStringList>{{"10:00", "ann", "<b>Tag</b>", "{{_tagHART}}"},
                                                    {"09:00", "bob", "Damping", "2 & 3"}});
        });
        QCOMPARE(asked, QStringLiteral("lastChanges"));
        QVERIFY(!html.contains("None recorded"));
        QVERIFY(html.contains("<tr><td>10:00</td><td>ann</td><td>&lt;b&gt;Tag&lt;/b&gt;</td>"
                              "<td>&#123;&#123;_tagHART&#125;&#125;</td></tr>\n"
                              "<tr><td>09:00</td><td>bob</td><td>Damping</td><td>2 &amp; 3</td>"
                              "</tr>"));
        QVERIFY(!html.contains("{{"));
        QVERIFY(html.indexOf("<h2>Changes</h2>") < html.indexOf("10:00"));
    }
};

VEX_TEST(TstReportTables)
#include "tst_ReportTables.moc"

#include "ReportTables.h"

#include <QRegularExpression>

namespace {

QString cellHtml(const QString &text)
{
    QString html = text.toHtmlEscaped();
    html.replace(QLatin1Char('{'), QLatin1String("&#123;"));
    html.replace(QLatin1Char('}'), QLatin1String("&#125;"));
    return html;
}

QString fillBlock(QString body, const QList<QStringList> &rows)
{
    static const QRegularExpression empty(QStringLiteral("<!--@empty-->(.*?)<!--/@empty-->"),
                                          QRegularExpression::DotMatchesEverythingOption);
    body.replace(empty, rows.isEmpty() ? QStringLiteral("\\1") : QString());
    body.replace(QLatin1String("<!--@rows-->"), ReportTables::rowsHtml(rows));
    body.replace(QLatin1String("<!--@rows labelled-->"), ReportTables::rowsHtml(rows, true));
    return body;
}

} // namespace

QString ReportTables::rowsHtml(const QList<QStringList> &rows, bool labelled)
{
    QString html;
    for (const QStringList &row : rows) {
        html += QLatin1String("<tr>");
        for (qsizetype i = 0; i < row.size(); ++i) {
            // A label column as wide as the labels of the report's other tables.
            html += labelled && i == 0 ? QLatin1String("<td class=\"label\" width=\"40%\">")
                                       : QLatin1String("<td>");
            html += cellHtml(row[i]) + QLatin1String("</td>");
        }
        html += QLatin1String("</tr>\n");
    }
    return html;
}

QString ReportTables::fill(const QString &html, const Rows &rows)
{
    static const QRegularExpression block(
        QStringLiteral("<!--@table\\s+(\\w+)\\s*-->(.*?)<!--/@table-->"),
        QRegularExpression::DotMatchesEverythingOption);
    QString result;
    result.reserve(html.size());
    qsizetype from = 0;
    auto it = block.globalMatch(html);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        result += QStringView(html).mid(from, match.capturedStart() - from);
        if (const auto found = rows ? rows(match.captured(1)) : std::nullopt)
            result += fillBlock(match.captured(2), *found);
        from = match.capturedEnd();
    }
    result += QStringView(html).mid(from);
    return result;
}

#include "HtmlReportFiller.h"

#include <QRegularExpression>

QString HtmlReportFiller::fill(const QString &html, const Lookup &lookup)
{
    static const QRegularExpression placeholder(QStringLiteral("\\{\\{\\s*([^{}]+?)\\s*\\}\\}"));
    QString result;
    result.reserve(html.size());
    qsizetype from = 0;
    auto it = placeholder.globalMatch(html);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        result += QStringView(html).mid(from, match.capturedStart() - from);
        const std::optional<QString> value = lookup(match.captured(1));
        result += value ? value->toHtmlEscaped() : match.captured(0);
        from = match.capturedEnd();
    }
    result += QStringView(html).mid(from);
    return result;
}

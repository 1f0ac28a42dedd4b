#include "HtmlReportFiller.h"

#include <QRegularExpression>

namespace {

QString fillPlaceholders(const QString &html, const HtmlReportFiller::Lookup &lookup)
{
    static const QRegularExpression placeholder(
        QStringLiteral("\\{\\{\\s*([^{}#/][^{}]*?)\\s*\\}\\}"));
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

bool holds(const std::optional<QString> &value)
{
    return value && !value->isEmpty() && *value != QLatin1String("0");
}

} // namespace

QString HtmlReportFiller::fill(const QString &html, const Lookup &lookup)
{
    static const QRegularExpression section(
        QStringLiteral("\\{\\{#\\s*([^{}]+?)\\s*\\}\\}(.*?)\\{\\{/\\s*\\1\\s*\\}\\}"),
        QRegularExpression::DotMatchesEverythingOption);
    QString kept;
    kept.reserve(html.size());
    qsizetype from = 0;
    auto it = section.globalMatch(html);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        kept += QStringView(html).mid(from, match.capturedStart() - from);
        if (holds(lookup(match.captured(1))))
            kept += match.captured(2);
        from = match.capturedEnd();
    }
    kept += QStringView(html).mid(from);
    return fillPlaceholders(kept, lookup);
}

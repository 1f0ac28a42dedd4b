#pragma once

#include <QString>
#include <functional>
#include <optional>

// Fills the placeholders of a report page: "{{name}}" becomes the text that
// lookup gives for name, HTML-escaped, so that a value holding markup shows
// as text. A name lookup does not know stays as written.
//
// "{{#name}}...{{/name}}" is a section: kept (and filled) when lookup gives
// name a text other than "" and "0", left out otherwise.
namespace HtmlReportFiller {
using Lookup = std::function<std::optional<QString>(const QString &name)>;
QString fill(const QString &html, const Lookup &lookup);
} // namespace HtmlReportFiller

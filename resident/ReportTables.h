#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Fills the tables of a report template:
//   <!--@table name--> ... <!--@rows--> ... <!--@empty-->...<!--/@empty--> ... <!--/@table-->
// The block is left out when rows gives nothing for name; otherwise
// "<!--@rows-->" becomes one <tr> a row ("<!--@rows labelled-->" with the
// first cell in the report's label column), and the "@empty" part stays only
// when there are no rows. Cells are HTML-escaped and their braces written as
// character references, so that text a user typed never reads as markup or
// as one of the report's placeholders.
namespace ReportTables {
using Rows = std::function<std::optional<QList<QStringList>>(const QString &name)>;
QString fill(const QString &html, const Rows &rows);
QString rowsHtml(const QList<QStringList> &rows, bool labelled = false);
} // namespace ReportTables

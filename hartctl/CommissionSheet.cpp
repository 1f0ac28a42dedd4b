#include "CommissionSheet.h"

#include "ValueNames.h"
#include "hart/HartDeviceScan.h"

#include <QFile>
#include <QRegularExpression>

namespace {

constexpr qint64 MaxSheetBytes = 4 * 1024 * 1024;
const QString AddressColumn = QStringLiteral("address");
const QString TagColumn = QStringLiteral("current_tag");
const QString IdColumn = QStringLiteral("unique_id");

} // namespace

QStringList CommissionSheet::fields(const QString &line, QChar separator)
{
    QStringList result;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() &&
                line.at(i + 1) == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == separator) {
            result << field.trimmed();
            field.clear();
        } else {
            field += c;
        }
    }
    result << field.trimmed();
    return result;
}

std::optional<CommissionSheet> CommissionSheet::load(const QString &path, const ItemStore &store,
                                                     QString *error)
{
    QFile file(path);
    if (!file.exists()) {
        *error = tr("%1: no such file").arg(path);
        return std::nullopt;
    }
    if (file.size() > MaxSheetBytes) {
        *error = tr("%1: too large for a commissioning sheet").arg(path);
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = tr("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return parse(file.readAll(), path, store, error);
}

std::optional<CommissionSheet> CommissionSheet::parse(const QByteArray &bytes, const QString &path,
                                                      const ItemStore &store, QString *error)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    qsizetype headerAt = 0;
    while (headerAt < lines.size() && lines.at(headerAt).trimmed().isEmpty())
        ++headerAt;
    if (headerAt >= lines.size()) {
        *error = tr("%1: the sheet is empty").arg(path);
        return std::nullopt;
    }
    const QString headerLine = lines.at(headerAt);
    // A spreadsheet set to German writes semicolons, its decimal commas being in the values.
    const QChar separator = headerLine.count(QLatin1Char(';')) > headerLine.count(QLatin1Char(','))
                                ? QLatin1Char(';')
                                : QLatin1Char(',');
    const QStringList header = fields(headerLine, separator);
    for (qsizetype c = 0; c < header.size(); ++c) {
        const QString name = header.at(c).toLower();
        const bool known = name == AddressColumn || name == TagColumn || name == IdColumn ||
                           !ValueNames::item(name).isEmpty();
        if (!known || header.indexOf(header.at(c), c + 1) > c) {
            *error =
                tr("%1, line %2: column \"%3\" %4 (columns: %5)")
                    .arg(path)
                    .arg(headerAt + 1)
                    .arg(
                        header.at(c), known ? tr("appears twice") : tr("is unknown"),
                        QStringList{AddressColumn, TagColumn, IdColumn}.join(QStringLiteral(", ")) +
                            QStringLiteral(", ") + ValueNames::names().join(QStringLiteral(", ")));
            return std::nullopt;
        }
    }
    if (!header.contains(AddressColumn, Qt::CaseInsensitive) &&
        !header.contains(TagColumn, Qt::CaseInsensitive)) {
        *error = tr("%1: the sheet needs a column address or current_tag").arg(path);
        return std::nullopt;
    }

    CommissionSheet sheet;
    for (qsizetype l = headerAt + 1; l < lines.size(); ++l) {
        if (lines.at(l).trimmed().isEmpty())
            continue;
        const QString where = tr("%1, line %2").arg(path).arg(l + 1);
        const QStringList cells = fields(lines.at(l), separator);
        if (cells.size() != header.size()) {
            *error = tr("%1: %2 fields, the header has %3")
                         .arg(where)
                         .arg(cells.size())
                         .arg(header.size());
            return std::nullopt;
        }
        Row row;
        row.line = int(l + 1);
        for (qsizetype c = 0; c < header.size(); ++c) {
            const QString column = header.at(c).toLower();
            const QString &cell = cells.at(c);
            if (column == AddressColumn) {
                bool ok = false;
                row.address = cell.isEmpty() ? -1 : cell.toInt(&ok);
                if (!cell.isEmpty() && (!ok || row.address < 0 || row.address > 15)) {
                    *error = tr("%1: address %2 is no polling address 0 to 15").arg(where, cell);
                    return std::nullopt;
                }
            } else if (column == TagColumn) {
                row.currentTag = cell;
                if (!cell.isEmpty() && !HartDeviceScan::canSendTag(cell)) {
                    *error = tr("%1: current_tag %2 is no tag a device can carry").arg(where, cell);
                    return std::nullopt;
                }
            } else if (column == IdColumn) {
                row.uniqueId = cell.toUpper();
            } else if (!cell.isEmpty()) {
                // An empty cell leaves the device's value as it is.
                QString refusal;
                const auto value = ValueNames::hostValue(store, column, cell, &refusal);
                if (!value) {
                    *error = tr("%1: %2").arg(where, refusal);
                    return std::nullopt;
                }
                row.target.insert(ValueNames::item(column), *value);
                row.given << column + QLatin1Char('=') + cell;
            }
        }
        if (row.address < 0 && row.currentTag.isEmpty()) {
            *error = tr("%1: neither address nor current_tag").arg(where);
            return std::nullopt;
        }
        sheet.m_rows << row;
    }
    if (sheet.m_rows.isEmpty()) {
        *error = tr("%1: no device in the sheet").arg(path);
        return std::nullopt;
    }
    return sheet;
}

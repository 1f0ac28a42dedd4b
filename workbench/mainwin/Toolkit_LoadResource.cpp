#include "Toolkit_LoadResource.h"

#include "ResStringTable.h"
#include "ResTextLoader.h"
#include "WorkbenchLog.h"

#include <exception>

namespace {

std::shared_ptr<const ResStringTable> &installedTable()
{
    static std::shared_ptr<const ResStringTable> table;
    return table;
}

} // namespace

const ResStringTable &ProgramStringTable()
{
    if (const auto &installed = installedTable())
        return *installed;
    static const ResStringTable program =
        ResStringTable::fromFile(QStringLiteral(":/strings/strings.tsv"));
    return program;
}

void InstallProgramStringTable(std::shared_ptr<const ResStringTable> table)
{
    installedTable() = std::move(table);
}

QString GetResText(qint16 id)
{
    return ProgramStringTable().text(id);
}

QString GetResTextOr(qint16 id, const QString &fallback)
{
    try {
        return GetResText(id);
    } catch (const std::exception &error) {
        qCWarning(lcWorkbench).noquote() << "text" << id << "missing:" << error.what();
        return fallback;
    }
}

bool LoadStringForLanguage(const ResStringTable &module, qint16 id, qint32 languageId,
                           QString &text)
{
    return module.load(id, languageId, text);
}

void LoadResStrings(QWidget *window)
{
    ResTextLoader::Apply(window, [](qint16 id) { return GetResText(id); });
}

QString FormatResText(const QString &text, const QStringList &args)
{
    QString result = text;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString placeholder = QLatin1Char('%') + QString::number(i + 1);
        qsizetype from = 0;
        while ((from = result.indexOf(placeholder, from)) >= 0) {
            const qsizetype end = from + placeholder.size();
            // "%1" is not the start of "%10".
            if (end < result.size() && result[end].isDigit()) {
                from = end;
                continue;
            }
            result.replace(from, placeholder.size(), args[i]);
            from += args[i].size();
        }
    }
    return result;
}

#include "HistoryTexts.h"

#include "Applet.h"
#include "AppletItemManager.h"
#include "ChangeNames.h"
#include "HistoryService.h"
#include "IViewEx.h"
#include "hart/HartProtocol.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <QLocale>

namespace HistoryTexts {

namespace {
// Response codes of write commands that have a text of their own.
constexpr int ResponseTextBase = 4800;
constexpr int KnownCodes[] = {2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 16, 32, 64};
constexpr int InvalidUnitCode = 4899;
constexpr qint16 AppliedProcessTooHigh = 7830;
constexpr qint16 AppliedProcessTooLow = 7831;
constexpr qint16 WrongLoopCurrentMode = 7832;
constexpr qint16 InMultidropMode = 7833;
constexpr qint16 NotRead = 4715;
constexpr qint16 EmptyValue = 7217;
// A command that carries no value has none before or after.
const QString NoValue = QStringLiteral("\u2013");

QString labelText(const ChangeNames::Label &label)
{
    const QString text = GetResText(label.labelId);
    return label.contextId == 0 ? text : GetResText(label.contextId) + QStringLiteral(": ") + text;
}

bool isCommand(HistoryService *service, const ChangeEntry &entry)
{
    const auto name = ChangeNames::item(entry.item);
    if (name)
        return name->command;
    return service && !service->isItem(entry.item);
}

QString valueText(HistoryService *service, const ChangeEntry &entry, const QString &value,
                  const QString &unit)
{
    if (value.isEmpty())
        return GetResText(EmptyValue);
    // What a number stands for, where the dialog says it in words.
    const auto name = ChangeNames::item(entry.item);
    bool number = false;
    if (name && name->zeroTextId != 0 && value.toDouble(&number) == 0 && number)
        return GetResText(name->zeroTextId);
    if (service)
        return service->shownValue(entry.item, value, unit);
    return unit.isEmpty() ? value.trimmed() : value.trimmed() + QLatin1Char(' ') + unit;
}
} // namespace

QString groupLabel(CompareItem::Group group)
{
    return GetResText(CompareItems::groupLabelId(group));
}

QString itemLabel(const QString &item)
{
    const auto known = ChangeNames::item(item);
    return known ? labelText(known->label) : item;
}

QString oldValue(HistoryService *service, const ChangeEntry &entry)
{
    if (isCommand(service, entry))
        return NoValue;
    if (!entry.oldValue)
        return GetResText(NotRead);
    return valueText(service, entry, *entry.oldValue, entry.oldUnit);
}

QString newValue(HistoryService *service, const ChangeEntry &entry)
{
    if (isCommand(service, entry))
        return NoValue;
    return valueText(service, entry, entry.newValue, entry.newUnit);
}

QStringList logRow(HistoryService *service, const ChangeEntry &entry)
{
    return {time(entry.time),
            entry.user,
            entry.device,
            entry.tag,
            itemLabel(entry.item),
            oldValue(service, entry),
            newValue(service, entry),
            outcome(entry)};
}

QString responseText(int command, int code)
{
    // Commands 44 and 53 say so with 12 when the unit code is wrong.
    if (code == 12 && (command == 44 || command == 53))
        return GetResText(InvalidUnitCode);
    // The zero, the fixed current and its trims give 9 to 11 meanings of
    // their own.
    using namespace hart::command;
    const bool trim = command == TrimLoopCurrentZero || command == TrimLoopCurrentGain;
    if (command == SetPrimaryVariableZero && (code == 9 || code == 10))
        return GetResText(code == 9 ? AppliedProcessTooHigh : AppliedProcessTooLow);
    if (trim && code == 9)
        return GetResText(WrongLoopCurrentMode);
    if ((command == EnterExitFixedCurrent || trim) && code == 11)
        return GetResText(InMultidropMode);
    for (int known : KnownCodes) {
        if (known == code)
            return GetResText(qint16(ResponseTextBase + code));
    }
    return QString();
}

QString outcome(const ChangeEntry &entry)
{
    switch (entry.outcome) {
    case ChangeEntry::Outcome::Accepted:
        return GetResText(4768);
    case ChangeEntry::Outcome::Refused:
        return FormatResText(GetResText(4769), {QString::number(entry.responseCode),
                                                responseText(entry.command, entry.responseCode)});
    case ChangeEntry::Outcome::NotSent:
        return GetResText(7424);
    case ChangeEntry::Outcome::Unknown:
        break;
    }
    return GetResText(4770);
}

QString reason(const QString &reason)
{
    if (reason.compare(QLatin1String(HistoryService::DownloadSequence), Qt::CaseInsensitive) == 0)
        return GetResText(4778);
    if (reason == QLatin1String("compare"))
        return GetResText(4779);
    if (reason.startsWith(QLatin1String("restore:")))
        return FormatResText(GetResText(4780), {reason.mid(8)});
    if (const auto action = ChangeNames::action(reason))
        return labelText(*action);
    return FormatResText(GetResText(4781), {reason});
}

QString databaseProblem(HistoryService *service)
{
    if (!service)
        return FormatResText(GetResText(4784), {HistoryDatabase::defaultPath()});
    const HistoryDatabase &db = service->database();
    switch (db.status()) {
    case HistoryDatabase::Status::Open:
        return QString();
    case HistoryDatabase::Status::ReadOnly:
        return FormatResText(GetResText(7425), {db.path()});
    case HistoryDatabase::Status::NewerVersion:
        return FormatResText(GetResText(4782), {db.path()});
    case HistoryDatabase::Status::NotHistory:
        return FormatResText(GetResText(4783), {db.path()});
    default:
        return FormatResText(GetResText(4784), {db.path()});
    }
}

QString time(const QDateTime &utc)
{
    const QDateTime local = utc.toLocalTime();
    return QLocale().toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           local.time().toString(QStringLiteral("HH:mm:ss"));
}

QString datasetMatch(const DatasetMatch &match)
{
    switch (match.kind) {
    case DatasetMatch::Kind::NoDevice:
        return GetResText(7418);
    case DatasetMatch::Kind::NotCompared:
        return GetResText(7412);
    case DatasetMatch::Kind::Matches:
        return GetResText(3865);
    case DatasetMatch::Kind::Differs:
        break;
    }
    QStringList names;
    for (const QString &item : match.differing)
        names << itemLabel(item);
    return GetResText(3864) + QStringLiteral(": ") + names.join(QStringLiteral(", "));
}

} // namespace HistoryTexts

HistoryService *historyServiceOf(IViewEx *view)
{
    const auto manager = view ? view->appletItemManagerRef() : nullptr;
    const auto applet = manager ? manager->fncGetApplet() : nullptr;
    if (!applet)
        return nullptr;
    // The instance owns it: only a weak hold is kept.
    return qobject_cast<HistoryService *>(
        applet->fncCreateObject(QLatin1String(HistoryService::ProgId)).get());
}

#include "ValueNames.h"

#include "DescriptionTexts.h"
#include "ItemStore.h"
#include "ItemValue.h"

#include <QLocale>

namespace {

struct Name
{
    const char *name;
    const char *item;
};

constexpr Name Names[] = {
    {"tag", "_tagHART"},           {"descriptor", "descriptor"}, {"message", "deviceMessage"},
    {"date", "deviceInstallDate"}, {"lrv", "scaleInLoLim"},      {"urv", "scaleInHiLim"},
    {"unit", "primaryValueUnit"},  {"damping", "filterTime"},    {"transfer", "ptrbLinType"},
};

// The enumeration's texts in the language too, so that a German sheet may say "Radiziert".
QList<EnumerationEntry> withTranslations(const QList<EnumerationEntry> &entries)
{
    QList<EnumerationEntry> all = entries;
    for (const EnumerationEntry &entry : entries) {
        const QString translated = DescriptionTexts::translated(entry.text);
        if (translated != entry.text)
            all.append({entry.value, translated});
    }
    return all;
}

} // namespace

QStringList ValueNames::names()
{
    QStringList list;
    for (const Name &n : Names)
        list << QLatin1String(n.name);
    return list;
}

QString ValueNames::item(const QString &name)
{
    for (const Name &n : Names) {
        if (name.trimmed().compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0)
            return QLatin1String(n.item);
    }
    return {};
}

std::optional<QString> ValueNames::hostValue(const ItemStore &store, const QString &name,
                                             const QString &text, QString *refusal)
{
    const QString itemName = item(name);
    const int index = itemName.isEmpty() ? -1 : store.indexOf(itemName);
    if (index < 0) {
        *refusal =
            tr("%1: no such value (values: %2)").arg(name, names().join(QStringLiteral(", ")));
        return std::nullopt;
    }
    const ItemDefinition &definition = store.definition(index);
    const QList<EnumerationEntry> *enumeration = store.enumeration(index);
    const QList<EnumerationEntry> choices =
        enumeration ? withTranslations(*enumeration) : QList<EnumerationEntry>();
    ItemValue value = store.value(index, false);
    // The C form first: a script's 0.5 is a half also where the comma is the decimal sign.
    const bool parsed = value.parseExact(definition, text.trimmed()) ||
                        value.parse(definition, text.trimmed(), enumeration ? &choices : nullptr);
    if (!parsed) {
        if (enumeration) {
            QStringList known;
            for (const EnumerationEntry &entry : *enumeration)
                known << DescriptionTexts::translated(entry.text);
            *refusal = tr("%1=%2: the device cannot take this (it takes: %3)")
                           .arg(name, text, known.join(QStringLiteral(", ")));
        } else {
            *refusal = tr("%1=%2: not a value of this kind").arg(name, text);
        }
        return std::nullopt;
    }
    const QString why = store.refusal(index, value);
    if (!why.isEmpty()) {
        *refusal = tr("%1=%2: %3").arg(name, text, why);
        return std::nullopt;
    }
    return value.toString(definition);
}

#pragma once

#include "Dictionary.h"
#include "VexaControlTexts.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QVariant>
#include <optional>

// What a control needs to know of an item to check an entry: the host's data
// type code, the dictionary's limits, the longest text and the enumeration.
struct VexaItemFacts
{
    enum Type
    {
        String = 1,
        UInt = 2,
        Int = 3,
        Float = 4,
        BCD = 5,
        Octets = 6,
        PCA = 7,
        HartDate = 8
    };

    qint32 dataType = 0;
    QVariant minimum; // invalid = no limit
    QVariant maximum;
    int maxLength = 0; // characters (String, PCA) or bytes (Octets); 0 = any
    QList<EnumTableEntry> enumeration;
};

// The outcome of checking a typed entry: either the host's string form of the
// value (and the number, for numeric types) or why the item cannot hold it.
struct VexaEntry
{
    std::optional<VexaControlTexts::Id> refusal;
    QString message; // the refusal, ready to show
    QString hostText;
    double number = 0;

    bool ok() const { return !refusal; }
};

// Checks what the user typed against an item's type and limits, and turns
// the host's string form into what the user reads. Pure: no host, no widgets.
class VexaEntryCheck
{
public:
    static VexaEntry check(const VexaItemFacts &facts, const QString &typed,
                           const QLocale &locale = QLocale());
    // decimals >= 0 shows a float with that many places (a measured value);
    // otherwise its shortest exact form (a value the user entered).
    static QString display(const VexaItemFacts &facts, const QString &hostText,
                           const QLocale &locale = QLocale(), int decimals = -1);
    // The date format shown and read: the locale's short form with a
    // four-digit year, so that no century is guessed.
    static QString dateFormat(const QLocale &locale);
    // The item holds a number (an empty entry is then no value at all).
    static bool isNumber(const VexaItemFacts &facts);

private:
    static VexaEntry checkNumber(const VexaItemFacts &facts, const QString &typed,
                                 const QLocale &locale);
    static VexaEntry checkLimits(const VexaItemFacts &facts, double number, const QLocale &locale);
    static VexaEntry checkText(const VexaItemFacts &facts, const QString &typed);
    static VexaEntry checkPacked(const VexaItemFacts &facts, const QString &typed);
    static VexaEntry checkDate(const QString &typed, const QLocale &locale);
    static VexaEntry checkOctets(const VexaItemFacts &facts, const QString &typed);
};

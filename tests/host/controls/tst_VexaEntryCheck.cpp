#include "TestRegistry.h"

#include "VexaControlLayout.h"
#include "VexaEntryCheck.h"

#include <QTest>

namespace {
const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);

VexaItemFacts facts(qint32 type, QVariant min = {}, QVariant max = {}, int length = 0)
{
    VexaItemFacts f;
    f.dataType = type;
    f.minimum = min;
    f.maximum = max;
    f.maxLength = length;
    return f;
}
} // namespace

Q_DECLARE_METATYPE(VexaItemFacts)

// Typed entries against the item's type and limits, and the host's values as
// the user reads them.
class tst_VexaEntryCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entries_data()
    {
        QTest::addColumn<VexaItemFacts>("item");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("hostText"); // empty: refused
        QTest::addColumn<int>("refusal");

        const auto flt = facts(VexaItemFacts::Float, 0, 100);
        QTest::newRow("float in the user's format") << flt << German << "12,5" << "12.5" << -1;
        QTest::newRow("float in the host's format") << flt << German << "12.5" << "12.5" << -1;
        QTest::newRow("float on the limit") << flt << English << "100" << "100" << -1;
        QTest::newRow("float above the limit")
            << flt << English << "100.5" << "" << int(VexaControlTexts::OutOfRange);
        QTest::newRow("float not a number")
            << flt << English << "12a" << "" << int(VexaControlTexts::NotANumber);
        QTest::newRow("float empty") << flt << English << "" << "" << int(VexaControlTexts::NotANumber);
        QTest::newRow("float without limits beyond single precision")
            << facts(VexaItemFacts::Float) << English << "1e39" << ""
            << int(VexaControlTexts::AboveMaximum);
        QTest::newRow("float below its only limit")
            << facts(VexaItemFacts::Float, 3.8) << English << "3.7" << ""
            << int(VexaControlTexts::BelowMinimum);
        QTest::newRow("uint fraction")
            << facts(VexaItemFacts::UInt) << English << "1.5" << "" << int(VexaControlTexts::NotWholeNumber);
        QTest::newRow("uint negative")
            << facts(VexaItemFacts::UInt) << English << "-1" << "" << int(VexaControlTexts::OutOfRange);
        QTest::newRow("uint within its limits") << facts(VexaItemFacts::UInt, 0, 2) << English << "2" << "2" << -1;
        QTest::newRow("int beyond 32 bits")
            << facts(VexaItemFacts::Int) << English << "2147483648" << ""
            << int(VexaControlTexts::OutOfRange);
        QTest::newRow("bcd of nine digits")
            << facts(VexaItemFacts::BCD) << English << "123456789" << ""
            << int(VexaControlTexts::OutOfRange);
        QTest::newRow("text too long")
            << facts(VexaItemFacts::String, {}, {}, 8) << English << "ABCDEFGHI" << ""
            << int(VexaControlTexts::TooLong);
        QTest::newRow("packed ascii in capitals") << facts(VexaItemFacts::PCA, {}, {}, 8) << English << "pt-100" << "PT-100" << -1;
        QTest::newRow("packed ascii with lower-case only signs")
            << facts(VexaItemFacts::PCA, {}, {}, 8) << English << "a~b" << ""
            << int(VexaControlTexts::BadCharacters);
        QTest::newRow("date in the user's format") << facts(VexaItemFacts::HartDate) << German << "01.03.2025" << "2025-03-01" << -1;
        QTest::newRow("date that does not exist")
            << facts(VexaItemFacts::HartDate) << German << "31.02.2025" << ""
            << int(VexaControlTexts::BadDate);
        QTest::newRow("date before 1900")
            << facts(VexaItemFacts::HartDate) << English << "1899-12-31" << ""
            << int(VexaControlTexts::BadDate);
        QTest::newRow("octets") << facts(VexaItemFacts::Octets, {}, {}, 3) << English << "0a 1f" << "0A 1F" << -1;
        QTest::newRow("octets too many")
            << facts(VexaItemFacts::Octets, {}, {}, 2) << English << "01 02 03" << ""
            << int(VexaControlTexts::TooLong);
    }

    void entries()
    {
        QFETCH(VexaItemFacts, item);
        QFETCH(QLocale, locale);
        QFETCH(QString, typed);
        QFETCH(QString, hostText);
        QFETCH(int, refusal);

        const VexaEntry entry = VexaEntryCheck::check(item, typed, locale);
        QCOMPARE(entry.ok(), refusal < 0);
        if (entry.ok()) {
            QCOMPARE(entry.hostText, hostText);
        } else {
            QCOMPARE(int(*entry.refusal), refusal);
            QVERIFY(!entry.message.contains(QLatin1Char('%')));
        }
    }

    void enumeratedEntries()
    {
        VexaItemFacts item = facts(VexaItemFacts::UInt);
        item.enumeration = {{7, QStringLiteral("bar")}, {8, QStringLiteral("mbar")}};
        QCOMPARE(VexaEntryCheck::check(item, QStringLiteral("MBAR"), English).hostText,
                 QStringLiteral("8"));
        QCOMPARE(VexaEntryCheck::check(item, QStringLiteral("7"), English).hostText,
                 QStringLiteral("7"));
        QCOMPARE(*VexaEntryCheck::check(item, QStringLiteral("9"), English).refusal,
                 VexaControlTexts::NotInEnumeration);
        QCOMPARE(VexaEntryCheck::display(item, QStringLiteral("8"), English), QStringLiteral("mbar"));
    }

    void display_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("hostText");
        QTest::addColumn<QString>("shown");

        QTest::newRow("float, German") << int(VexaItemFacts::Float) << German << "1234.5" << "1234,5";
        QTest::newRow("float, no exponent") << int(VexaItemFacts::Float) << English << "1e+09" << "1000000000";
        QTest::newRow("date, German") << int(VexaItemFacts::HartDate) << German << "2024-01-15" << "15.01.2024";
        QTest::newRow("packed ascii padding") << int(VexaItemFacts::PCA) << English << "PT-1    " << "PT-1";
    }

    void display()
    {
        QFETCH(int, type);
        QFETCH(QLocale, locale);
        QFETCH(QString, hostText);
        QFETCH(QString, shown);
        QCOMPARE(VexaEntryCheck::display(facts(type), hostText, locale), shown);
    }

    // Caption, field, unit: the design position holds until a caption needs more room.
    void layout_data()
    {
        QTest::addColumn<int>("fieldLeft");
        QTest::addColumn<int>("labelWidth");
        QTest::addColumn<int>("expectedFieldX");

        QTest::newRow("design position") << 120 << 80 << 120;
        QTest::newRow("caption wider than the design allows") << 120 << 150 << 4 + 150 + 6;
        QTest::newRow("no design position") << 0 << 80 << 4 + 80 + 6;
    }

    void layout()
    {
        QFETCH(int, fieldLeft);
        QFETCH(int, labelWidth);
        QFETCH(int, expectedFieldX);

        VexaRowSpec spec;
        spec.width = 300;
        spec.height = 24;
        spec.leftSpace = 4;
        spec.rightSpace = 2;
        spec.fieldLeft = fieldLeft;
        spec.labelWidth = labelWidth;
        spec.unitWidth = 30;
        const VexaRowGeometry row = VexaControlLayout::arrange(spec);
        QCOMPARE(row.field.x(), expectedFieldX);
        QCOMPARE(row.label.width(), labelWidth);
        QVERIFY(row.label.right() < row.field.left());
        QVERIFY(row.field.right() < row.unit.left());
        QVERIFY(row.unit.width() >= 30);
        QCOMPARE(row.unit.right(), 300 - 2 - 1);
    }

    void layoutNeverCutsTheUnit()
    {
        VexaRowSpec spec;
        spec.width = 120; // narrower than the design asks for
        spec.fieldLeft = 100;
        spec.fieldWidth = 60;
        spec.labelWidth = 90;
        spec.unitWidth = 40;
        const VexaRowGeometry row = VexaControlLayout::arrange(spec);
        QCOMPARE(row.unit.width(), 40);
        QCOMPARE(row.neededWidth, 100 + 60 + 6 + 40);
    }
};

VEX_TEST(tst_VexaEntryCheck)
#include "tst_VexaEntryCheck.moc"

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

// The checks the host would not make, or would make without a reason: the
// end-to-end edits of the controls cover the common cases.
class tst_VexaEntryCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entries_data()
    {
        QTest::addColumn<VexaItemFacts>("item");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("hostText"); // empty: refused with the reason below
        QTest::addColumn<int>("refusal");

        using T = VexaControlTexts;
        const auto flt = facts(VexaItemFacts::Float, 0, 100);
        QTest::newRow("float on the limit") << flt << "100"
                                            << "100" << -1;
        QTest::newRow("float empty") << flt << ""
                                     << "" << int(T::NotANumber);
        QTest::newRow("float beyond single precision") << facts(VexaItemFacts::Float) << "1e39"
                                                       << "" << int(T::AboveMaximum);
        QTest::newRow("float below its only limit") << facts(VexaItemFacts::Float, 3.8) << "3.7"
                                                    << "" << int(T::BelowMinimum);
        QTest::newRow("uint negative") << facts(VexaItemFacts::UInt) << "-1"
                                       << "" << int(T::OutOfRange);
        QTest::newRow("int beyond 32 bits") << facts(VexaItemFacts::Int) << "2147483648"
                                            << "" << int(T::OutOfRange);
        QTest::newRow("bcd of nine digits") << facts(VexaItemFacts::BCD) << "123456789"
                                            << "" << int(T::OutOfRange);
        QTest::newRow("octets") << facts(VexaItemFacts::Octets, {}, {}, 3) << "0a 1f"
                                << "0A 1F" << -1;
        QTest::newRow("octets too many") << facts(VexaItemFacts::Octets, {}, {}, 2) << "01 02 03"
                                         << "" << int(T::TooLong);
        QTest::newRow("date before 1900") << facts(VexaItemFacts::HartDate) << "1899-12-31"
                                          << "" << int(T::BadDate);
    }

    void entries()
    {
        QFETCH(VexaItemFacts, item);
        QFETCH(QString, typed);
        QFETCH(QString, hostText);
        QFETCH(int, refusal);

        const VexaEntry entry = VexaEntryCheck::check(item, typed, English);
        QCOMPARE(entry.ok(), refusal < 0);
        if (entry.ok())
            QCOMPARE(entry.hostText, hostText);
        else
            QCOMPARE(int(*entry.refusal), refusal);
        QVERIFY(!entry.message.contains(QLatin1Char('%')));
    }

    void enumeratedEntries()
    {
        VexaItemFacts item = facts(VexaItemFacts::UInt);
        item.enumeration = {{7, QStringLiteral("bar")}, {8, QStringLiteral("mbar")}};
        QCOMPARE(VexaEntryCheck::check(item, QStringLiteral("MBAR")).hostText, QStringLiteral("8"));
        QCOMPARE(*VexaEntryCheck::check(item, QStringLiteral("9")).refusal,
                 VexaControlTexts::NotInEnumeration);
        QCOMPARE(VexaEntryCheck::display(item, QStringLiteral("8")), QStringLiteral("mbar"));
    }

    void display_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("hostText");
        QTest::addColumn<QString>("shown");

        QTest::newRow("float, no exponent") << int(VexaItemFacts::Float) << English << "1e+09"
                                            << "1000000000";
        QTest::newRow("date, four-digit year")
            << int(VexaItemFacts::HartDate) << German << "2024-01-15"
            << "15.01.2024";
        QTest::newRow("packed ascii padding") << int(VexaItemFacts::PCA) << English << "PT-1    "
                                              << "PT-1";
    }

    void display()
    {
        QFETCH(int, type);
        QFETCH(QLocale, locale);
        QFETCH(QString, hostText);
        QFETCH(QString, shown);
        QCOMPARE(VexaEntryCheck::display(facts(type), hostText, locale), shown);
    }

    // The design position holds until a caption needs more room; a unit is never cut.
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

        VexaRowDesign design;
        design.width = 200; // narrower than the wider caption asks for
        design.leftSpace = 4;
        design.fieldLeft = fieldLeft;
        design.fieldWidth = 50;
        design.labelWidth = labelWidth;
        design.unitWidth = 30;
        const VexaRowGeometry row = VexaControlLayout::arrange(design);
        QCOMPARE(row.field.x(), expectedFieldX);
        QVERIFY(row.label.right() < row.field.left());
        QVERIFY(row.field.right() < row.unit.left());
        QVERIFY(row.unit.width() >= 30);
        QCOMPARE(row.neededWidth, expectedFieldX + 50 + 6 + 30);
    }
};

VEX_TEST(tst_VexaEntryCheck)
#include "tst_VexaEntryCheck.moc"

#include "TestRegistry.h"

#include "dialogs/EntryRules.h"
#include "dialogs/RerangePreview.h"

#include <QTest>

class TstEntryRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void simulationValue_data()
    {
        QTest::addColumn<double>("typed");
        QTest::addColumn<double>("shown");
        QTest::addColumn<int>("slider");
        QTest::newRow("above the limit") << 25.0 << 23.6 << 236;
        QTest::newRow("below") << 1.0 << 3.6 << 36;
        QTest::newRow("lower limit as float") << double(3.6f) << 3.6 << 36;
        QTest::newRow("tenths cut") << 12.34 << 12.34 << 123;
        QTest::newRow("upper limit as float") << double(23.6f) << 23.6 << 236;
    }
    void simulationValue()
    {
        QFETCH(double, typed);
        QFETCH(double, shown);
        QFETCH(int, slider);
        QCOMPARE(EntryRules::clampSimulation(typed), shown);
        QCOMPARE(EntryRules::sliderPosition(EntryRules::clampSimulation(typed)), slider);
        // The device's float, unclamped, lands on the same position.
        QCOMPARE(EntryRules::sliderPosition(double(float(shown))), slider);
    }

    void numbersInBothFormats()
    {
        const QLocale german(QLocale::German, QLocale::Germany);
        QCOMPARE(EntryRules::toNumber("12,5", german), 12.5);
        QCOMPARE(EntryRules::toNumber("12.5", german), 12.5);
        QVERIFY(!EntryRules::toNumber("1.000,5", german));
        QVERIFY(!EntryRules::toNumber("", german));
        QCOMPARE(EntryRules::singleText(100.123456, german), "100,1235");
    }

    void squareRootPreview()
    {
        const auto out = RerangePreview::output(25, 0, 100, true);
        QVERIFY(out);
        QCOMPARE(out->percent, 25.0);
        QCOMPARE(out->milliamps, 12.0);
        QVERIFY(!RerangePreview::output(5, 10, 10));
    }
};

VEX_TEST(TstEntryRules)
#include "tst_EntryRules.moc"

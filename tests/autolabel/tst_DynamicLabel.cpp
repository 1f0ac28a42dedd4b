#include "TestRegistry.h"

#include "DynamicLabel.h"
#include "DynamicLabelSizing.h"
#include "WinColor.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

namespace {
const QString CrLf = QStringLiteral("\r\n");

QString lines(int count)
{
    QStringList parts;
    for (int i = 0; i < count; ++i)
        parts << QStringLiteral("L%1").arg(i);
    return parts.join(CrLf);
}
} // namespace

class TstDynamicLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sizing_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<double>("width");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("longest");
        QTest::addColumn<double>("fontSize");
        QTest::addColumn<double>("height");
        QTest::newRow("one line of 7") << "1234567" << 1750.0 << true << 1 << 7 << 20.0 << 480.0;
        QTest::newRow("4 and 3: first line plus one")
            << "ABCD" + CrLf + "XYZ" << 1750.0 << true << 2 << 5 << 28.0 << 28.0 * 48;
        QTest::newRow("longer last line counts plus one")
            << "AB" + CrLf + "WXYZ" << 1500.0 << true << 2 << 5 << 24.0 << 24.0 * 48;
        QTest::newRow("middle line counts plus two")
            << "A" + CrLf + "BCDE" + CrLf + "F" << 1500.0 << true << 3 << 6 << 20.0 << 20.0 * 72;
        QTest::newRow("19 breaks still measured")
            << lines(20) << 1000.0 << true << 20 << 5 << 16.0 << 16.0 * 24 * 20;
        QTest::newRow("20 breaks overflow the table")
            << lines(21) << 1000.0 << false << 0 << 0 << 0.0 << 0.0;
        QTest::newRow("empty caption") << "" << 1000.0 << false << 0 << 0 << 0.0 << 0.0;
    }
    void sizing()
    {
        QFETCH(QString, caption);
        QFETCH(double, width);
        const DynamicLabelSizing size = DynamicLabelSizing::compute(caption, width);
        QTEST(size.valid, "valid");
        QTEST(size.lines, "lines");
        QTEST(size.longest, "longest");
        QTEST(size.fontSize, "fontSize");
        QTEST(size.heightTwips, "height");
    }

    // Through the widget: the height follows the font; Resize only on a change.
    void resizeReported()
    {
        DynamicLabel label;
        const double tppX = label.twipsPerPixelX();
        label.resize(120, 10);
        QSignalSpy resized(&label, &DynamicLabel::Resize);
        label.setCaption(QStringLiteral("12.5") + CrLf + QStringLiteral("mA"));
        const DynamicLabelSizing expected =
            DynamicLabelSizing::compute(label.Caption(), 120 * tppX);
        QCOMPARE(label.FontSize(), float(expected.fontSize));
        QCOMPARE(label.height(), qRound(expected.heightTwips / label.twipsPerPixelY()));
        QCOMPARE(label.label()->height(), label.height());
        QCOMPARE(label.label()->font().pointSizeF(), expected.fontSize);
        QCOMPARE(resized.count(), 1);

        // Same structure and length: same height, no Resize.
        label.setCaption(QStringLiteral("13.7") + CrLf + QStringLiteral("mA"));
        QCOMPARE(resized.count(), 1);

        // A third line changes the height.
        label.setCaption(label.Caption() + CrLf + QStringLiteral("UA"));
        QCOMPARE(resized.count(), 2);
        QVERIFY(label.height() > qRound(expected.heightTwips / label.twipsPerPixelY()));
    }

    void unmeasurableCaptionKeepsSize_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::newRow("empty") << "";
        QTest::newRow("21 lines") << lines(21);
    }
    void unmeasurableCaptionKeepsSize()
    {
        DynamicLabel label;
        label.resize(150, 10);
        label.setCaption(QStringLiteral("1234567"));
        const float size = label.FontSize();
        const int height = label.height();
        QSignalSpy resized(&label, &DynamicLabel::Resize);
        QFETCH(QString, caption);
        label.setCaption(caption);
        QCOMPARE(label.FontSize(), size);
        QCOMPARE(label.height(), height);
        QCOMPARE(resized.count(), 0);
    }

    void fontSizeFromOutsideUntilNextSizing()
    {
        DynamicLabel label;
        label.resize(150, 10);
        label.show();
        label.setCaption(QStringLiteral("1234567"));
        const float computed = label.FontSize();
        label.setFontSize(8.0f);
        QCOMPARE(label.label()->font().pointSizeF(), 8.0);
        label.resize(150, label.height() + 5);
        QCOMPARE(label.FontSize(), computed);
    }

    void properties_data()
    {
        QTest::addColumn<QVariantMap>("bag");
        QTest::addColumn<bool>("sizeStored");
        QTest::newRow("nothing stored: defaults, computed size kept") << QVariantMap() << false;
        QTest::newRow("stored size wins until the next sizing")
            << QVariantMap{{"Caption", "0.25" + CrLf + "bar"},
                           {"ForeColor", WinColor::Red},
                           {"BackColor", WinColor::Grey},
                           {"Alignment", 1},
                           {"FontSize", 9.5}}
            << true;
    }
    void properties()
    {
        QFETCH(QVariantMap, bag);
        DynamicLabel label;
        label.resize(150, 10);
        QSignalSpy changed(&label, &DynamicLabel::PropertyChanged);
        label.ReadProperties(bag);
        QCOMPARE(label.Caption(), bag.value("Caption", DynamicLabel::DesignCaption).toString());
        QCOMPARE(label.ForeColor(), bag.value("ForeColor", WinColor::Green).toInt());
        QCOMPARE(label.BackColor(), bag.value("BackColor", WinColor::Black).toInt());
        QCOMPARE(label.Alignment(), qint16(bag.value("Alignment", 2).toInt()));
        QFETCH(bool, sizeStored);
        if (sizeStored) {
            QCOMPARE(label.FontSize(), 9.5f);
        } else {
            const auto expected = DynamicLabelSizing::compute(
                DynamicLabel::DesignCaption, label.width() * label.twipsPerPixelX());
            QCOMPARE(label.FontSize(), float(expected.fontSize));
            QVERIFY(label.label()->font().pointSizeF() > 1.0);
        }
        QCOMPARE(label.label()->palette().color(QPalette::WindowText),
                 WinColor::toColor(label.ForeColor()));
        QVERIFY(changed.count() >= 4);

        QVariantMap written;
        label.WriteProperties(written);
        DynamicLabel copy;
        copy.ReadProperties(written);
        QCOMPARE(copy.Caption(), label.Caption());
        QCOMPARE(copy.ForeColor(), label.ForeColor());
        QCOMPARE(copy.FontSize(), label.FontSize());
    }

    void sizeInTwips()
    {
        DynamicLabel label;
        label.setCaption(QStringLiteral("1234567"));
        label.Size(float(150 * label.twipsPerPixelX()), 300.0f);
        QCOMPARE(label.width(), 150);
        // The height is the sizing's, not the one asked for.
        const auto expected = DynamicLabelSizing::compute("1234567", 150 * label.twipsPerPixelX());
        QCOMPARE(label.lastReportedHeight(),
                 qint32(qRound(qRound(expected.heightTwips / label.twipsPerPixelY()) *
                               label.twipsPerPixelY())));
    }
};

VEX_TEST(TstDynamicLabel)
#include "tst_DynamicLabel.moc"

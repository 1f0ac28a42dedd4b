#include "TestRegistry.h"
#include "TrendRig.h"

#include "ConnectionController.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "ItemStore.h"
#include "TrendCanvas.h"
#include "TrendCsv.h"
#include "TrendLegend.h"
#include "TrendMarkerLabels.h"
#include "TrendRecorder.h"
#include "TrendReduction.h"
#include "TrendSpanFill.h"
#include "TrendYScale.h"
#include "UpdateScheduler.h"
#include "VexAppletItemManager.h"
#include "VexaPlotter.h"
#include "simulator/SimulatedTransmitter.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace trendrig;

// How the trend draws what it recorded: the axis and its curve, the colours
// and status marks, gaps and slow reads, the marker labels, the exported
// picture.
class TstTrendDrawing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    // The exported picture carries the title, the device's tag and the date
    // and time of what it shows above the curves and legend.
    void exportedPictureSaysWhatItShows()
    {
        PlotterRig rig;
        rig.plotter.setPlotterCaption("Trend");
        rig.plotter.setObjectNameTag("&&private_PM&&TagName");
        rig.plotter.Register(rig.host.manager());
        rig.plotter.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.plotter));
        TrendView view;
        view.endMs = Start + 600 * 1000;
        view.live = false;
        rig.plotter.pause();
        rig.plotter.canvas()->setView(view);
        const QStringList heading = rig.plotter.pictureHeading();
        QCOMPARE(heading.size(), 2);
        QCOMPARE(heading[0], "Trend: PT-1");
        QCOMPARE(heading[1], QLocale().toString(QDate(2026, 3, 2), QLocale::ShortFormat) +
                                 " 08:00:00 – 08:10:00");

        QTemporaryDir out;
        const QString png = out.filePath("trend.png");
        QVERIFY(rig.plotter.exportPicture(png));
        const QImage picture(png);
        const QImage body = rig.plotter.canvas()->grab().toImage();
        QCOMPARE(picture.width(), rig.plotter.width());
        QVERIFY(picture.height() > body.height() + 30);
        // The heading's text is on the picture.
        const QRgb background = picture.pixel(0, 0);
        int ink = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 120; ++x)
                ink += picture.pixel(x, y) != background ? 1 : 0;
        QVERIFY(ink > 50);
    }

    // Reads at a slower pace than asked (a slow link) are a line: only a
    // read late for the curve's own pace, or none at all, is a gap.
    void slowReadsAreALine()
    {
        PlotterRig rig;
        qint64 clock = Start;
        rig.plotter.setClock([&] { return clock; });
        rig.plotter.Register(rig.host.manager());
        const QList<int> items{rig.itemIndex("actualOutputValue")};
        const TrendRing &ring = rig.plotter.recorder().ring(0);
        const auto seconds = [&](int n) {
            for (int s = 0; s < n; ++s) {
                clock += 1000;
                rig.plotter.checkMissingReads();
            }
        };
        // A read every five seconds, the watchdog every second.
        for (int i = 0; i < 6; ++i) {
            rig.manager().reportRead(items, {true, 0, clock});
            seconds(5);
            QVERIFY(rig.plotter.curveValueText(0, clock) != "no value");
        }
        QCOMPARE(ring.size(), 6);
        const auto columns = TrendReduction::reduce(ring, ring.timeAt(0), ring.timeAt(5) + 1, 100);
        QVERIFY(TrendReduction::joins(columns, 0, 99));
        QVERIFY(TrendReduction::stretches(columns).empty());

        // The reads stop: a gap once three of their intervals have passed, once.
        seconds(9);
        QCOMPARE(ring.size(), 6);
        seconds(5);
        QCOMPARE(ring.size(), 7);
        QVERIFY(ring.at(6).isGap());
        seconds(30);
        QCOMPARE(ring.size(), 7);
        QCOMPARE(rig.plotter.curveValueText(0, clock), "no value");
    }

    // The axis names its curve with the unit; a click on it goes on to the next curve.
    void axisNamesItsCurve()
    {
        PlotterRig rig;
        rig.plotter.setObjectNameValue(2, "sensorTemperatureValue");
        rig.plotter.setObjectNameUnit(2, "sensorTemperatureUnit");
        rig.plotter.setObjectNameMin(2, "-40");
        rig.plotter.setObjectNameMax(2, "85");
        rig.plotter.setObjectCaption(2, "Sensor Temperature");
        rig.plotter.Register(rig.host.manager());
        rig.plotter.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.plotter));
        TrendCanvas &canvas = *rig.plotter.canvas();
        QCOMPARE(canvas.axisTitle(), "Current Output [mA]");
        QTest::mouseClick(&canvas, Qt::LeftButton, {}, QPoint(10, canvas.plotArea().center().y()));
        QCOMPARE(canvas.axisCurve(), 2);
        QCOMPARE(canvas.axisTitle(), "Sensor Temperature [" + rig.plotter.unitText(2) + "]");
        QVERIFY(!rig.plotter.unitText(2).isEmpty());
        const auto legend = rig.plotter.findChildren<QToolButton *>();
        QTRY_VERIFY(std::any_of(legend.begin(), legend.end(), [](QToolButton *b) {
            return b->isChecked() && b->text().startsWith("Sensor Temperature");
        }));
        QTest::mouseClick(&canvas, Qt::LeftButton, {}, QPoint(10, canvas.plotArea().center().y()));
        QCOMPARE(canvas.axisCurve(), 0);
    }

    // Each curve keeps its colour where the device flags its values, values
    // below the scale stay on its edge inside the plot.
    void drawnInTheCurvesColours()
    {
        TrendRecorder recorder(100);
        for (int i = 0; i < 60; ++i) {
            const qint64 t = Start + i * 1000;
            recorder.append(0, {t, i < 30 ? 2.0f : 12.0f, TrendStatus::Good});
            recorder.append(1, {t, 50.0f, i >= 30 ? TrendStatus::Bad : TrendStatus::Uncertain});
        }
        TrendCanvas canvas(recorder);
        const QColor blue(0x1F, 0x5F, 0xC0);
        const QColor green(0x20, 0x90, 0x30);
        canvas.setCurveStyle(0, {blue, 4.0, 20.0, true, "Current Output", "mA"});
        canvas.setCurveStyle(1, {green, 0.0, 100.0, true, "Pressure", "mbar"});
        canvas.resize(400, 300);
        TrendView view;
        view.endMs = Start + 60 * 1000;
        view.spanMs = 60 * 1000;
        view.live = false;
        canvas.setView(view);
        QImage image(canvas.size(), QImage::Format_RGB32);
        canvas.render(&image);
        const QRect area = canvas.plotArea();
        const auto count = [&](const QColor &colour, int left, int right, int top, int bottom) {
            int n = 0;
            for (int y = top; y <= bottom; ++y)
                for (int x = left; x <= right; ++x)
                    n += image.pixelColor(x, y).rgb() == colour.rgb() ? 1 : 0;
            return n;
        };
        const int middle = area.left() + area.width() / 2;
        const int y50 = area.center().y();
        QVERIFY(count(blue, area.left() + 10, middle - 10, area.bottom() - 6, area.bottom()) > 40);
        QVERIFY(count(green, area.left() + 10, middle - 10, y50 - 4, y50 + 4) > 40);
        QVERIFY(count(green, middle + 10, area.right() - 10, y50 - 4, y50 + 4) > 40);
        for (TrendStatus s : {TrendStatus::Uncertain, TrendStatus::Bad}) {
            QCOMPARE(TrendCanvas::linePen(green, s).color(), green);
            QVERIFY(TrendCanvas::linePen(green, s).style() != Qt::SolidLine);
        }
    }

    // Geometry: a value beyond the scale stays on its edge inside the plot;
    // markers' notes stay inside the plot and off each other; flagged
    // stretches join across empty columns but not across a gap.
    void plotGeometry()
    {
        const TrendYScale scale = TrendYScale::inside(QRect(0, 10, 100, 101), 4.0, 20.0);
        QCOMPARE(scale.y(20.0), 13.0);
        QCOMPARE(scale.y(12.0), 60.0);
        QCOMPARE(scale.y(4.0), 107.0);
        QCOMPARE(scale.y(-1e6), 107.0);
        QCOMPARE(scale.y(25.0), 13.0);
        QCOMPARE(QList<int>({scale.side(3.9), scale.side(4.0), scale.side(25.0)}),
                 QList<int>({-1, 0, 1}));
        QVERIFY(!TrendYScale::inside(QRect(0, 0, 100, 100), 5.0, 5.0).valid());
        // The alarm current on the scale's end, stored as a float, is on the scale.
        QCOMPARE(TrendYScale::inside(QRect(0, 0, 100, 100), 3.6, 21.0).side(double(3.6f)), 0);

        // A legend entry too wide shortens the name, never the value.
        const QFontMetrics metrics{QFont()};
        const QString reading = "1000,0 % (gestört)";
        const int room = metrics.horizontalAdvance("Prozent: " + reading);
        const QString entry =
            TrendLegend::entryText("Prozent vom Messbereich", reading, metrics, room);
        QVERIFY2(entry.endsWith(": " + reading) && entry.startsWith("Pro"), qPrintable(entry));
        QVERIFY(metrics.horizontalAdvance(entry) <= room);
        QCOMPARE(TrendLegend::entryText("Prozent", reading, metrics, 10), reading);

        const auto placed =
            TrendMarkerLabels::place({{10, 50}, {30, 50}, {395, 50}, {200, 1000}}, 0, 400, 2, 150);
        const auto box = [&](int i) {
            return std::tuple(placed[size_t(i)].left, placed[size_t(i)].width,
                              placed[size_t(i)].row);
        };
        QCOMPARE(box(0), std::tuple(13, 50, 0));       // right of its line
        QCOMPARE(box(1), std::tuple(33, 50, 1));       // would cover the first: a row lower
        QCOMPARE(box(2), std::tuple(395 - 53, 50, 0)); // at the edge: left of its line
        QCOMPARE(box(3), std::tuple(203, 150, 1));     // shortened
        // No room left in the rows: not drawn (the tooltip tells it).
        QCOMPARE(TrendMarkerLabels::place({{10, 50}, {12, 50}}, 0, 400, 1, 150)[1].row, -1);

        const auto value = [](TrendStatus s, bool gapBefore = false) {
            TrendColumn c;
            c.hasValue = true;
            c.worst = s;
            c.gap = c.gapBeforeFirst = gapBefore;
            return c;
        };
        using S = TrendStatus;
        const std::vector<TrendColumn> columns{
            value(S::Good), value(S::Uncertain), TrendColumn{},       value(S::Uncertain),
            value(S::Bad),  value(S::Good),      value(S::Uncertain), value(S::Uncertain, true)};
        QCOMPARE(
            TrendReduction::stretches(columns),
            (std::vector<TrendStretch>{
                {1, 3, S::Uncertain}, {4, 4, S::Bad}, {6, 6, S::Uncertain}, {7, 7, S::Uncertain}}));
    }

    // Spans written straight into the image cover exactly the pixels the
    // painter would fill, inside the plot and the painter's clip only, and
    // wherever writing directly is not safe the painter fills them.
    void spansFillLikeThePainter_data()
    {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QPoint>("shift");
        QTest::addColumn<QRect>("painterClip");
        QTest::newRow("direct") << QColor(20, 120, 200) << QPoint(0, 0) << QRect();
        QTest::newRow("shifted, clipped")
            << QColor(20, 120, 200) << QPoint(7, -3) << QRect(30, 20, 90, 200);
        QTest::newRow("translucent: painter")
            << QColor(20, 120, 200, 128) << QPoint(3, 4) << QRect();
    }
    void spansFillLikeThePainter()
    {
        QFETCH(QColor, colour);
        QFETCH(QPoint, shift);
        QFETCH(QRect, painterClip);
        QRandomGenerator random(7);
        QList<QRect> spans;
        for (int c = 0; c < 150; ++c)
            spans << QRect(c - 1, random.bounded(-10, 120), 2, random.bounded(2, 40));
        const QRect plot(0, 0, 140, 110);
        const auto paint = [&](bool direct) {
            QImage image(200, 160, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::white);
            QPainter p(&image);
            p.translate(shift);
            if (painterClip.isValid())
                p.setClipRect(painterClip);
            if (direct) {
                TrendSpanFill::fill(p, spans, colour, plot);
            } else {
                p.setClipRect(plot, Qt::IntersectClip);
                p.setPen(Qt::NoPen);
                p.setBrush(colour);
                p.drawRects(spans);
            }
            return image;
        };
        const QImage reference = paint(false);
        QVERIFY(reference != QImage(200, 160, QImage::Format_ARGB32_Premultiplied));
        QCOMPARE(paint(true), reference);
    }
};

VEX_TEST(TstTrendDrawing)
#include "tst_TrendDrawing.moc"

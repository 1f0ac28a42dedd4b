#include "TestHost.h"
#include "TestRegistry.h"

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
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

constexpr qint64 Day = 24LL * 3600 * 1000;
const qint64 Start = QDateTime(QDate(2026, 3, 2), QTime(8, 0)).toMSecsSinceEpoch();

DeviceDescription builtIn()
{
    QString error;
    auto d = DeviceDescription::load(QLatin1String(DeviceDescription::BuiltInPath), &error);
    if (!d)
        qFatal("%s", qPrintable(error));
    return *d;
}

QStringList lines(const QByteArray &csv)
{
    QStringList out = QString::fromUtf8(csv).split('\n');
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

QByteArray exported(const TrendRecorder &recorder)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    recorder.exportMemory(buffer, recorder.firstTime(), recorder.lastTime());
    return buffer.data();
}

// The plotter on the real host, its first curve on the loop current.
struct PlotterRig
{
    PlotterRig() : host(builtIn())
    {
        host.device().setNoiseLevel(0);
        host.device().setRealTimeClock(false);
        plotter.setRecordingFolder(folder.path());
        plotter.setObjectNameValue(0, "actualOutputValue");
        plotter.setObjectNameUnit(0, "Unit_mA");
        plotter.setObjectNameMin(0, "3.6");
        plotter.setObjectNameMax(0, "21");
        plotter.setObjectCaption(0, "Current Output");
        plotter.resize(800, 400);
    }
    VexAppletItemManager &manager() const { return *host.manager(); }
    int itemIndex(const char *name) const { return manager().store().indexOf(name); }

    QTemporaryDir folder;
    TestHost host;
    VexaPlotter plotter;
};

} // namespace

class TstTrend : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    // A day at a sample a second fits; more pushes the oldest out, and the
    // memory stays below 16 bytes a sample.
    void ringKeepsADay()
    {
        TrendRing ring(int(Day / 1000));
        const int extra = 90;
        for (int i = 0; i < ring.capacity() + extra; ++i)
            ring.append({Start + i * 1000LL, float(i), TrendStatus::Good});
        QCOMPARE(ring.size(), ring.capacity());
        QCOMPARE(ring.at(0).timeMs, Start + extra * 1000LL);
        QCOMPARE(ring.at(0).value, float(extra));
        QCOMPARE(ring.at(ring.size() - 1).timeMs, Start + (ring.capacity() + extra - 1) * 1000LL);
        QVERIFY(ring.memoryBytes() < 16 * size_t(ring.capacity()));
        QCOMPARE(ring.lowerBound(Start + (extra + 10) * 1000LL), 10);
        QCOMPARE(ring.lastAtOrBefore(Start + (extra + 10) * 1000LL + 500), 10);

        // A late sample goes in at its time, the oldest making room; one older
        // than all the full ring keeps is not taken.
        const qint64 newest = ring.timeAt(ring.size() - 1);
        QVERIFY(ring.append({newest - 500, -1.0f, TrendStatus::Good}));
        QCOMPARE(ring.at(ring.size() - 2).value, -1.0f);
        QCOMPARE(ring.timeAt(ring.size() - 1), newest);
        QCOMPARE(ring.at(0).timeMs, Start + (extra + 1) * 1000LL);
        QVERIFY(!ring.append({Start, -2.0f, TrendStatus::Good}));
        for (int i = 1; i < ring.size(); ++i)
            QVERIFY(ring.timeAt(i - 1) <= ring.timeAt(i));
    }

    void wrappedExportInTimeOrder()
    {
        TrendRecorder recorder(5);
        recorder.setCurve(0, {"Current Output", "mA"}, Start);
        recorder.setCurve(2, {"Pressure, \"damped\"", "bar"}, Start);
        for (int i = 0; i < 8; ++i) {
            const qint64 t = Start + i * 1000;
            recorder.append(0, i == 5 ? TrendSample{t, 0, TrendStatus::NoRead}
                                      : TrendSample{t, float(4 + i), TrendStatus::Good});
            recorder.append(
                2, {t, float(i) / 10, i == 6 ? TrendStatus::Uncertain : TrendStatus::Good});
        }
        const QStringList rows = lines(exported(recorder));
        QCOMPARE(rows.size(), 6);
        QCOMPARE(rows[0],
                 "time,\"Current Output [mA]\",\"Current Output status\","
                 "\"Pressure, \"\"damped\"\" [bar]\",\"Pressure, \"\"damped\"\" status\",marker");
        const auto time = [](int i) { return TrendRecordingFile::isoTime(Start + i * 1000); };
        QCOMPARE(rows[1], time(3) + ",7,good,0.3,good,");
        QCOMPARE(rows[3], time(5) + ",,no read,0.5,good,");
        QCOMPARE(rows[4], time(6) + ",10,good,0.6,uncertain,");
        QVERIFY(time(3).startsWith("2026-03-02T08:00:03.000"));
    }

    // What the user opens: one row per time, in order; a value only where
    // that curve's read succeeded, with its own status; the markers' notes;
    // the recording file gives the same table as memory.
    void exportOneRowPerSampleTime()
    {
        QTemporaryDir dir;
        TrendRecorder recorder;
        recorder.setRecordingFolder(dir.path());
        recorder.setCurve(0, {"Current Output", "mA"}, Start);
        recorder.setCurve(1, {"Pressure", "bar"}, Start);
        const auto at = [](int s) { return Start + s * 1000; };
        recorder.append(0, {at(0), 4.0f, TrendStatus::Good});
        recorder.append(1, {at(0), 0.5f, TrendStatus::Good});
        // A read's first record failed, its second carried the value.
        QVERIFY(recorder.append(1, {at(1), 0, TrendStatus::NoRead}));
        QVERIFY(recorder.append(1, {at(1), 0.6f, TrendStatus::Uncertain}));
        QVERIFY(!recorder.append(1, {at(1), 0.61f, TrendStatus::Good}));
        // A slow read ended after the watchdog had noted a gap.
        recorder.append(0, {at(3), 0, TrendStatus::NoRead});
        QVERIFY(recorder.append(0, {at(1), 5.0f, TrendStatus::Good}));
        recorder.addMarker(at(2), "closed");
        recorder.addMarker(at(1), "valve, open");
        recorder.append(0, {at(4), 6.0f, TrendStatus::Good});
        recorder.append(1, {at(4), 0.7f, TrendStatus::Bad});
        const auto time = [&](int s) { return TrendRecordingFile::isoTime(at(s)); };
        const QStringList expected{
            "time,\"Current Output [mA]\",\"Current Output status\",\"Pressure [bar]\","
            "\"Pressure status\",marker",
            time(0) + ",4,good,0.5,good,",
            time(1) + ",5,good,0.6,uncertain,\"valve, open\"",
            time(2) + ",,,,,\"closed\"",
            time(3) + ",,no read,,,",
            time(4) + ",6,good,0.7,bad,"};
        QCOMPARE(lines(exported(recorder)), expected);
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        QVERIFY(recorder.exportRecording(file, at(0), at(4)));
        QCOMPARE(lines(file.data()), expected);
    }

    // A day's curve reduced to a thousand columns; a gap breaks the line.
    void reduction()
    {
        TrendRing ring(int(Day / 1000) + 10);
        for (qint64 i = 0; i < Day / 1000; ++i) {
            const bool gap = i >= 43200 && i < 43210;
            ring.append({Start + i * 1000, gap ? 0.0f : float(i % 100),
                         gap        ? TrendStatus::NoRead
                         : i == 100 ? TrendStatus::Bad
                                    : TrendStatus::Good});
        }
        const auto columns = TrendReduction::reduce(ring, Start, Start + Day, 1000);
        QCOMPARE(int(columns.size()), 1000);
        QVERIFY(columns[0].hasValue);
        QCOMPARE(columns[0].min, 0.0f);
        QCOMPARE(columns[0].max, 86.0f); // 86.4 samples a column
        QCOMPARE(columns[1].worst, TrendStatus::Bad);
        QCOMPARE(columns[2].worst, TrendStatus::Good);
        QVERIFY(columns[500].gap);
        QVERIFY(TrendReduction::joins(columns, 0, 1));
        QVERIFY(!TrendReduction::joins(columns, 499, 501));

        // Zoomed into the gap: the columns on either side do not join.
        const auto near =
            TrendReduction::reduce(ring, Start + 43195 * 1000, Start + 43215 * 1000, 20);
        QVERIFY(near[4].hasValue && !near[5].hasValue && near[5].gap && near[15].hasValue);
        QVERIFY(!TrendReduction::joins(near, 4, 15));
        QVERIFY(TrendReduction::joins(near, 15, 16));
    }

    void recordingFileReadBack()
    {
        QTemporaryDir dir;
        {
            TrendRecorder recorder(3);
            recorder.setRecordingFolder(dir.path());
            recorder.setCurve(1, {"Sensor Temperature", "°C"}, Start);
            recorder.addMarker(Start + 1000, "valve, open");
            for (int i = 0; i < 6; ++i)
                recorder.append(1, {Start + i * 1000, 20.5f + i, TrendStatus::Good});
            recorder.addMarker(Start + 4500, "closed");
            // Past midnight: the next day's file.
            recorder.append(1, {Start + Day, 30.0f, TrendStatus::Bad});
        }
        // A line cut off by a crash, and a line that is none of ours.
        QFile file(TrendRecordingFile(dir.path()).fileName(QDate(2026, 3, 2)));
        QVERIFY(file.open(QIODevice::Append));
        file.write("S,2026-03-02T08:00:09.000+0");
        file.close();
        const auto all = TrendRecordingFile::read(dir.path(), Start, Start + Day);
        QCOMPARE(all.samples[1].size(), 7);
        QCOMPARE(all.samples[1][2].value, 22.5f);
        QCOMPARE(all.samples[1].last().status, TrendStatus::Bad);
        QCOMPARE(all.curves[1].caption, "Sensor Temperature");
        QCOMPARE(all.curves[1].unit, "°C");
        QCOMPARE(all.markers.size(), 2);
        QCOMPARE(all.markers[0].note, "valve, open");
        QCOMPARE(all.skippedLines, 1);

        // Between the two markers only.
        const auto between = TrendRecordingFile::read(dir.path(), Start + 1000, Start + 4500);
        QCOMPARE(between.samples[1].size(), 4);
    }

    // A recording survives the program being killed: the file has every
    // sample the program had recorded, gap and marker included.
    void recordingSurvivesAKill()
    {
        QTemporaryDir dir;
        QProcess child;
        child.start(QCoreApplication::applicationDirPath() + "/trend_record_child", {dir.path()});
        QVERIFY(child.waitForStarted());
        QByteArray output;
        while (!output.contains("recorded 500") && child.waitForReadyRead(20000))
            output += child.readAllStandardOutput();
        QVERIFY(output.contains("recorded 500"));
        child.kill();
        QVERIFY(child.waitForFinished());

        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        const auto contents = TrendRecordingFile::read(dir.path(), now - 2 * Day, now + Day);
        QCOMPARE(contents.samples[0].size(), 500);
        QVERIFY(contents.samples[0][250].isGap());
        QCOMPARE(contents.samples[0][499].value, 499 / 4.0f);
        QCOMPARE(contents.curves[0].unit, "bar");
        QCOMPARE(contents.markers.size(), 1);
        QCOMPARE(contents.skippedLines, 0);
    }

    void csvFields()
    {
        bool ok = false;
        QCOMPARE(TrendCsv::split(TrendCsv::join({"a", TrendCsv::quoted("b,\"c\""), ""}), &ok),
                 QStringList({"a", "b,\"c\"", ""}));
        QVERIFY(ok);
        TrendCsv::split("\"open", &ok);
        QVERIFY(!ok);
    }

    // Through the real host: reads become samples, a failed read in the
    // middle a gap (drawn open and exported as an empty cell), a value the
    // device flags is marked.
    void readsFailuresAndStatus()
    {
        PlotterRig rig;
        rig.host.manager()->updateScheduler().setUnitMilliseconds(30);
        QVERIFY(rig.host.connect());
        rig.plotter.Register(rig.host.manager());
        const TrendRing &ring = rig.plotter.recorder().ring(0);
        QTRY_VERIFY(ring.size() >= 3);

        // Every sample as it comes: the gap may be followed at once by the next read.
        int gapAt = -1;
        QObject::connect(&rig.plotter, &VexaPlotter::sampled, &rig.plotter, [&](int curve) {
            if (curve == 0 && gapAt < 0 && ring.at(ring.size() - 1).isGap())
                gapAt = ring.size() - 1;
        });
        rig.host.device().injectNoAnswer(1);
        QTRY_VERIFY(gapAt >= 0 && ring.size() > gapAt + 2);
        QVERIFY(!ring.at(gapAt + 1).isGap());
        QCOMPARE(ring.at(gapAt + 1).value, float(rig.host.device().loopCurrent()));

        // Beyond the sensor's range the device flags its values.
        rig.host.device().setAppliedPressure(1e6);
        const TrendStatus flagged =
            TrendStatusText::fromDeviceStatus(rig.host.device().model().deviceStatus());
        QVERIFY(flagged != TrendStatus::Good);
        QTRY_COMPARE(ring.at(ring.size() - 1).status, flagged);

        const auto columns = TrendReduction::reduce(
            ring, ring.timeAt(0), ring.timeAt(ring.size() - 1) + 1, ring.size() * 4);
        int gapColumns = 0;
        for (const TrendColumn &c : columns)
            gapColumns += c.gap ? 1 : 0;
        QCOMPARE(gapColumns, 1);

        QTemporaryDir out;
        const QString csv = out.filePath("trend.csv");
        QVERIFY(rig.plotter.exportCsv(csv, VexaPlotter::ExportRange::Memory));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList rows = lines(file.readAll());
        QCOMPARE(rows[0], "time,\"Current Output [mA]\",\"Current Output status\",marker");
        QCOMPARE(rows.filter(",,no read").size(), 1);
        QVERIFY(!rows.filter("," + TrendStatusText::word(flagged)).isEmpty());
        QVERIFY(rows.filter(",0,").isEmpty());

        // The recording file holds the same.
        const auto recorded = TrendRecordingFile::read(rig.folder.path(), ring.timeAt(0),
                                                       ring.timeAt(ring.size() - 1));
        QCOMPARE(recorded.samples[0].size(), ring.size());
    }

    // No read for a while (not connected) is a gap, once.
    void missingReadsAreAGap()
    {
        PlotterRig rig;
        rig.host.manager()->updateScheduler().setUnitMilliseconds(30);
        QVERIFY(rig.host.connect());
        rig.plotter.Register(rig.host.manager());
        const TrendRing &ring = rig.plotter.recorder().ring(0);
        QTRY_VERIFY(ring.size() >= 2);
        rig.host.instance().connection().disconnectDevice();
        QTRY_VERIFY_WITH_TIMEOUT(ring.at(ring.size() - 1).isGap(),
                                 VexaPlotter::MissingReadMs + 3000);
        const int size = ring.size();
        QTest::qWait(0);
        QCOMPARE(ring.size(), size);
        QCOMPARE(rig.plotter.curveValueText(0, QDateTime::currentMSecsSinceEpoch()), "no value");
    }

    // A burst of samples is drawn once, from the timer.
    void redrawnFromTheTimer()
    {
        PlotterRig rig;
        rig.plotter.Register(rig.host.manager());
        rig.plotter.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.plotter));
        QTRY_VERIFY(rig.plotter.canvas()->paintCount() > 0);
        const int before = rig.plotter.canvas()->paintCount();
        const QList<int> items{rig.itemIndex("actualOutputValue")};
        const qint64 t = QDateTime::currentMSecsSinceEpoch();
        for (int i = 0; i < 200; ++i)
            rig.manager().reportRead(items, {true, 0, t - 200 + i});
        QCOMPARE(rig.plotter.recorder().ring(0).size(), 200);
        QCOMPARE(rig.plotter.canvas()->paintCount(), before);
        QTRY_VERIFY(rig.plotter.canvas()->paintCount() > before);
        QVERIFY(rig.plotter.canvas()->paintCount() <= before + 2);
    }

    // A click places the cursor; the marker goes there with its note, and the
    // table between two markers holds their rows and the samples between.
    void markerAtTheCursorAndExportBetweenMarkers()
    {
        PlotterRig rig;
        rig.plotter.Register(rig.host.manager());
        rig.plotter.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.plotter));
        const QList<int> items{rig.itemIndex("actualOutputValue")};
        const qint64 t = QDateTime::currentMSecsSinceEpoch() - 10000;
        const auto read = [&](int i, quint8 status = 0) {
            rig.manager().reportRead(items, {true, status, t + i * 1000});
        };
        read(0);
        rig.plotter.recorder().addMarker(t + 500, "start");
        read(1, 0x80);
        read(2);
        read(3);

        rig.plotter.pause();
        QVERIFY(rig.plotter.isPaused() && !rig.plotter.canvas()->view().live);
        TrendView view;
        view.endMs = t + 4000;
        view.spanMs = 4000;
        view.live = false;
        TrendCanvas &canvas = *rig.plotter.canvas();
        canvas.setView(view);
        const QRect area = canvas.plotArea();
        const int x = area.left() + area.width() * 5 / 8; // 2.5 s in
        QTest::mouseClick(&canvas, Qt::LeftButton, {}, QPoint(x, area.center().y()));
        QCOMPARE(canvas.placedCursor(), view.timeAt(x - area.left(), area.width()));
        rig.plotter.findChild<QLineEdit *>()->setText("end, valve shut");
        rig.plotter.findChild<QAction *>("marker")->trigger();
        const auto markers = rig.plotter.recorder().markers();
        QCOMPARE(markers.size(), 2);
        QCOMPARE(markers[1].timeMs, *canvas.placedCursor());
        QCOMPARE(markers[1].note, "end, valve shut");
        rig.plotter.resume();
        QVERIFY(!rig.plotter.isPaused() && rig.plotter.canvas()->view().live);

        QTemporaryDir out;
        const QString csv = out.filePath("between.csv");
        QVERIFY(rig.plotter.exportCsv(csv, VexaPlotter::ExportRange::Recording, t + 500,
                                      markers[1].timeMs));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList rows = lines(file.readAll());
        QCOMPARE(rows.size(), 5);
        QVERIFY(rows[1].endsWith(",,,\"start\""));
        QVERIFY(rows[2].endsWith(",bad,"));
        QVERIFY(rows[3].endsWith(",good,"));
        QVERIFY(rows[4].endsWith(",,,\"end, valve shut\""));

        // The whole recording is this one: an earlier session's file in the
        // folder, of another device, stays out.
        {
            TrendRecorder earlier;
            earlier.setRecordingFolder(rig.folder.path());
            earlier.setCurve(0, {"Other device", "bar"}, Start);
            earlier.append(0, {Start, 1.0f, TrendStatus::Good});
        }
        QVERIFY(rig.plotter.exportCsv(csv, VexaPlotter::ExportRange::Recording));
        file.close();
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList whole = lines(file.readAll());
        QCOMPARE(whole.size(), 1 + 4 + 2);
        QVERIFY(whole[0].startsWith("time,\"Current Output [mA]\""));

        // A file that cannot be written says why.
        QString error;
        QVERIFY(!rig.plotter.exportCsv(out.filePath("no/such/folder/x.csv"),
                                       VexaPlotter::ExportRange::Memory, 0, 0, &error));
        QVERIFY(!error.isEmpty());
    }

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
};

VEX_TEST(TstTrend)
#include "tst_Trend.moc"

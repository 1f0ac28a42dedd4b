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

using namespace trendrig;

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
        // 86.4 samples a column, drawn from blocks of 64: the first column
        // holds the first block, the next one whatever its middle falls into.
        QVERIFY(columns[0].max >= 63.0f && columns[0].max <= 99.0f);
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

    // The columns from the ring's block summaries are exactly those of its
    // samples one by one where a column holds fewer than 64 (any width, a
    // ring that wrapped, gaps and flags); with more, close to them.
    void reductionByBlocksIsExact()
    {
        TrendRing ring(10000);
        quint32 seed = 7;
        const auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
        for (int i = 0; i < 12300; ++i) {
            const quint32 r = next() >> 8;
            const auto status = r % 50 == 0   ? TrendStatus::NoRead
                                : r % 37 == 0 ? TrendStatus::Uncertain
                                : r % 91 == 0 ? TrendStatus::Bad
                                              : TrendStatus::Good;
            ring.append({Start + i * 1000LL, float(r % 1000) / 10.0f, status});
        }
        const qint64 from = ring.timeAt(0) - 3000;
        const qint64 to = ring.timeAt(ring.size() - 1) + 1000;
        for (const int width : {1, 7, 50, 123, 400, 1000}) {
            std::vector<TrendColumn> expected(static_cast<size_t>(width));
            ring.visit(0, ring.size(), [&](qint64 t, float v, TrendStatus s) {
                TrendColumn &c = expected[size_t(
                    std::min(width - 1, int(double(t - from) * width / double(to - from))))];
                if (s == TrendStatus::NoRead) {
                    c.gap = true;
                    (c.hasValue ? c.gapAfterLast : c.gapBeforeFirst) = true;
                    return;
                }
                c.min = c.hasValue ? std::min(c.min, v) : v;
                c.max = c.hasValue ? std::max(c.max, v) : v;
                c.first = c.hasValue ? c.first : v;
                c.worst = c.hasValue ? std::max(c.worst, s) : s;
                c.hasValue = true;
                c.last = v;
                c.gapAfterLast = false;
            });
            const auto columns = TrendReduction::reduce(ring, from, to, width);
            // Sixty-four samples a column and more: each block whole in the
            // column of its middle, so a column's values come at most half a
            // block from its edges, and nothing is lost or made up.
            if (ring.size() / width >= TrendRing::BlockSizes[1]) {
                const qint64 slack = TrendRing::BlockSizes[1] / 2 * 1000 + 1000;
                for (int c = 0; c < width; ++c) {
                    const TrendColumn &a = columns[size_t(c)];
                    if (!a.hasValue)
                        continue;
                    const qint64 lo = from + (to - from) * c / width - slack;
                    const qint64 hi = from + (to - from) * (c + 1) / width + slack;
                    float min = 1e9f, max = -1e9f;
                    ring.visit(ring.lowerBound(lo), ring.lowerBound(hi),
                               [&](qint64, float v, TrendStatus s) {
                                   if (s != TrendStatus::NoRead) {
                                       min = std::min(min, v);
                                       max = std::max(max, v);
                                   }
                               });
                    QVERIFY2(a.min >= min && a.max <= max,
                             qPrintable(QStringLiteral("width %1, column %2").arg(width).arg(c)));
                }
                continue;
            }
            for (int c = 0; c < width; ++c) {
                const TrendColumn &a = columns[size_t(c)];
                const TrendColumn &b = expected[size_t(c)];
                QVERIFY2(a.hasValue == b.hasValue && a.gap == b.gap &&
                             a.gapBeforeFirst == b.gapBeforeFirst &&
                             a.gapAfterLast == b.gapAfterLast && a.worst == b.worst &&
                             (!a.hasValue || (a.min == b.min && a.max == b.max &&
                                              a.first == b.first && a.last == b.last)),
                         qPrintable(QStringLiteral("width %1, column %2").arg(width).arg(c)));
            }
        }
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
};

VEX_TEST(TstTrend)
#include "tst_Trend.moc"

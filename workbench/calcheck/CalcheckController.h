#pragma once

#include "CalcheckPoint.h"
#include "CalcheckSource.h"
#include "StabilityWatch.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class AppletItemManager;
class clsAppItem;
class clsRecordItem;
class clsSequenceItem;

// Runs a calibration check on the device: an as-found and an as-left pass
// over the test points. At each point the user applies the pressure and
// gives the reference reading; the controller reads the range, the pressure
// and the loop current (command 3) until the pressure is stable and records
// the errors. Where the program installed a pressure source (CalcheckSource)
// the controller drives it: attached for the check, set to each point's
// pressure as the point comes up, its ammeter read live; detached when the
// check ends or its window closes. Knows nothing of widgets.
class CalcheckController : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<qint64()>; // monotonic milliseconds
    static constexpr const char *ReadSequence = "ReadCheckValues";
    static constexpr int DefaultPollMs = 250;
    static constexpr int AmmeterMs = 250;

    explicit CalcheckController(std::shared_ptr<AppletItemManager> manager,
                                QObject *parent = nullptr);
    ~CalcheckController() override;

    const std::shared_ptr<AppletItemManager> &manager() const { return m_manager; }
    void setClock(Clock clock) { m_clock = std::move(clock); }
    void setPollInterval(int ms) { m_poll.setInterval(ms); }
    void setTimeoutMs(qint64 ms) { m_timeoutMs = ms; }

    QList<CalcheckPoint> points;
    double tolerance = 0.25;

    // Starts a pass (clearing one of the same kind) at its first point.
    void beginRun(CalcheckRun::Kind kind);
    bool isRunActive() const { return m_active.has_value(); }
    bool isMeasuring() const { return m_measuring; }
    // Whether a further read of the device is due.
    bool isPolling() const { return m_poll.isActive(); }
    int pointIndex() const { return m_index; }
    // Where the present point lies, in the range the device reports.
    double nominalPressure() const;
    QString unitText() const;
    // Waits for a stable reading and records it against the reference; a
    // measured current (an ammeter in the loop) counts before the device's own,
    // the source's ammeter before a typed one. With a source the point's
    // pressure is applied first.
    void measure(double reference, std::optional<double> measuredCurrent = std::nullopt);
    void cancel();
    // Ends every request of the check at once: the measurement, and a read
    // under way after the request it has out (the window closes); the
    // source lets the device go.
    void stop();

    const CalcheckRun &run(CalcheckRun::Kind kind) const;
    // Pass only when every as-left point passed.
    bool passed() const { return run(CalcheckRun::Kind::AsLeft).passed(); }
    int stabilityProgress() const { return m_watch.progress(); }

    // The pressure source: whether there is one, with an ammeter; its last
    // current reading.
    bool hasSource() const { return m_source || CalcheckSource::current(); }
    bool hasAmmeter() const;
    std::optional<double> sourceCurrent() const { return m_sourceCurrent; }
    // Attaches the source (once) and sets it to the present point's pressure.
    void applyPressure();
    // Detaches the source: the device sees its process again.
    void releaseSource();

Q_SIGNALS:
    void progressChanged(int percent);
    void pointRecorded(int index);
    void runFinished(CalcheckRun::Kind kind);
    // The point could not be recorded; the run stays incomplete.
    void pointFailed(const QString &message);
    // The device reported its range and unit at the start of a run.
    void rangeRead();
    // The source's ammeter read this current.
    void sourceCurrentRead(double mA);

private:
    CalcheckRun &activeRun();
    void poll();
    bool startRead();
    void takeRange();
    void onSequenceStatus(qint32 status);
    void takeSample();
    void record(double primaryValue, double deviceCurrent);
    void fail(const QString &message);
    bool rangeMatches() const;
    void readAmmeter();

    std::shared_ptr<AppletItemManager> m_manager;
    std::unique_ptr<clsSequenceItem> m_sequence;
    std::unique_ptr<clsRecordItem> m_record;
    std::unique_ptr<clsAppItem> m_pv, m_current, m_unit, m_lower, m_upper;
    std::unique_ptr<clsAppItem> m_datasetLower, m_datasetUpper, m_datasetUnit, m_address;
    Clock m_clock;
    QTimer m_poll;
    qint64 m_timeoutMs = StabilityWatch::DefaultTimeoutMs;
    qint64 m_pointStartMs = 0;
    StabilityWatch m_watch{0.025, 0.05};
    std::optional<CalcheckSource::Source> m_source; // attached
    std::optional<double> m_sourceCurrent;
    QTimer m_ammeter;

    CalcheckRun m_runs[2];
    std::optional<CalcheckRun::Kind> m_active;
    int m_index = 0;
    bool m_measuring = false;
    bool m_reading = false; // a read sequence is under way
    bool m_fresh = false;   // its command 3 answer arrived
    bool m_stale = false;   // and a record of it failed
    double m_reference = 0.0;
    std::optional<double> m_measuredCurrent;
};

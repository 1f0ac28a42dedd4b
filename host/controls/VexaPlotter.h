#pragma once

#include "IVexaFrameworkControl.h"
#include "TrendCadence.h"
#include "TrendRecorder.h"

#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QTimer;
class QToolBar;
class QToolButton;
class TrendCanvas;
class TrendLegend;
class VexaItemBinding;
class VexaLimitSource;

// The framework's trend recorder: four curves, each bound to a measured
// value with its unit and display limits and captioned (all per curve
// index, set while unregistered). Every periodic read of a curve's value
// becomes a sample; a read that fails, or does not come while the curve's
// reads are due at their own pace, becomes a gap, and a value the device
// flags is marked by its status. Samples go to a ring of bounded size and,
// as they come, to the day's recording file.
//
// The picture is redrawn from a timer, at most 25 times a second. The user
// can pause following the newest samples (recording goes on), zoom and pan
// the time axis, read the values under the pointer or a placed cursor, set
// markers with a note at the cursor, and export the samples as a table or
// the picture with the device's tag and the time shown.
class VexaPlotter : public QWidget, public IVexaFrameworkControl
{
    Q_OBJECT
    Q_PROPERTY(QString plottercaption READ plotterCaption WRITE setPlotterCaption)

public:
    static constexpr int CurveCount = TrendRecorder::CurveCount;
    static constexpr int RedrawMs = 40;
    // No read for this long, and for three of the curve's usual intervals,
    // is a gap.
    static constexpr int MissingReadMs = 3000;

    enum class ExportRange
    {
        Memory,    // the samples the ring holds
        Recording, // from the recording files, between from (0: since this
                   // plotter began recording) and to (0: now)
    };

    explicit VexaPlotter(QWidget *parent = nullptr);
    ~VexaPlotter() override;

    Q_INVOKABLE void Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef);
    Q_INVOKABLE void UnRegister();
    void registerItems(const std::shared_ptr<AppletItemManager> &manager) override;
    void unregisterItems() override;
    void updateItems() override;
    bool isRegistered() const { return m_registered; }

    // Per curve (0 to 3).
    Q_INVOKABLE void setObjectNameValue(int index, const QString &name);
    Q_INVOKABLE void setObjectNameUnit(int index, const QString &name);
    Q_INVOKABLE void setObjectNameMin(int index, const QString &text);
    Q_INVOKABLE void setObjectNameMax(int index, const QString &text);
    Q_INVOKABLE void setObjectCaption(int index, const QString &caption);
    Q_INVOKABLE QString ObjectNameValue(int index) const;
    Q_INVOKABLE QString ObjectNameUnit(int index) const;
    Q_INVOKABLE QString ObjectNameMin(int index) const;
    Q_INVOKABLE QString ObjectNameMax(int index) const;
    Q_INVOKABLE QString ObjectCaption(int index) const;
    // The item of the device's tag, for the exported picture.
    Q_INVOKABLE void setObjectNameTag(const QString &name);
    Q_INVOKABLE QString ObjectNameTag() const { return m_tagName; }

    QString plotterCaption() const { return m_caption; }
    void setPlotterCaption(const QString &caption);

    TrendRecorder &recorder() { return m_recorder; }
    const TrendRecorder &recorder() const { return m_recorder; }
    TrendCanvas *canvas() const { return m_canvas; }
    // The recording files' folder; the user's data folder unless set.
    void setRecordingFolder(const QString &folder);
    static QString defaultRecordingFolder();

    bool isPaused() const;
    void pause();
    void resume();
    // At the placed cursor, else at the newest time.
    void addMarker(const QString &note);
    void setAxisCurve(int curve);
    bool exportCsv(const QString &fileName, ExportRange range, qint64 fromMs = 0, qint64 toMs = 0,
                   QString *error = nullptr) const;
    bool exportPicture(const QString &fileName);
    // What the exported picture shows: the heading over the curves and legend.
    QImage picture();
    // The title with the tag, and the date and time span shown.
    QStringList pictureHeading() const;
    // Time and values at the cursor (or the newest), as shown.
    QString readoutText() const;
    QString curveValueText(int curve, qint64 timeMs) const;
    QString unitText(int curve) const;
    static QColor curveColour(int curve);

    QSize sizeHint() const override { return {640, 360}; }

    // Tests run the clock the plotter reads.
    void setClock(std::function<qint64()> clock);
    // Once a second: a curve whose reads stopped gets a gap.
    void checkMissingReads();

Q_SIGNALS:
    void sampled(int curve);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Curve
    {
        QString valueName;
        QString unitName;
        QString caption;
        VexaItemBinding *value = nullptr;
        VexaItemBinding *unit = nullptr;
        VexaLimitSource *minimum = nullptr;
        VexaLimitSource *maximum = nullptr;
        int itemIndex = -1;
        TrendCadence cadence{MissingReadMs};
        bool gapOpen = true;
        int decimals = 3;
    };

    void buildToolBar();
    qint64 now() const;
    void onRead(const QList<int> &items, bool valid, quint8 deviceStatus, qint64 timeMs);
    void scheduleRedraw();
    void redraw();
    void refreshStyles();
    void refreshLegend();
    void chooseExport(ExportRange range);
    void zoom(double factor);
    void chooseExportBetweenMarkers();
    void choosePicture();
    void reportFailure(const QString &text) const;
    bool curveInUse(int curve) const;

    std::array<Curve, CurveCount> m_curves;
    TrendRecorder m_recorder;
    TrendCanvas *m_canvas;
    QToolBar *m_toolBar;
    QAction *m_pauseAction;
    QLineEdit *m_note;
    QLabel *m_time;
    TrendLegend *m_legend = nullptr;
    QTimer *m_redraw;
    QTimer *m_watchdog;
    VexaItemBinding *m_connection;
    VexaItemBinding *m_tag;
    QString m_tagName;
    std::function<qint64()> m_clock;
    qint64 m_lastReadMs = 0; // any read's end, of any item
    // Since when this plotter records: the folder also holds earlier sessions,
    // of other devices too, which are not this recording.
    qint64 m_startedMs = 0;
    std::shared_ptr<AppletItemManager> m_manager;
    int m_readListener = 0;
    QString m_caption;
    bool m_registered = false;
    bool m_paused = false;
};

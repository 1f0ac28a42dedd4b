#pragma once

#include "IVexaFrameworkControl.h"
#include "TrendRecorder.h"

#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QTimer;
class QToolBar;
class QToolButton;
class TrendCanvas;
class VexaItemBinding;
class VexaLimitSource;

// The framework's trend recorder: four curves, each bound to a measured
// value with its unit and display limits and captioned (all per curve
// index, set while unregistered). Every periodic read of a curve's value
// becomes a sample; a read that fails, or does not come, becomes a gap, and
// a value the device flags is marked by its status. Samples go to a ring of
// bounded size and, as they come, to the day's recording file.
//
// The picture is redrawn from a timer, at most 25 times a second. The user
// can pause following the newest samples (recording goes on), zoom and pan
// the time axis, read the values under the pointer, set markers with a
// note, and export the samples as a table or the picture.
class VexaPlotter : public QWidget, public IVexaFrameworkControl
{
    Q_OBJECT
    Q_PROPERTY(QString plottercaption READ plotterCaption WRITE setPlotterCaption)

public:
    static constexpr int CurveCount = TrendRecorder::CurveCount;
    static constexpr int RedrawMs = 40;
    // No read for this long is a gap.
    static constexpr int MissingReadMs = 3000;

    enum class ExportRange
    {
        Memory,    // the samples the ring holds
        Recording, // from the recording files, between from and to
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
    void addMarker(const QString &note);
    bool exportCsv(const QString &fileName, ExportRange range, qint64 fromMs = 0, qint64 toMs = 0,
                   QString *error = nullptr) const;
    bool exportPicture(const QString &fileName);
    // Time and values at the cursor (or the newest), as shown.
    QString readoutText() const;
    QString curveValueText(int curve, qint64 timeMs) const;
    QString unitText(int curve) const;
    static QColor curveColour(int curve);

    QSize sizeHint() const override { return {640, 360}; }

Q_SIGNALS:
    void sampled(int curve);

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
        qint64 lastReadMs = 0; // wall clock of the last read outcome
        bool gapOpen = true;
        int decimals = 3;
    };

    void buildToolBar();
    void buildLegend();
    void onRead(const QList<int> &items, bool valid, quint8 deviceStatus, qint64 timeMs);
    void checkMissingReads();
    void scheduleRedraw();
    void redraw();
    void refreshStyles();
    void refreshLegend();
    void chooseExport();
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
    std::array<QToolButton *, CurveCount> m_legend{};
    QTimer *m_redraw;
    QTimer *m_watchdog;
    VexaItemBinding *m_connection;
    std::shared_ptr<AppletItemManager> m_manager;
    int m_readListener = 0;
    QString m_caption;
    bool m_registered = false;
    bool m_paused = false;
};

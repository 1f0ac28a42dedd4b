#include "VexaPlotter.h"

#include "FileChooser.h"
#include "ItemStore.h"
#include "MessageBoxSeam.h"
#include "TrendCanvas.h"
#include "TrendExportRangeDialog.h"
#include "TrendLegend.h"
#include "TrendPicture.h"
#include "VexAppletItemManager.h"
#include "VexaDisplayTexts.h"
#include "VexaItemBinding.h"
#include "VexaLimitSource.h"
#include "VexaScale.h"

#include <QAction>
#include <QDateTime>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

using T = VexaDisplayTexts;

QString timeText(qint64 timeMs)
{
    return QDateTime::fromMSecsSinceEpoch(timeMs).toString(QStringLiteral("HH:mm:ss"));
}

} // namespace

VexaPlotter::VexaPlotter(QWidget *parent)
    : QWidget(parent), m_canvas(new TrendCanvas(m_recorder, this)), m_toolBar(new QToolBar(this)),
      m_pauseAction(nullptr), m_note(new QLineEdit(this)), m_time(new QLabel(this)),
      m_redraw(new QTimer(this)), m_watchdog(new QTimer(this)),
      m_connection(new VexaItemBinding(this)), m_tag(new VexaItemBinding(this)),
      m_clock([] { return QDateTime::currentMSecsSinceEpoch(); })
{
    for (Curve &curve : m_curves) {
        curve.value = new VexaItemBinding(this);
        curve.unit = new VexaItemBinding(this);
        curve.minimum = new VexaLimitSource(this);
        curve.maximum = new VexaLimitSource(this);
        connect(curve.unit, &VexaItemBinding::changed, this, &VexaPlotter::refreshStyles);
        connect(curve.minimum, &VexaLimitSource::changed, this, &VexaPlotter::refreshStyles);
        connect(curve.maximum, &VexaLimitSource::changed, this, &VexaPlotter::refreshStyles);
    }
    connect(m_connection, &VexaItemBinding::changed, this, &VexaPlotter::scheduleRedraw);
    m_redraw->setSingleShot(true);
    m_redraw->setInterval(RedrawMs);
    connect(m_redraw, &QTimer::timeout, this, &VexaPlotter::redraw);
    m_watchdog->setInterval(1000);
    connect(m_watchdog, &QTimer::timeout, this, &VexaPlotter::checkMissingReads);
    m_watchdog->start();

    buildToolBar();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_canvas, 1);
    m_legend =
        new TrendLegend({curveColour(0), curveColour(1), curveColour(2), curveColour(3)}, this);
    layout->addWidget(m_legend);
    connect(m_legend, &TrendLegend::curveChosen, this, &VexaPlotter::setAxisCurve);
    connect(m_canvas, &TrendCanvas::cursorMoved, this, &VexaPlotter::refreshLegend);
    connect(m_canvas, &TrendCanvas::axisClicked, this, [this] {
        // On to the next curve in use.
        for (int step = 1; step <= CurveCount; ++step) {
            const int c = (m_canvas->axisCurve() + step) % CurveCount;
            if (curveInUse(c)) {
                setAxisCurve(c);
                return;
            }
        }
    });
    m_canvas->setAxisHint(T::text(T::AxisHint));
    connect(m_canvas, &TrendCanvas::viewChanged, this, [this] {
        if (m_canvas->view().live)
            resume();
        else
            pause();
    });
    m_recorder.setRecordingFolder(defaultRecordingFolder());
    m_startedMs = now();
    m_canvas->follow(now());
}

VexaPlotter::~VexaPlotter()
{
    unregisterItems();
}

qint64 VexaPlotter::now() const
{
    return m_clock();
}

void VexaPlotter::setClock(std::function<qint64()> clock)
{
    m_clock = std::move(clock);
    m_startedMs = now();
    m_canvas->follow(now());
}

QString VexaPlotter::defaultRecordingFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/trend");
}

void VexaPlotter::setRecordingFolder(const QString &folder)
{
    m_recorder.setRecordingFolder(folder);
}

QColor VexaPlotter::curveColour(int curve)
{
    static const QColor colours[CurveCount] = {QColor(0x1F, 0x5F, 0xC0), QColor(0x20, 0x90, 0x30),
                                               QColor(0x80, 0x40, 0xB0), QColor(0x00, 0x90, 0x98)};
    return colours[curve & 3];
}

void VexaPlotter::buildToolBar()
{
    m_toolBar->setIconSize(QSize(12, 12));
    m_pauseAction = m_toolBar->addAction(T::text(T::Pause), this, [this] {
        if (m_paused)
            resume();
        else
            pause();
    });
    m_pauseAction->setObjectName(QStringLiteral("pause"));
    m_toolBar->addAction(T::text(T::ZoomIn), this, [this] { zoom(0.5); });
    m_toolBar->addAction(T::text(T::ZoomOut), this, [this] { zoom(2.0); });
    m_toolBar->addSeparator();
    m_note->setPlaceholderText(T::text(T::MarkerNote));
    m_note->setMaximumWidth(180);
    m_toolBar->addWidget(m_note);
    QAction *marker = m_toolBar->addAction(T::text(T::Marker), this, [this] {
        addMarker(m_note->text());
        m_note->clear();
    });
    marker->setObjectName(QStringLiteral("marker"));
    marker->setToolTip(T::text(T::MarkerTooltip));
    m_note->setToolTip(T::text(T::MarkerTooltip));
    m_toolBar->addSeparator();
    auto *exportButton = new QToolButton(m_toolBar);
    exportButton->setText(T::text(T::ExportCsv));
    exportButton->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(exportButton);
    menu->addAction(T::text(T::SamplesInMemory), this,
                    [this] { chooseExport(ExportRange::Memory); });
    menu->addAction(T::text(T::WholeRecording), this,
                    [this] { chooseExport(ExportRange::Recording); });
    menu->addAction(T::text(T::BetweenMarkers), this, &VexaPlotter::chooseExportBetweenMarkers);
    exportButton->setMenu(menu);
    m_toolBar->addWidget(exportButton);
    m_toolBar->addAction(T::text(T::ExportPicture), this, &VexaPlotter::choosePicture);
    auto *spacer = new QWidget(m_toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolBar->addWidget(spacer);
    m_toolBar->addWidget(m_time);
}

// ---------------------------------------------------------------- properties

void VexaPlotter::setObjectNameValue(int index, const QString &name)
{
    if (index >= 0 && index < CurveCount)
        m_curves[index].valueName = name;
}
void VexaPlotter::setObjectNameUnit(int index, const QString &name)
{
    if (index >= 0 && index < CurveCount)
        m_curves[index].unitName = name;
}
void VexaPlotter::setObjectNameMin(int index, const QString &text)
{
    if (index >= 0 && index < CurveCount)
        m_curves[index].minimum->setText(text);
}
void VexaPlotter::setObjectNameMax(int index, const QString &text)
{
    if (index >= 0 && index < CurveCount)
        m_curves[index].maximum->setText(text);
}
void VexaPlotter::setObjectCaption(int index, const QString &caption)
{
    if (index >= 0 && index < CurveCount)
        m_curves[index].caption = caption;
}
QString VexaPlotter::ObjectNameValue(int index) const
{
    return index >= 0 && index < CurveCount ? m_curves[index].valueName : QString();
}
QString VexaPlotter::ObjectNameUnit(int index) const
{
    return index >= 0 && index < CurveCount ? m_curves[index].unitName : QString();
}
QString VexaPlotter::ObjectNameMin(int index) const
{
    return index >= 0 && index < CurveCount ? m_curves[index].minimum->text() : QString();
}
QString VexaPlotter::ObjectNameMax(int index) const
{
    return index >= 0 && index < CurveCount ? m_curves[index].maximum->text() : QString();
}
QString VexaPlotter::ObjectCaption(int index) const
{
    return index >= 0 && index < CurveCount ? m_curves[index].caption : QString();
}
void VexaPlotter::setObjectNameTag(const QString &name)
{
    m_tagName = name;
}

void VexaPlotter::setPlotterCaption(const QString &caption)
{
    m_caption = caption;
    setToolTip(caption);
}

// ---------------------------------------------------------------- binding

void VexaPlotter::Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef)
{
    registerItems(AppletItemManagerRef);
}

void VexaPlotter::UnRegister()
{
    unregisterItems();
}

bool VexaPlotter::curveInUse(int curve) const
{
    return !m_curves[curve].valueName.isEmpty();
}

void VexaPlotter::registerItems(const std::shared_ptr<AppletItemManager> &manager)
{
    unregisterItems();
    if (!manager)
        return;
    m_manager = manager;
    auto *host = dynamic_cast<VexAppletItemManager *>(manager.get());
    for (int c = 0; c < CurveCount; ++c) {
        Curve &curve = m_curves[c];
        curve.minimum->bind(manager);
        curve.maximum->bind(manager);
        curve.unit->bind(manager, curve.unitName);
        curve.itemIndex = -1;
        curve.cadence.reset();
        if (!curveInUse(c))
            continue;
        // A live value: read from the device every second.
        curve.value->bind(manager, curve.valueName, 1);
        if (host)
            curve.itemIndex = host->store().indexOf(curve.valueName);
        m_recorder.setCurve(c, {curve.caption, curve.unit->displayText()}, now());
    }
    m_connection->bind(manager, QStringLiteral("&&private&&Connect"));
    if (!m_tagName.isEmpty())
        m_tag->bind(manager, m_tagName);
    if (host) {
        const QPointer<VexaPlotter> self(this);
        m_readListener = host->addReadListener(
            [self](const QList<int> &items, const VexAppletItemManager::ReadOutcome &outcome) {
                if (self)
                    self->onRead(items, outcome.valid, outcome.deviceStatus, outcome.timeMs);
            });
    }
    m_registered = true;
    refreshStyles();
}

void VexaPlotter::unregisterItems()
{
    if (auto *host = dynamic_cast<VexAppletItemManager *>(m_manager.get()); host && m_readListener)
        host->removeReadListener(m_readListener);
    m_readListener = 0;
    for (Curve &curve : m_curves) {
        curve.value->unbind();
        curve.unit->unbind();
        curve.minimum->unbind();
        curve.maximum->unbind();
        curve.itemIndex = -1;
    }
    m_connection->unbind();
    m_tag->unbind();
    m_manager.reset();
    m_registered = false;
}

void VexaPlotter::updateItems()
{
    scheduleRedraw();
}

// ---------------------------------------------------------------- sampling

void VexaPlotter::onRead(const QList<int> &items, bool valid, quint8 deviceStatus, qint64 timeMs)
{
    const qint64 t = now();
    m_lastReadMs = t;
    for (int c = 0; c < CurveCount; ++c) {
        Curve &curve = m_curves[c];
        if (curve.itemIndex < 0 || !items.contains(curve.itemIndex))
            continue;
        curve.cadence.read(timeMs, t);
        TrendSample sample{timeMs, 0.0f, TrendStatus::NoRead};
        const auto value = VexaLimitSource::number(curve.value->hostText());
        if (valid && value) {
            sample.value = float(*value);
            sample.status = TrendStatusText::fromDeviceStatus(deviceStatus);
        }
        // Another record of the same read, or a slow read that ended after
        // the gap the watchdog noted: the recorder keeps one sample a time.
        if (!m_recorder.append(c, sample))
            continue;
        m_startedMs = std::min(m_startedMs, timeMs);
        const TrendRing &ring = m_recorder.ring(c);
        curve.gapOpen = ring.at(ring.size() - 1).isGap();
        Q_EMIT sampled(c);
    }
    scheduleRedraw();
}

void VexaPlotter::checkMissingReads()
{
    const qint64 t = now();
    // Reads still come: a slow round is under way.
    if (t - m_lastReadMs <= MissingReadMs)
        return;
    for (int c = 0; c < CurveCount; ++c) {
        Curve &curve = m_curves[c];
        if (curve.gapOpen || !curve.cadence.overdue(t))
            continue;
        // No read came (not connected, the link busy, the window closed).
        curve.gapOpen = true;
        if (m_recorder.append(c, TrendSample{t, 0.0f, TrendStatus::NoRead}))
            Q_EMIT sampled(c);
        scheduleRedraw();
    }
}

// ---------------------------------------------------------------- drawing

void VexaPlotter::scheduleRedraw()
{
    if (!m_redraw->isActive())
        m_redraw->start();
}

void VexaPlotter::redraw()
{
    if (!m_paused)
        m_canvas->follow(now());
    refreshLegend();
    m_canvas->update();
}

void VexaPlotter::refreshStyles()
{
    for (int c = 0; c < CurveCount; ++c) {
        const Curve &curve = m_curves[c];
        TrendCanvas::CurveStyle style;
        style.colour = curveColour(c);
        style.minimum = curve.minimum->value().value_or(0.0);
        style.maximum = curve.maximum->value().value_or(100.0);
        if (style.maximum == style.minimum)
            style.maximum = style.minimum + 1.0;
        style.shown = curveInUse(c);
        style.caption = curve.caption;
        style.unit = curve.unit->displayText();
        m_canvas->setCurveStyle(c, style);
        // A hundredth of a scale step: the resolution a reading is worth.
        const double step =
            VexaScale::ticks(style.minimum, style.maximum, 0.0, 0.0).majorStep / 100.0;
        m_curves[c].decimals = VexaScale::labelDecimals(VexaScale::roundStep(step));
        if (m_registered && curveInUse(c))
            m_recorder.setCurve(c, {curve.caption, curve.unit->displayText()}, now());
    }
    // The axis shows a curve that is there.
    if (!curveInUse(m_canvas->axisCurve())) {
        for (int c = 0; c < CurveCount; ++c) {
            if (curveInUse(c)) {
                setAxisCurve(c);
                break;
            }
        }
    }
    scheduleRedraw();
}

void VexaPlotter::setAxisCurve(int curve)
{
    if (curve < 0 || curve >= CurveCount)
        return;
    m_canvas->setAxisCurve(curve);
    m_legend->setCurrent(curve);
}

QString VexaPlotter::unitText(int curve) const
{
    return m_curves[curve].unit->displayText();
}

QString VexaPlotter::curveValueText(int curve, qint64 timeMs) const
{
    const TrendRing &ring = m_recorder.ring(curve);
    const int i = ring.lastAtOrBefore(timeMs);
    if (i < 0)
        return T::text(T::NoValue);
    const TrendSample s = ring.at(i);
    // A value holds until the next sample; the newest until its next read is late.
    const bool stale =
        i == ring.size() - 1 && timeMs - s.timeMs > m_curves[curve].cadence.allowanceMs();
    if (s.isGap() || stale)
        return T::text(T::NoValue);
    QString text = VexaScale::valueText(s.value, 12, m_curves[curve].decimals) + QLatin1Char(' ') +
                   unitText(curve);
    if (s.status == TrendStatus::Uncertain)
        text += QStringLiteral(" (") + T::text(T::StatusUncertain) + QLatin1Char(')');
    else if (s.status == TrendStatus::Bad)
        text += QStringLiteral(" (") + T::text(T::StatusBad) + QLatin1Char(')');
    return text;
}

void VexaPlotter::refreshLegend()
{
    const qint64 at = m_canvas->cursorTime().value_or(
        m_paused ? m_canvas->view().endMs : std::max(m_recorder.lastTime(), now() - 1000));
    const bool connected = m_connection->hostText().trimmed() == QLatin1String("2");
    for (int c = 0; c < CurveCount; ++c) {
        const TrendCanvas::CurveStyle &style = m_canvas->curveStyle(c);
        const QString value = curveInUse(c) ? curveValueText(c, at) : QString();
        m_legend->setEntry(c, curveInUse(c), m_curves[c].caption, value,
                           QStringLiteral("%1: %2\n%3 \u2026 %4 %5\n%6")
                               .arg(m_curves[c].caption, value,
                                    VexaScale::label(style.minimum, m_curves[c].decimals),
                                    VexaScale::label(style.maximum, m_curves[c].decimals),
                                    unitText(c), T::text(T::AxisTooltip)));
    }
    QString status = T::text(T::Time) + QLatin1Char(' ') + timeText(at);
    if (m_registered && !connected)
        status += QStringLiteral(" (") + T::text(T::NotConnected) + QLatin1Char(')');
    if (const TrendRecordingFile *file = m_recorder.recordingFile(); file && file->failed())
        status = T::text(T::RecordingFailed).arg(file->errorString());
    m_time->setText(status);
}

void VexaPlotter::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    refreshLegend();
}

QString VexaPlotter::readoutText() const
{
    QStringList parts{m_time->text()};
    for (int c = 0; c < CurveCount; ++c) {
        if (curveInUse(c))
            parts << m_legend->entryToolTip(c).section(QLatin1Char('\n'), 0, 0);
    }
    return parts.join(QStringLiteral("; "));
}

// ---------------------------------------------------------------- user commands

bool VexaPlotter::isPaused() const
{
    return m_paused;
}

void VexaPlotter::pause()
{
    m_paused = true;
    TrendView view = m_canvas->view();
    view.live = false;
    m_canvas->setView(view);
    m_pauseAction->setText(T::text(T::Resume));
    scheduleRedraw();
}

void VexaPlotter::resume()
{
    m_paused = false;
    m_canvas->follow(now());
    m_pauseAction->setText(T::text(T::Pause));
    scheduleRedraw();
}

void VexaPlotter::addMarker(const QString &note)
{
    const qint64 at = m_canvas->placedCursor().value_or(now());
    m_startedMs = std::min(m_startedMs, at);
    m_recorder.addMarker(at, note);
    scheduleRedraw();
}

bool VexaPlotter::exportCsv(const QString &fileName, ExportRange range, qint64 fromMs, qint64 toMs,
                            QString *error) const
{
    // Up to now: a marker set after the newest sample is exported too.
    if (range == ExportRange::Memory)
        return m_recorder.exportToFile(fileName, false, fromMs ? fromMs : m_recorder.firstTime(),
                                       toMs ? toMs : std::max(m_recorder.lastTime(), now()), error);
    return m_recorder.exportToFile(fileName, true, fromMs ? fromMs : m_startedMs,
                                   toMs ? toMs : now(), error);
}

void VexaPlotter::chooseExport(ExportRange range)
{
    const QString file = FileChooser::current().saveFileName(
        this, T::text(T::ExportCsv), QStringLiteral("trend.csv"), T::text(T::CsvFilter));
    QString error;
    if (!file.isEmpty() && !exportCsv(file, range, 0, 0, &error))
        reportFailure(T::text(T::ExportFailed).arg(file, error));
}

void VexaPlotter::zoom(double factor)
{
    TrendView view = m_canvas->view();
    view.zoom(factor, view.endMs);
    view.live = !m_paused;
    m_canvas->setView(view);
    scheduleRedraw();
}

QStringList VexaPlotter::pictureHeading() const
{
    const TrendView &view = m_canvas->view();
    return TrendPicture::heading(m_caption, m_tag->hostText().trimmed(), view.startMs(),
                                 view.endMs);
}

QImage VexaPlotter::picture()
{
    const int top = m_toolBar->geometry().bottom() + 1;
    // How to use the axis is for the screen, not for the picture.
    m_canvas->setAxisHint(QString());
    const QPixmap body = grab(QRect(0, top, width(), height() - top));
    m_canvas->setAxisHint(T::text(T::AxisHint));
    return TrendPicture::compose(body, pictureHeading(), font(), palette());
}

bool VexaPlotter::exportPicture(const QString &fileName)
{
    return picture().save(fileName, "PNG");
}

void VexaPlotter::choosePicture()
{
    const QString file = FileChooser::current().saveFileName(
        this, T::text(T::ExportPicture), QStringLiteral("trend.png"), T::text(T::PictureFilter));
    if (!file.isEmpty() && !exportPicture(file))
        reportFailure(T::text(T::ExportFailed).arg(file, QString()));
}

void VexaPlotter::chooseExportBetweenMarkers()
{
    const auto range = TrendExportRangeDialog::ask(m_recorder.markers(), this);
    if (!range)
        return;
    const QString file = FileChooser::current().saveFileName(
        this, T::text(T::ExportCsv), QStringLiteral("trend.csv"), T::text(T::CsvFilter));
    QString error;
    if (!file.isEmpty() &&
        !exportCsv(file, ExportRange::Recording, range->fromMs, range->toMs, &error))
        reportFailure(T::text(T::ExportFailed).arg(file, error));
}

void VexaPlotter::reportFailure(const QString &text) const
{
    MessageBoxSeam::show(const_cast<VexaPlotter *>(this), QMessageBox::Warning,
                         T::text(T::ExportCsv), text);
}

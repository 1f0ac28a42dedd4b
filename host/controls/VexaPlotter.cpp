#include "VexaPlotter.h"

#include "FileChooser.h"
#include "ItemStore.h"
#include "MessageBoxSeam.h"
#include "TrendCanvas.h"
#include "VexAppletItemManager.h"
#include "VexaDisplayTexts.h"
#include "VexaItemBinding.h"
#include "VexaLimitSource.h"
#include "VexaScale.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QSaveFile>
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

QIcon swatch(const QColor &colour)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(colour);
    return QIcon(pixmap);
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
    buildLegend();
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
    m_toolBar->addAction(T::text(T::ZoomIn), this, [this] {
        TrendView view = m_canvas->view();
        view.zoom(0.5, view.endMs);
        view.live = !m_paused;
        m_canvas->setView(view);
        scheduleRedraw();
    });
    m_toolBar->addAction(T::text(T::ZoomOut), this, [this] {
        TrendView view = m_canvas->view();
        view.zoom(2.0, view.endMs);
        view.live = !m_paused;
        m_canvas->setView(view);
        scheduleRedraw();
    });
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
    menu->addAction(T::text(T::SamplesInMemory), this, [this] {
        const QString file = FileChooser::current().saveFileName(
            this, T::text(T::ExportCsv), QStringLiteral("trend.csv"), T::text(T::CsvFilter));
        QString error;
        if (!file.isEmpty() && !exportCsv(file, ExportRange::Memory, 0, 0, &error))
            reportFailure(T::text(T::ExportFailed).arg(file, error));
    });
    menu->addAction(T::text(T::WholeRecording), this, [this] {
        const QString file = FileChooser::current().saveFileName(
            this, T::text(T::ExportCsv), QStringLiteral("trend.csv"), T::text(T::CsvFilter));
        QString error;
        if (!file.isEmpty() && !exportCsv(file, ExportRange::Recording, 0, 0, &error))
            reportFailure(T::text(T::ExportFailed).arg(file, error));
    });
    menu->addAction(T::text(T::BetweenMarkers), this, &VexaPlotter::chooseExportBetweenMarkers);
    exportButton->setMenu(menu);
    m_toolBar->addWidget(exportButton);
    m_toolBar->addAction(T::text(T::ExportPicture), this, &VexaPlotter::choosePicture);
    auto *spacer = new QWidget(m_toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolBar->addWidget(spacer);
    m_toolBar->addWidget(m_time);
}

void VexaPlotter::buildLegend()
{
    // Two rows of two, so that a name and its value fit a small window.
    auto *row = new QGridLayout;
    row->setContentsMargins(4, 0, 4, 2);
    row->setHorizontalSpacing(8);
    row->setVerticalSpacing(0);
    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    for (int c = 0; c < CurveCount; ++c) {
        auto *button = new QToolButton(this);
        button->setCheckable(true);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setIcon(swatch(curveColour(c)));
        button->setAutoRaise(true);
        button->setVisible(false);
        button->setChecked(c == 0);
        group->addButton(button, c);
        connect(button, &QToolButton::clicked, this, [this, c] { setAxisCurve(c); });
        row->addWidget(button, c / 2, c % 2, Qt::AlignLeft);
        m_legend[c] = button;
    }
    row->setColumnStretch(1, 1);
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
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
    m_legend[curve]->setChecked(true);
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
        QToolButton *button = m_legend[c];
        button->setVisible(curveInUse(c));
        if (!curveInUse(c))
            continue;
        const QString value = curveValueText(c, at);
        button->setText(
            legendText(m_curves[c].caption, value, button->fontMetrics(), legendWidth()));
        const TrendCanvas::CurveStyle &style = m_canvas->curveStyle(c);
        button->setToolTip(QStringLiteral("%1: %2\n%3 … %4 %5\n%6")
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

int VexaPlotter::legendWidth() const
{
    // Half the width, less the swatch, its gap and the button's margins.
    return std::max(80, (width() - 8) / 2 - 8 - 36);
}

QString VexaPlotter::legendText(const QString &caption, const QString &value,
                                const QFontMetrics &metrics, int width)
{
    // The name gives way, never the value: a number cut short reads as another.
    const QString separator = QStringLiteral(": ");
    const int room = width - metrics.horizontalAdvance(separator + value);
    const QString name = metrics.elidedText(caption, Qt::ElideRight, std::max(0, room));
    return name.isEmpty() ? value : name + separator + value;
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
            parts << m_legend[c]->toolTip().section(QLatin1Char('\n'), 0, 0);
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
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    bool ok = false;
    // Up to now: a marker set after the newest sample is exported too.
    if (range == ExportRange::Memory)
        ok = m_recorder.exportMemory(file, fromMs ? fromMs : m_recorder.firstTime(),
                                     toMs ? toMs : std::max(m_recorder.lastTime(), now()));
    else
        ok = m_recorder.exportRecording(file, fromMs ? fromMs : m_startedMs, toMs ? toMs : now());
    if (!ok) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QStringList VexaPlotter::pictureHeading() const
{
    QString title = m_caption;
    const QString tag = m_tag->hostText().trimmed();
    if (!tag.isEmpty())
        title = title.isEmpty() ? tag : title + QStringLiteral(": ") + tag;
    const QLocale locale;
    const auto dateTime = [&](qint64 ms) {
        const QDateTime t = QDateTime::fromMSecsSinceEpoch(ms);
        return locale.toString(t.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
               t.toString(QStringLiteral("HH:mm:ss"));
    };
    const TrendView &view = m_canvas->view();
    const bool oneDay = QDateTime::fromMSecsSinceEpoch(view.startMs()).date() ==
                        QDateTime::fromMSecsSinceEpoch(view.endMs).date();
    const QString span = dateTime(view.startMs()) + QStringLiteral(" – ") +
                         (oneDay ? timeText(view.endMs) : dateTime(view.endMs));
    return title.isEmpty() ? QStringList{span} : QStringList{title, span};
}

QImage VexaPlotter::picture()
{
    const int top = m_toolBar->geometry().bottom() + 1;
    // How to use the axis is for the screen, not for the picture.
    m_canvas->setAxisHint(QString());
    const QPixmap body = grab(QRect(0, top, width(), height() - top));
    m_canvas->setAxisHint(T::text(T::AxisHint));
    const QStringList heading = pictureHeading();
    QFont bold = font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    const QFontMetrics boldMetrics(bold);
    const QFontMetrics metrics = fontMetrics();
    constexpr int Pad = 6;
    const int headingHeight =
        Pad + boldMetrics.height() + int(heading.size() - 1) * metrics.height() + Pad;
    const qreal ratio = body.devicePixelRatio();
    QImage image(body.width(), body.height() + int(std::ceil(headingHeight * ratio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(palette().color(QPalette::Window));
    QPainter p(&image);
    p.setPen(palette().color(QPalette::WindowText));
    int baseline = Pad + boldMetrics.ascent();
    for (qsizetype i = 0; i < heading.size(); ++i) {
        const QFontMetrics &m = i == 0 ? boldMetrics : metrics;
        p.setFont(i == 0 ? bold : font());
        p.drawText(QPointF(Pad, baseline),
                   m.elidedText(heading[i], Qt::ElideRight, width() - 2 * Pad));
        baseline += i == 0 ? boldMetrics.descent() + metrics.ascent() : metrics.height();
    }
    p.drawPixmap(QPointF(0, headingHeight), body);
    return image;
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
    QDialog dialog(this);
    dialog.setWindowTitle(T::text(T::ExportTitle));
    auto *from = new QComboBox(&dialog);
    auto *to = new QComboBox(&dialog);
    from->addItem(T::text(T::StartOfRecording), QVariant::fromValue(qint64(0)));
    for (const TrendRecorder::Marker &marker : m_recorder.markers()) {
        const QString text = timeText(marker.timeMs) + QLatin1Char(' ') + marker.note;
        from->addItem(text, QVariant::fromValue(marker.timeMs));
        to->addItem(text, QVariant::fromValue(marker.timeMs));
    }
    to->addItem(T::text(T::Now), QVariant::fromValue(qint64(0)));
    to->setCurrentIndex(to->count() - 1);
    auto *form = new QFormLayout(&dialog);
    form->addRow(T::text(T::From), from);
    form->addRow(T::text(T::To), to);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString file = FileChooser::current().saveFileName(
        this, T::text(T::ExportCsv), QStringLiteral("trend.csv"), T::text(T::CsvFilter));
    QString error;
    if (!file.isEmpty() &&
        !exportCsv(file, ExportRange::Recording, from->currentData().toLongLong(),
                   to->currentData().toLongLong(), &error))
        reportFailure(T::text(T::ExportFailed).arg(file, error));
}

void VexaPlotter::reportFailure(const QString &text) const
{
    MessageBoxSeam::show(const_cast<VexaPlotter *>(this), QMessageBox::Warning,
                         T::text(T::ExportCsv), text);
}

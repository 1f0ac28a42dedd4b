#include "MainChildWindows.h"

#include "ChildWindowPlacement.h"
#include "IVexaForm.h"
#include "MessageBoxSeam.h"
#include "Toolkit_LoadResource.h"
#include "frmMain.h"
#include "global.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QStyle>
#include <algorithm>

MainChildWindows::MainChildWindows(QMenu *windowMenu, QWidget *parent)
    : QObject(parent), m_area(new QMdiArea(parent)), m_windowMenu(windowMenu)
{
    m_area->setObjectName(QStringLiteral("mdiArea"));
    m_area->viewport()->installEventFilter(this);
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainChildWindows::listInWindowMenu);
    const auto changed = [this] { Q_EMIT clipboardTargetChanged(); };
    connect(m_area, &QMdiArea::subWindowActivated, this, changed);
    connect(qApp, &QApplication::focusChanged, this, changed);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, changed);
}

MainCommand MainChildWindows::opener(const char *kind, std::function<QWidget *()> make,
                                     ChildWindowOptions options)
{
    return [kind, make = std::move(make), options](frmMain &main) {
        const bool ask = options.questionId != 0 &&
                         (!options.questionNeeded ||
                          options.questionNeeded(
                              options.several ? nullptr : main.childWindows().existing(kind)));
        if (ask &&
            MessageBoxSeam::show(&main, QMessageBox::Warning, GetResText(options.questionTitleId),
                                 GetResText(options.questionId),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::No)
            return;
        if (options.readRangeValues)
            main.ReadRangeValuesOnce();
        QWidget *window = nullptr;
        if (options.several) {
            window = make();
            window->setAttribute(Qt::WA_DeleteOnClose);
        } else {
            window = main.childWindows().instance(kind, make);
        }
        main.ShowChildForm(window);
    };
}

QWidget *MainChildWindows::instance(const char *kind, const std::function<QWidget *()> &make)
{
    QPointer<QWidget> &window = m_instances[QLatin1String(kind)];
    if (!window)
        window = make();
    return window;
}

QWidget *MainChildWindows::existing(const char *kind) const
{
    return m_instances.value(QLatin1String(kind));
}

void MainChildWindows::ShowChildForm(QWidget *dialog, IViewEx *view)
{
    if (!dialog)
        return;
    if (auto *form = dynamic_cast<IVexaForm *>(dialog))
        form->setViewRef(view);
    auto *frame = qobject_cast<QMdiSubWindow *>(dialog->parentWidget());
    if (!frame || frame->mdiArea() != m_area) {
        // A window that chose its size keeps it; the frame would otherwise
        // take the layout's least size.
        const QSize chosen = dialog->testAttribute(Qt::WA_Resized) ? dialog->size() : QSize();
        frame = m_area->addSubWindow(dialog);
        if (chosen.isValid())
            frame->resize(chosen.grownBy(frame->contentsMargins())
                              .boundedTo(m_area->viewport()->size())
                              .expandedTo(frame->minimumSizeHint()));
        // A dialog kept as the one instance survives its closing; one made
        // per command (the digital display) asks to be deleted.
        frame->setAttribute(Qt::WA_DeleteOnClose, dialog->testAttribute(Qt::WA_DeleteOnClose));
        frame->installEventFilter(this);
        // Each new window a step below the one before, not all on one spot;
        // a place the user left it in before is restored as it loads.
        frame->move(ChildWindowPlacement::cascadePosition(
            m_opened++, frame->size(), m_area->viewport()->size(), titleHeight()));
    }
    dialog->show();
    frame->showNormal();
    keepInside(frame);
    m_area->setActiveSubWindow(frame);
    dialog->setFocus();
}

int MainChildWindows::titleHeight() const
{
    return m_area->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, m_area) +
           m_area->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, m_area);
}

void MainChildWindows::keepInside(QMdiSubWindow *frame) const
{
    if (!frame || !frame->isVisible() || frame->isMaximized() || frame->isMinimized())
        return;
    const QSize area = m_area->viewport()->size();
    const QRect inside = ChildWindowPlacement::keepInside(frame->geometry(), area, titleHeight());
    if (inside.topLeft() != frame->pos())
        frame->move(inside.topLeft());
}

void MainChildWindows::closeActive()
{
    m_area->closeActiveSubWindow();
}

void MainChildWindows::UpdateAllDialogs()
{
    for (QMdiSubWindow *frame : m_area->subWindowList()) {
        if (auto *form = dynamic_cast<IVexaForm *>(frame->widget()))
            form->UpdateVexaControls();
    }
}

bool MainChildWindows::UnloadChildForms()
{
    for (QMdiSubWindow *frame : m_area->subWindowList())
        frame->close();
    m_waitingForClose = anyOpen();
    return !m_waitingForClose;
}

bool MainChildWindows::anyOpen() const
{
    const QList<QMdiSubWindow *> frames = m_area->subWindowList();
    return std::any_of(frames.begin(), frames.end(),
                       [](const QMdiSubWindow *frame) { return frame->isVisible(); });
}

void MainChildWindows::cascade()
{
    m_area->cascadeSubWindows();
}

void MainChildWindows::tile(Qt::Orientation orientation)
{
    QList<QMdiSubWindow *> shown;
    QList<QSize> minimums;
    for (QMdiSubWindow *frame : m_area->subWindowList()) {
        if (frame->isVisible() && !frame->isMinimized()) {
            shown.append(frame);
            minimums.append(frame->minimumSizeHint().expandedTo(frame->minimumSize()));
        }
    }
    if (shown.isEmpty())
        return;
    const QList<QRect> tiles =
        ChildWindowPlacement::tile(m_area->viewport()->size(), minimums, orientation);
    // Too many for the area: overlapped, but every text still whole.
    if (tiles.isEmpty()) {
        cascade();
        return;
    }
    for (qsizetype i = 0; i < shown.size(); ++i) {
        shown[i]->showNormal();
        shown[i]->setGeometry(tiles[i]);
    }
}

QWidget *MainChildWindows::activeControl() const
{
    QMdiSubWindow *frame = m_area->currentSubWindow();
    return frame && frame->widget() ? frame->widget()->focusWidget() : nullptr;
}

namespace {

QString controlText(const QWidget *control)
{
    if (!control)
        return QString();
    if (const auto *field = qobject_cast<const QLineEdit *>(control);
        field && field->hasSelectedText())
        return field->selectedText();
    return control->property("text").toString();
}

// A field the user types into, open for typing now.
bool takesText(const QWidget *control)
{
    return control && control->isEnabled() && control->testAttribute(Qt::WA_InputMethodEnabled) &&
           control->property("text").isValid() && !control->property("readOnly").toBool();
}

} // namespace

bool MainChildWindows::canCopy() const
{
    return !controlText(activeControl()).isEmpty();
}

bool MainChildWindows::canPaste() const
{
    return takesText(activeControl()) && !QGuiApplication::clipboard()->text().isEmpty();
}

// A missing window, a control without a text or an empty clipboard do nothing.
void MainChildWindows::copyFromActiveControl()
{
    const QString text = controlText(activeControl());
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void MainChildWindows::pasteIntoActiveControl()
{
    QWidget *control = activeControl();
    const QString text = QGuiApplication::clipboard()->text();
    if (!takesText(control) || text.isEmpty())
        return;
    control->setProperty("text", text);
}

void MainChildWindows::listInWindowMenu()
{
    for (QAction *old : std::as_const(m_listed)) {
        m_windowMenu->removeAction(old);
        old->deleteLater();
    }
    m_listed.clear();
    const QList<QMdiSubWindow *> frames = m_area->subWindowList();
    if (frames.isEmpty())
        return;
    m_listed.append(m_windowMenu->addSeparator());
    int number = 1;
    for (QMdiSubWindow *frame : frames) {
        QAction *entry = m_windowMenu->addAction(
            QStringLiteral("&%1 %2").arg(number++).arg(frame->widget()->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(frame == m_area->currentSubWindow());
        connect(entry, &QAction::triggered, this, [this, frame = QPointer<QMdiSubWindow>(frame)] {
            if (frame)
                m_area->setActiveSubWindow(frame);
        });
        m_listed.append(entry);
    }
}

QString MainChildWindows::BackgroundResource(int desktopWidth)
{
    const int width = desktopWidth < 800    ? 640
                      : desktopWidth < 1024 ? 800
                      : desktopWidth < 1280 ? 1024
                      : desktopWidth < 1600 ? 1280
                                            : 1600;
    return QStringLiteral(":/pictures/BACKGROUND%1.svg").arg(width);
}

void MainChildWindows::chooseBackground(const QScreen *screen)
{
    const int width = screen ? screen->availableGeometry().width() : 1024;
    m_background = BackgroundResource(width);
    m_backgroundSize = QSize();
    m_area->viewport()->update();
}

// Drawn at the area's size, so that the picture covers it whatever its size,
// and only when the area paints: at start the window's parts (the docked
// summary as it fills) change that size more than once before anything shows.
void MainChildWindows::drawBackground()
{
    const QSize size = m_area->viewport()->size();
    if (m_background.isEmpty() || size.isEmpty() || size == m_backgroundSize)
        return;
    const QPixmap picture = LoadJpegResource(m_background, size);
    if (picture.isNull())
        return;
    m_backgroundSize = size;
    m_area->setBackground(QBrush(picture));
}

bool MainChildWindows::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_area->viewport()) {
        if (event->type() == QEvent::Paint)
            drawBackground();
        // The area shrank (the docked summary widened, the window got
        // smaller): no window's title bar is left outside it.
        if (event->type() == QEvent::Resize) {
            for (QMdiSubWindow *frame : m_area->subWindowList())
                keepInside(frame);
        }
    } else if (event->type() == QEvent::Move || event->type() == QEvent::Show) {
        keepInside(qobject_cast<QMdiSubWindow *>(watched));
    } else if (event->type() == QEvent::Hide && m_waitingForClose) {
        // Told once the hiding is over, not from inside it.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_waitingForClose && !anyOpen()) {
                    m_waitingForClose = false;
                    Q_EMIT allClosed();
                }
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

#include "global.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImageReader>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <memory>
#include <optional>

namespace {

constexpr int RightMarginTwips = 300;
constexpr int BottomMarginTwips = 2000;
constexpr int FallbackOffsetTwips = 50;

QPointer<QWidget> &mainWindowRef()
{
    static QPointer<QWidget> window;
    return window;
}

// Per user, under the application's title, section "Settings".
std::unique_ptr<QSettings> settingsStore()
{
    const QString title = QCoreApplication::applicationName();
    const QString organization = QCoreApplication::organizationName();
    auto settings = std::make_unique<QSettings>(
        QSettings::UserScope, organization.isEmpty() ? title : organization, title);
    settings->beginGroup(QStringLiteral("Settings"));
    return settings;
}

// What is placed: the sub-window frame of a dialog inside the main window's
// document area, otherwise the window itself.
QWidget *placed(QWidget *window)
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
        return frame;
    return window;
}

QSize mainWindowSize(const QWidget *target)
{
    if (const QWidget *main = MainWindow())
        return main->size();
    if (!target->isWindow() && target->parentWidget())
        return target->parentWidget()->size();
    const QScreen *screen = target->screen();
    return screen ? screen->availableGeometry().size() : QSize();
}

// A stored number, or nothing when it is missing or is no number (a damaged
// store must not keep a dialog from opening).
std::optional<int> storedNumber(const QSettings &settings, const QString &name)
{
    bool ok = false;
    const int value = settings.value(name).toString().trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

void SetMainWindow(QWidget *mainWindow)
{
    mainWindowRef() = mainWindow;
}

QWidget *MainWindow()
{
    return mainWindowRef();
}

void EnableMainWindow(bool enable)
{
    if (enable) {
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    } else if (!QApplication::overrideCursor()) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
    }
    QWidget *main = MainWindow();
    if (!main)
        return;
    // A disabled window loses its focus; enabled again, Qt would give it to
    // the first control that takes it and bring that control's child window
    // to the front. The user's window and field get it back instead.
    static QPointer<QMdiSubWindow> activeWindow;
    static QPointer<QWidget> focused;
    auto *area = main->findChild<QMdiArea *>();
    if (!enable && main->isEnabled()) {
        // Current, not active: a message box that just asked leaves the main
        // window inactive, and then no child window counts as active.
        activeWindow = area ? area->currentSubWindow() : nullptr;
        focused = main->focusWidget();
    }
    const bool wasEnabled = main->isEnabled();
    main->setEnabled(enable);
    if (enable && !wasEnabled) {
        if (area && activeWindow && activeWindow->isVisible())
            area->setActiveSubWindow(activeWindow);
        if (focused && focused->isVisible() && focused->isEnabled())
            focused->setFocus(Qt::OtherFocusReason);
        activeWindow = nullptr;
        focused = nullptr;
    }
}

QString WindowSettingKey(QWidget *window)
{
    return window->objectName() + QLatin1Char('_') + window->windowTitle();
}

QRect ClampPlacement(const QRect &stored, const QSize &mainWindow, double pixelsPerTwip)
{
    const auto px = [pixelsPerTwip](int twips) { return int(twips * pixelsPerTwip + 0.5); };
    QRect placement = stored;
    if (stored.left() + stored.width() > mainWindow.width() - px(RightMarginTwips))
        placement.moveLeft(px(FallbackOffsetTwips));
    if (stored.top() + stored.height() > mainWindow.height() - px(BottomMarginTwips))
        placement.moveTop(px(FallbackOffsetTwips));
    return placement;
}

void RestoreWindowPlacement(QWidget *window, bool withWidth, bool withHeight)
{
    QWidget *target = placed(window);
    const QString key = WindowSettingKey(window);
    const auto store = settingsStore();
    const QSettings &settings = *store;
    // Never placed before: it stays where it was opened.
    QRect stored(storedNumber(settings, key + QLatin1String("Left")).value_or(target->x()),
                 storedNumber(settings, key + QLatin1String("Top")).value_or(target->y()),
                 target->width(), target->height());
    // Without a stored size the window keeps its design size.
    if (withWidth)
        stored.setWidth(
            storedNumber(settings, key + QLatin1String("Width")).value_or(stored.width()));
    if (withHeight)
        stored.setHeight(
            storedNumber(settings, key + QLatin1String("Height")).value_or(stored.height()));
    const QRect placement =
        ClampPlacement(stored, mainWindowSize(target), target->logicalDpiX() / 1440.0);
    target->move(placement.topLeft());
    if (withWidth || withHeight)
        target->resize(placement.size());
}

void SaveWindowPlacement(QWidget *window, bool withWidth, bool withHeight)
{
    QWidget *target = placed(window);
    if (target->isMinimized() || window->isMinimized())
        return;
    const QString key = WindowSettingKey(window);
    const auto store = settingsStore();
    QSettings &settings = *store;
    settings.setValue(key + QLatin1String("Left"), QString::number(target->x()));
    settings.setValue(key + QLatin1String("Top"), QString::number(target->y()));
    if (withWidth)
        settings.setValue(key + QLatin1String("Width"), QString::number(target->width()));
    if (withHeight)
        settings.setValue(key + QLatin1String("Height"), QString::number(target->height()));
}

QRect FitOnScreen(const QRect &wanted, const QList<QRect> &screenAreas)
{
    if (screenAreas.isEmpty())
        return wanted;
    QRect area = screenAreas.first();
    qint64 best = 0;
    for (const QRect &candidate : screenAreas) {
        const QRect overlap = candidate.intersected(wanted);
        const qint64 size = qint64(overlap.width()) * overlap.height();
        if (size > best) {
            best = size;
            area = candidate;
        }
    }
    QRect placed(QPoint(), wanted.size().boundedTo(area.size()));
    if (best == 0) {
        placed.moveCenter(area.center());
        return placed;
    }
    placed.moveTo(qBound(area.left(), wanted.left(), area.right() - placed.width() + 1),
                  qBound(area.top(), wanted.top(), area.bottom() - placed.height() + 1));
    return placed;
}

QRect DefaultMainPlacement(const QRect &screenArea, const QSize &wanted)
{
    QRect placed(QPoint(),
                 (screenArea.size() * 2 / 3).expandedTo(wanted).boundedTo(screenArea.size()));
    placed.moveCenter(screenArea.center());
    return placed;
}

namespace {

QList<QRect> screenAreas(const QWidget *window)
{
    QList<QRect> areas;
    // The window's own screen first: a window placed nowhere visible goes there.
    if (const QScreen *own = window->screen())
        areas << own->availableGeometry();
    for (const QScreen *screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}

} // namespace

void RestoreMainWindowPlacement(QWidget *mainWindow)
{
    const QList<QRect> areas = screenAreas(mainWindow);
    if (areas.isEmpty())
        return;
    const auto store = settingsStore();
    const double pixelsPerTwip = mainWindow->logicalDpiX() / 1440.0;
    QRect wanted = DefaultMainPlacement(areas.first(), mainWindow->sizeHint());
    const auto stored = [&](const char *name) { return storedNumber(*store, QLatin1String(name)); };
    const auto left = stored("MainLeft"), top = stored("MainTop");
    const auto width = stored("MainWidth"), height = stored("MainHeight");
    if (left && top && width && height && *width > 0 && *height > 0) {
        const auto px = [pixelsPerTwip](int twips) { return qRound(twips * pixelsPerTwip); };
        wanted = QRect(px(*left), px(*top), px(*width), px(*height));
    }
    mainWindow->setGeometry(FitOnScreen(wanted, areas));
}

void SaveMainWindowPlacement(QWidget *mainWindow)
{
    if (mainWindow->isMinimized())
        return;
    const QRect placement = mainWindow->isMaximized() || mainWindow->isFullScreen()
                                ? mainWindow->normalGeometry()
                                : mainWindow->geometry();
    const auto store = settingsStore();
    const double twipsPerPixel = 1440.0 / mainWindow->logicalDpiX();
    const auto twips = [twipsPerPixel](int px) {
        return QString::number(qRound(px * twipsPerPixel));
    };
    store->setValue(QStringLiteral("MainLeft"), twips(placement.x()));
    store->setValue(QStringLiteral("MainTop"), twips(placement.y()));
    store->setValue(QStringLiteral("MainWidth"), twips(placement.width()));
    store->setValue(QStringLiteral("MainHeight"), twips(placement.height()));
}

void PlaceOnScreen(QWidget *window)
{
    QRect wanted(QPoint(), window->size());
    const QWidget *main = MainWindow();
    if (main && main != window && main->isVisible())
        wanted.moveCenter(main->geometry().center());
    else if (const QScreen *screen = window->screen())
        wanted.moveCenter(screen->availableGeometry().center());
    window->setGeometry(FitOnScreen(wanted, screenAreas(window)));
}

QPixmap LoadJpegResource(const QString &resourcePath)
{
    // Qt reads pictures straight from the resources: no temporary file needed.
    return QPixmap(resourcePath);
}

QPixmap LoadJpegResource(const QString &resourcePath, const QSize &cover)
{
    QImageReader reader(resourcePath);
    const QSize natural = reader.size();
    if (!natural.isValid() || cover.isEmpty())
        return QPixmap();
    reader.setScaledSize(natural.scaled(cover, Qt::KeepAspectRatioByExpanding));
    return QPixmap::fromImage(reader.read());
}

void SetTopMost(QWidget *window, bool on)
{
    if (!window)
        return;
    const bool visible = window->isVisible();
    const QRect geometry = window->geometry();
    const bool showWithoutActivating = window->testAttribute(Qt::WA_ShowWithoutActivating);
    // Changing the flags hides the window; show it again as it was.
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    window->setGeometry(geometry);
    if (visible) {
        window->setAttribute(Qt::WA_ShowWithoutActivating, true);
        window->show();
        window->setAttribute(Qt::WA_ShowWithoutActivating, showWithoutActivating);
    }
}

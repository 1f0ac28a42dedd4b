#include "frmSplash.h"

#include "global.h"

#include <QEvent>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {
const QString Picture = QStringLiteral(":/pictures/SPLASH_SCREEN.svg");
}

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    // The picture is drawn when the window is first painted: the main window
    // often loads and closes the splash before that, and drawing it would
    // only make the start slower.
    imgLogo->setFixedSize(QImageReader(Picture).size());
    imgLogo->installEventFilter(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(imgLogo);
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool frmSplash::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == imgLogo && event->type() == QEvent::Paint && !m_pictureLoaded) {
        m_pictureLoaded = true;
        imgLogo->setPixmap(LoadJpegResource(Picture));
    }
    return QWidget::eventFilter(watched, event);
}

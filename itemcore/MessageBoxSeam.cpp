#include "MessageBoxSeam.h"

#include <QApplication>
#include <QGridLayout>
#include <QSpacerItem>

namespace {
MessageBoxSeam *installedSeam = nullptr;
} // namespace

MessageBoxSeam &MessageBoxSeam::current()
{
    static QtMessageBoxSeam real;
    return installedSeam ? *installedSeam : real;
}

void MessageBoxSeam::install(MessageBoxSeam *seam)
{
    installedSeam = seam;
}

MessageBoxSeam *MessageBoxSeam::installed()
{
    return installedSeam;
}

QMessageBox::StandardButton MessageBoxSeam::show(QWidget *parent, QMessageBox::Icon icon,
                                                 const QString &title, const QString &text,
                                                 QMessageBox::StandardButtons buttons,
                                                 bool systemModal)
{
    MessageBoxRequest request;
    request.icon = icon;
    request.title = title.isEmpty() ? QApplication::applicationName() : title;
    request.text = text;
    request.buttons = buttons;
    request.systemModal = systemModal;
    return current().ask(parent, request);
}

QMessageBox::StandardButton QtMessageBoxSeam::ask(QWidget *parent, const MessageBoxRequest &request)
{
    const auto box = build(parent, request);
    return QMessageBox::StandardButton(box->exec());
}

std::unique_ptr<QMessageBox> QtMessageBoxSeam::build(QWidget *parent,
                                                     const MessageBoxRequest &request)
{
    auto box = std::make_unique<QMessageBox>(request.icon, request.title, request.text,
                                             request.buttons, parent);
    if (request.defaultButton != QMessageBox::NoButton)
        box->setDefaultButton(request.defaultButton);
    // "System modal" here: above everything and blocking the whole program.
    box->setWindowModality(request.systemModal ? Qt::ApplicationModal : Qt::WindowModal);
    if (request.systemModal)
        box->setWindowFlag(Qt::WindowStaysOnTopHint);
    // A short question under a long title ("Simulate Current Output Close")
    // would make a box too narrow for its title bar, which then cuts the
    // title off. The box sizes itself, so the room goes in as a spacer.
    const QFontMetrics metrics(titleFont(*box));
    const int titleWidth = metrics.horizontalAdvance(request.title) + titleBarReserve(metrics);
    if (auto *grid = qobject_cast<QGridLayout *>(box->layout()))
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return box;
}

int QtMessageBoxSeam::titleBarReserve(const QFontMetrics &titleFont)
{
    // The icon on the left, three buttons on the right, and their margins.
    return 6 * titleFont.height() + 24;
}

QFont QtMessageBoxSeam::titleFont(const QWidget &box)
{
    QFont font = box.font();
    font.setBold(true);
    return font;
}

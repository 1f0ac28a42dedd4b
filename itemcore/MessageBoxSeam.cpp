#include "MessageBoxSeam.h"

#include <QApplication>

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
    QMessageBox box(request.icon, request.title, request.text, request.buttons, parent);
    if (request.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(request.defaultButton);
    // "System modal" here: above everything and blocking the whole program.
    box.setWindowModality(request.systemModal ? Qt::ApplicationModal : Qt::WindowModal);
    if (request.systemModal)
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return QMessageBox::StandardButton(box.exec());
}

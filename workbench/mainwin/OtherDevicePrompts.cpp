#include "OtherDevicePrompts.h"

#include "ConnectionController.h"
#include "MainWindowLog.h"
#include "MainWindowParts.h"
#include "MessageBoxSeam.h"
#include "VexaAppItem.h"
#include "frmMain.h"

#include <QTimer>

using Condition = ConnectionController::LinkCondition;

OtherDevicePrompts::OtherDevicePrompts(frmMain &main)
    : QObject(&main), m_main(main), m_foreignDevice(new VexaAppItem(&main))
{
    setObjectName(QStringLiteral("OtherDevicePrompts"));
    m_foreignDevice->setObjectName(QStringLiteral("appForeignDevice"));
    m_foreignDevice->setAppItemName(QStringLiteral("&&private&&ForeignDevice"));
    const auto follow = [this](VexaAppItem *item, void (OtherDevicePrompts::*reaction)()) {
        connect(item, &VexaAppItem::ValueChanged, this, [this, reaction](QString &) {
            guarded("other device", [&] { (this->*reaction)(); });
        });
    };
    follow(main.appConnectionStatus, &OtherDevicePrompts::connectionChanged);
    follow(m_foreignDevice, &OtherDevicePrompts::connectionChanged);
    follow(main.appLinkCondition, &OtherDevicePrompts::conditionChanged);
}

bool OtherDevicePrompts::foreignDeviceConnected() const
{
    return qRound(m_main.appConnectionStatus->UIntValue()) == ConnectionController::Connected &&
           qRound(m_foreignDevice->UIntValue()) == 1;
}

void OtherDevicePrompts::connectionChanged()
{
    const int status = qRound(m_main.appConnectionStatus->UIntValue());
    if (status != ConnectionController::Connecting)
        m_otherAsked.clear();
    const bool foreign = foreignDeviceConnected();
    // On the way between two states the menus stay as the last one left them.
    const bool settled =
        status == ConnectionController::Connected || status == ConnectionController::NotConnected;
    if (settled)
        m_main.commandBar().states().foreignDeviceChanged(foreign);
    // Told once a connection; the same device back after a lost link is not news.
    if (status == ConnectionController::NotConnected)
        m_foreignShown = false;
    if (!foreign || m_foreignShown)
        return;
    m_foreignShown = true;
    // This family's windows would show the dataset beside another device.
    m_main.UnloadChildForms();
    QTimer::singleShot(0, this,
                       [this] { guarded("foreign device", [this] { tellForeignDevice(); }); });
}

void OtherDevicePrompts::tellForeignDevice()
{
    if (!foreignDeviceConnected())
        return;
    const QString text = resText(7602).arg(m_main.appLinkMessage->StringValue());
    if (MessageBoxSeam::show(&m_main, QMessageBox::Question, m_main.windowTitle(), text,
                             QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes &&
        foreignDeviceConnected())
        m_main.runMenuCommand(QLatin1String(GenericViewEntry));
}

void OtherDevicePrompts::conditionChanged()
{
    if (qRound(m_main.appLinkCondition->UIntValue()) != int(Condition::OtherDevice) ||
        qRound(m_main.appConnectionStatus->UIntValue()) != ConnectionController::Connecting)
        return;
    // The message is set before the condition and names the device answering.
    const QString message = m_main.appLinkMessage->StringValue();
    if (message == m_otherAsked)
        return;
    m_otherAsked = message;
    QTimer::singleShot(0, this, [this, message] {
        guarded("other device", [&] { askAboutOtherDevice(message); });
    });
}

void OtherDevicePrompts::askAboutOtherDevice(const QString &message)
{
    const auto stillSo = [this, &message] {
        return qRound(m_main.appConnectionStatus->UIntValue()) ==
                   ConnectionController::Connecting &&
               qRound(m_main.appLinkCondition->UIntValue()) == int(Condition::OtherDevice) &&
               m_main.appLinkMessage->StringValue() == message;
    };
    if (!stillSo())
        return;
    // The frame may keep this instance from changing its connection: then
    // there is nothing to choose, and waiting goes on.
    if (!m_main.commandBar().states().connectionChangeAllowed()) {
        MessageBoxSeam::show(&m_main, QMessageBox::Warning, m_main.windowTitle(), message);
        return;
    }
    if (MessageBoxSeam::show(&m_main, QMessageBox::Question, m_main.windowTitle(),
                             resText(7603).arg(message),
                             QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes ||
        !stillSo())
        return;
    // A fresh connect: whoever answers is checked as a device newly connected.
    m_main.runMenuCommand(QStringLiteral("mnuDeviceDisconnect"));
    m_main.runMenuCommand(QStringLiteral("mnuDeviceConnect"));
}

namespace {

const MainWindowParts::Registration part([](frmMain &main) { new OtherDevicePrompts(main); });

} // namespace

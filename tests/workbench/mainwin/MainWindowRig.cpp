#include "MainWindowRig.h"

#include "ConnectionController.h"
#include "DeviceInstance.h"
#include "ItemStore.h"
#include "SequenceEngine.h"
#include "VexAppletItemManager.h"
#include "frame/DeviceFrame.h"
#include "frame/FrameOptions.h"
#include "hart/LinkReconnector.h"
#include "mainwin/frmMain.h"
#include "mainwin/global.h"

#include <QTest>

MainWindowRig::MainWindowRig(const QStringList &arguments)
{
    device.setClock([this] { return m_deviceClockNs; });
    QString error;
    const auto options = FrameOptions::parse(QStringList{"workbench"} + arguments, &error);
    if (!options)
        qFatal("%s", qPrintable(error));
    m_frame = std::make_unique<DeviceFrame>(*options, &m_link);
    if (!m_frame->open(&error))
        qFatal("%s", qPrintable(error));
    instance().engine().setAnswerTimeout(3000);
    m_form = qobject_cast<frmMain *>(MainWindow());
    if (!m_form)
        qFatal("no main window");
    MainWindowCommands commands;
    const auto record = [this](const char *name) {
        return [this, name](QWidget *) { commandsRun << QLatin1String(name); };
    };
    commands.selectDefaultDataset = [this](QWidget *, IViewEx *view) {
        commandsRun << (view ? "selectDefaultDataset" : "no view");
    };
    commands.deviceReset = [this](std::shared_ptr<AppletItemManager> manager,
                                  MainWindowCommands::Reset kind) -> std::shared_ptr<void> {
        commandsRun << (manager ? "deviceReset" : "deviceReset without manager");
        lastReset = kind;
        return std::make_shared<int>(0);
    };
    commands.helpContents = record("helpContents");
    commands.helpIndex = record("helpIndex");
    commands.readMe = record("readMe");
    commands.about = record("about");
    m_form->setCommands(commands);
}

MainWindowRig::~MainWindowRig()
{
    m_frame->close();
}

void MainWindowRig::reconnectAfter(int firstPauseMs, int maxPauseMs)
{
    m_reconnector = std::make_unique<LinkReconnector>(m_link);
    m_reconnector->setPolicy({firstPauseMs, maxPauseMs});
    instance().connection().setReconnector(m_reconnector.get());
}

DeviceInstance &MainWindowRig::instance() const
{
    return *m_frame->instance();
}

void MainWindowRig::set(const QString &item, const QString &value) const
{
    if (!instance().setItemText(item, value))
        qFatal("cannot set %s", qPrintable(item));
}

QString MainWindowRig::text(const QString &item) const
{
    const ItemStore &store = instance().manager()->store();
    return store.text(store.indexOf(item), false);
}

bool MainWindowRig::idle() const
{
    return !instance().engine().isRunning() && text("currentSequence").isEmpty();
}

bool MainWindowRig::connect() const
{
    m_form->runMenuCommand(QStringLiteral("mnuDeviceConnect"));
    return QTest::qWaitFor([this] { return instance().connection().status() == 2 && idle(); },
                           5000);
}

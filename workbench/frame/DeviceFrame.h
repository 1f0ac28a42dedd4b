#pragma once

#include "FrameOptions.h"

#include <QObject>
#include <QStringList>
#include <memory>

class DeviceInstance;
class HartLink;

// Stands in for the frame application: opens one device instance on the
// given link, starts the always-started view and the main view when their
// libraries registered them, applies the command-line options, and closes
// the instance again.
class DeviceFrame : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *StartAlwaysView = "Resident.clsStartAlwaysView";
    static constexpr const char *MainView = "Workbench.clsMainView";
    // The link given to the frame, as an object of the instance: the
    // connection settings and the traffic record reach it by this name.
    static constexpr const char *LinkObject = "Workbench.HartLink";
    // The instance's HART master: the generic view talks to any device
    // through it, past this family's items.
    static constexpr const char *MasterObject = "Workbench.HartMaster";

    DeviceFrame(FrameOptions options, HartLink *link, QObject *parent = nullptr);
    ~DeviceFrame() override;

    bool open(QString *error);
    void close();
    DeviceInstance *instance() const { return m_instance.get(); }
    const FrameOptions &options() const { return m_options; }

Q_SIGNALS:
    // A line for the terminal the program was started from, in English as
    // the rest of its console output (--help, --quit): no window shows it.
    void log(const QString &line);

private:
    void applyOptions();
    void startViews();
    void openDatasetFile();

    FrameOptions m_options;
    HartLink *m_link;
    std::unique_ptr<DeviceInstance> m_instance;
};

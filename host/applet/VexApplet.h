#pragma once

#include "Applet.h"

#include <QPointer>

class DeviceInstance;

// The applet object of one device instance: connection, dataset transfers
// and files, views and sequences, each handed to the instance's part for it.
class VexApplet : public Applet
{
public:
    explicit VexApplet(DeviceInstance *instance);

    qint32 fncConnect(qint32 reserved = 0) override;
    qint32 fncDisconnect(qint32 reserved = 0) override;
    qint32 fncSaveToDevice(qint32 reserved = 0) override;
    qint32 fncSave(qint32 reserved = 0) override;
    qint32 fncStartView(const QString &progId) override;
    qint32 fncStartSequence(const QString &sequenceName) override;
    qint32 fncStartAdjust(const QString &sequenceName) override;
    qint32 fncForceSequence(const QString &sequenceName) override;
    qint32 fncLoadFromFile() override;
    qint32 fncSaveAsToFile() override;
    std::shared_ptr<QObject> fncCreateObject(const QString &progId) override;

    // The sequence that writes the dataset to the device.
    static constexpr const char *DownloadSequence = "DOWNLOAD";

private:
    QPointer<DeviceInstance> m_instance;
};

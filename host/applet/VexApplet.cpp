#include "VexApplet.h"

#include "ConnectionController.h"
#include "DatasetFileService.h"
#include "DeviceInstance.h"
#include "HostResult.h"
#include "ProgIdRegistry.h"
#include "SequenceEngine.h"

VexApplet::VexApplet(DeviceInstance *instance) : m_instance(instance) {}

// Calls after the instance closed find nobody to do the work.
qint32 VexApplet::fncConnect(qint32)
{
    return m_instance ? m_instance->connection().connectDevice() : HostResult::NotConnected;
}

qint32 VexApplet::fncDisconnect(qint32)
{
    return m_instance ? m_instance->connection().disconnectDevice() : HostResult::NotConnected;
}

qint32 VexApplet::fncSaveToDevice(qint32)
{
    return m_instance ? m_instance->engine().start(QLatin1String(DownloadSequence))
                      : HostResult::NotConnected;
}

qint32 VexApplet::fncSave(qint32)
{
    return m_instance ? m_instance->files().save() : HostResult::Refused;
}

qint32 VexApplet::fncStartView(const QString &progId)
{
    return m_instance ? m_instance->startView(progId) : HostResult::UnknownProgId;
}

qint32 VexApplet::fncStartSequence(const QString &sequenceName)
{
    return m_instance ? m_instance->engine().start(sequenceName) : HostResult::UnknownSequence;
}

qint32 VexApplet::fncStartAdjust(const QString &sequenceName)
{
    return m_instance ? m_instance->engine().adjust(sequenceName) : HostResult::UnknownSequence;
}

// A forced start runs the sequence like a plain start: every step, whether
// or not the dataset changed.
qint32 VexApplet::fncForceSequence(const QString &sequenceName)
{
    return fncStartSequence(sequenceName);
}

qint32 VexApplet::fncLoadFromFile()
{
    return m_instance ? m_instance->files().loadFromFile() : HostResult::Refused;
}

qint32 VexApplet::fncSaveAsToFile()
{
    return m_instance ? m_instance->files().saveAs() : HostResult::Refused;
}

std::shared_ptr<QObject> VexApplet::fncCreateObject(const QString &progId)
{
    if (m_instance) {
        if (std::shared_ptr<QObject> own = m_instance->object(progId))
            return own;
    }
    return ProgIdRegistry::instance().createObject(progId);
}

#include "VexApplet.h"

#include "Dictionary.h"
#include "HostResult.h"
#include "VexAppletItemManager.h"

VexApplet::VexApplet(std::weak_ptr<VexAppletItemManager> manager) : m_manager(std::move(manager))
{
}

bool VexApplet::knowsSequence(const QString &name) const
{
    const auto manager = m_manager.lock();
    if (!manager)
        return false;
    qint32 id = 0, rc = 0;
    manager->fncGetDictionary()->fncFindObject(QStringLiteral("Sequence"), name, id, rc);
    return rc == 0;
}

// Without a device link nothing can be connected or transferred.
qint32 VexApplet::fncConnect(qint32)
{
    return HostResult::NotConnected;
}

qint32 VexApplet::fncDisconnect(qint32)
{
    return HostResult::NotConnected;
}

qint32 VexApplet::fncSaveToDevice(qint32)
{
    return HostResult::NotConnected;
}

qint32 VexApplet::fncSave(qint32)
{
    return HostResult::Refused;
}

qint32 VexApplet::fncStartView(const QString &)
{
    return HostResult::UnknownProgId;
}

qint32 VexApplet::fncStartSequence(const QString &sequenceName)
{
    return knowsSequence(sequenceName) ? HostResult::NotConnected : HostResult::UnknownSequence;
}

qint32 VexApplet::fncStartAdjust(const QString &sequenceName)
{
    return knowsSequence(sequenceName) ? HostResult::NotConnected : HostResult::UnknownSequence;
}

qint32 VexApplet::fncForceSequence(const QString &sequenceName)
{
    return knowsSequence(sequenceName) ? HostResult::NotConnected : HostResult::UnknownSequence;
}

qint32 VexApplet::fncLoadFromFile()
{
    return HostResult::Refused;
}

qint32 VexApplet::fncSaveAsToFile()
{
    return HostResult::Refused;
}

std::shared_ptr<QObject> VexApplet::fncCreateObject(const QString &)
{
    return nullptr;
}

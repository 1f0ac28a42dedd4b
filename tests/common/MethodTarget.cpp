#include "MethodTarget.h"

void MethodTarget::Changed(const QString &value, bool suppressRule)
{
    calls << value + (suppressRule ? QStringLiteral("/s") : QString());
}

void MethodTarget::StatusChanged(const QString &name, qint32 status)
{
    calls << QStringLiteral("%1=%2").arg(name).arg(status);
    if (onStatus)
        onStatus(name, status);
}

void MethodTarget::RecordItem_StatusChanged(const QString &name, qint32 status)
{
    StatusChanged(name, status);
}

void MethodTarget::SequenceItem_StatusChanged(const QString &name, qint32 status)
{
    StatusChanged(name, status);
}

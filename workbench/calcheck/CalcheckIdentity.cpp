#include "CalcheckIdentity.h"

#include "clsAppItem.h"

namespace {

// What the device reported when it was read, else what the dataset holds
// (tag and descriptor come with the upload only).
QString text(const std::shared_ptr<AppletItemManager> &manager, const char *name)
{
    for (const bool shadow : {true, false}) {
        clsAppItem item;
        item.Register(manager, QLatin1String(name), shadow);
        const QString value =
            (item.hasEnumeration() ? item.EnumValue() : item.StringValue()).trimmed();
        if (!value.isEmpty() && value != QLatin1String("0"))
            return value;
    }
    return QString();
}

QString hex(const std::shared_ptr<AppletItemManager> &manager, const char *name, int digits)
{
    double value = 0;
    for (const bool shadow : {true, false}) {
        clsAppItem item;
        item.Register(manager, QLatin1String(name), shadow);
        value = item.UIntValue();
        if (value != 0)
            break;
    }
    return QStringLiteral("%1").arg(qint64(value), digits, 16, QLatin1Char('0')).toUpper();
}

} // namespace

CalcheckIdentity CalcheckIdentity::read(const std::shared_ptr<AppletItemManager> &manager)
{
    CalcheckIdentity identity;
    identity.tag = text(manager, "_tagHART");
    identity.longTag = text(manager, "descriptor");
    identity.manufacturer = text(manager, "_mfrIdHART");
    identity.model = text(manager, "deviceName");
    identity.serialNumber = text(manager, "hardwareSerialNumber");
    identity.sensorSerialNumber = text(manager, "sensorIdentification");
    identity.uniqueId = hex(manager, "_mfrIdHART", 2) + hex(manager, "_mfrDeviceTypeHART", 2) +
                        hex(manager, "_deviceIdNumberHART", 6);
    return identity;
}

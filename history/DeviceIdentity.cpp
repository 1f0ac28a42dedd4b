#include "DeviceIdentity.h"

#include "ItemStore.h"

namespace {
quint32 shadowNumber(const ItemStore &store, const char *item)
{
    const int index = store.indexOf(QLatin1String(item));
    return index < 0 ? 0 : quint32(store.value(index, true).number());
}
} // namespace

QString DeviceIdentity::key() const
{
    return QStringLiteral("%1-%2-%3")
        .arg(manufacturer, 2, 16, QLatin1Char('0'))
        .arg(deviceType, 2, 16, QLatin1Char('0'))
        .arg(deviceId, 6, 16, QLatin1Char('0'))
        .toUpper();
}

DeviceIdentity DeviceIdentity::fromDevice(const ItemStore &store)
{
    return {shadowNumber(store, "_mfrIdHART"), shadowNumber(store, "_mfrDeviceTypeHART"),
            shadowNumber(store, "_deviceIdNumberHART")};
}

QString DeviceIdentity::tagFromDevice(const ItemStore &store)
{
    const int index = store.indexOf(QStringLiteral("_tagHART"));
    return index < 0 ? QString() : store.text(index, true).trimmed();
}

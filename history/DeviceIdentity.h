#pragma once

#include <QString>

class ItemStore;

// A device by its unique identity from command 0: manufacturer, device type
// and device id. Its key ("3E-91-00A1B2") files snapshots and log entries.
struct DeviceIdentity
{
    quint32 manufacturer = 0;
    quint32 deviceType = 0;
    quint32 deviceId = 0;

    bool isKnown() const { return manufacturer != 0 || deviceType != 0 || deviceId != 0; }
    QString key() const;

    // As last read from the device.
    static DeviceIdentity fromDevice(const ItemStore &store);
    // The tag as last read from the device, without its padding.
    static QString tagFromDevice(const ItemStore &store);
};

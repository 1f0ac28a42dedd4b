#pragma once

#include <QString>
#include <memory>

class AppletItemManager;

// Who the checked device is, as the certificate and the records name it.
struct CalcheckIdentity
{
    QString tag;
    QString longTag; // the descriptor: the only longer name a HART 5 device carries
    QString manufacturer;
    QString model;
    QString serialNumber;
    QString sensorSerialNumber;
    QString uniqueId; // manufacturer, device type and device id in hex

    // From the dataset the device was read into.
    static CalcheckIdentity read(const std::shared_ptr<AppletItemManager> &manager);
};

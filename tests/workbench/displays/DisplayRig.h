#pragma once

#include "TestHost.h"

#include <QString>
#include <memory>

class AppletItemManager;
class ItemStore;

// The real host on the simulated transmitter with the device's own
// description. Periodic reads are slowed to one an hour unless a test asks
// for live values, so that values a test writes stay until it reads them.
class DisplayRig
{
public:
    DisplayRig();
    ~DisplayRig();

    TestHost host;

    std::shared_ptr<AppletItemManager> manager() const;
    ItemStore &store() const;
    // As the device side or the frame writes an item.
    void set(const QString &item, const QString &value) const;
    QString text(const QString &item) const;
    bool connect();
    bool disconnect();
    // One periodic read every ms milliseconds.
    void setUpdateUnit(int ms) const;
};

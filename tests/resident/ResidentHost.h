#pragma once

#include "TestHost.h"

#include "clsStartAlwaysView.h"

#include <QString>
#include <memory>

class ItemStore;
class VexAppletItemManager;

// A device instance of the real host on the simulated transmitter, with the
// real description and the always-started view attached the way the host
// attaches it.
class ResidentHost
{
public:
    ResidentHost();
    ~ResidentHost();

    TestHost host;
    std::shared_ptr<VexAppletItemManager> manager;
    std::shared_ptr<clsStartAlwaysView> view;

    ItemStore &store() const;
    QString text(const QString &name, bool shadow = false) const;
    double number(const QString &name, bool shadow = false) const;
    // As the program edits it: rules run.
    void edit(const QString &name, const QString &value) const;
    // As the host takes data over: rules must not run.
    void takeOver(const QString &name, const QString &value) const;
    void setShadow(const QString &name, const QString &value) const;
    // Connects and waits until the device information has been read.
    bool connect();
    bool idle() const;

    template <class T> T *component() const
    {
        for (const auto &c : view->components().NewEnum()) {
            if (auto *found = dynamic_cast<T *>(c.get()))
                return found;
        }
        return nullptr;
    }
};

#pragma once

#include "Applet.h"

#include <memory>

class VexAppletItemManager;

// The applet object of one device instance. Sequences are checked against
// the dictionary; the sequence engine, the connection and the dataset files
// plug in behind it.
class VexApplet : public Applet
{
public:
    explicit VexApplet(std::weak_ptr<VexAppletItemManager> manager);

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

protected:
    bool knowsSequence(const QString &name) const;

private:
    std::weak_ptr<VexAppletItemManager> m_manager;
};

#pragma once

#include <QObject>
#include <QString>
#include <memory>

// The host's return code for a sequence call while another sequence runs.
constexpr qint32 HOST_SEQUENCE_BUSY = qint32(0x804A0001);

// The applet object of the host: device connection, dataset transfers and
// files, views and sequences. Every call answers 0 on success.
class Applet
{
public:
    virtual ~Applet() = default;

    virtual qint32 fncConnect(qint32 reserved = 0) = 0;
    virtual qint32 fncDisconnect(qint32 reserved = 0) = 0;
    virtual qint32 fncSaveToDevice(qint32 reserved = 0) = 0;
    virtual qint32 fncSave(qint32 reserved = 0) = 0;
    virtual qint32 fncStartView(const QString &progId) = 0;
    virtual qint32 fncStartSequence(const QString &sequenceName) = 0;
    virtual qint32 fncStartAdjust(const QString &sequenceName) = 0;
    virtual qint32 fncForceSequence(const QString &sequenceName) = 0;
    virtual qint32 fncLoadFromFile() = 0;
    virtual qint32 fncSaveAsToFile() = 0;
    // A host object by programmatic identifier; null when none is known.
    virtual std::shared_ptr<QObject> fncCreateObject(const QString &progId) = 0;
};

#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <memory>

class Applet;
class Dictionary;
class View;

// The host's item manager: views, item registration and typed item access.
// rc ≠ 0 on a typed access means the item is not of that type (or unknown).
// sh selects the shadow copy (the value last read from the device) instead of
// the dataset value. Writes always go to the dataset value.
class AppletItemManager
{
public:
    virtual ~AppletItemManager() = default;

    virtual qint32 fncRegisterView(View *view) = 0;
    virtual qint32 fncUnregisterView(View *view) = 0;
    virtual std::shared_ptr<Dictionary> fncGetDictionary() = 0;
    virtual std::shared_ptr<Applet> fncGetApplet() = 0;

    virtual void fncRegisterItem(const QString &name, bool sh, qint32 viewHandle,
                                 qint32 &itemHandle, qint32 reserved, qint16 updateInterval,
                                 qint32 &rc) = 0;
    virtual void fncUnregisterItem(const QVariant &viewHandle, qint32 itemHandle, bool sh,
                                   qint32 &rc) = 0;

    virtual void fncGetUIntValueEx(qint32 item, double &value, bool sh, qint32 &rc) = 0;
    virtual void fncPutUintValue(qint32 item, double value, qint32 &rc) = 0;
    virtual void fncGetIntValueEx(qint32 item, qint32 &value, bool sh, qint32 &rc) = 0;
    virtual void fncPutIntValue(qint32 item, qint32 value, qint32 &rc) = 0;
    virtual void fncGetFloatValueEx(qint32 item, float &value, bool sh, qint32 &rc) = 0;
    virtual void fncPutFloatValue(qint32 item, float value, qint32 &rc) = 0;
    virtual void fncGetBCDValueEx(qint32 item, qint32 &value, bool sh, qint32 &rc) = 0;
    virtual void fncPutBCDValue(qint32 item, qint32 value, qint32 &rc) = 0;
    virtual void fncGetOctetsValueEx(qint32 item, QByteArray &value, bool sh, qint32 &rc) = 0;
    virtual void fncPutOctetsValue(qint32 item, const QByteArray &value, qint32 &rc) = 0;
    virtual void fncGetPCAValueEx(qint32 item, QByteArray &value, bool sh, qint32 &rc) = 0;
    virtual void fncPutPCAValue(qint32 item, const QByteArray &value, qint32 &rc) = 0;
    virtual void fncGetHartDateValueEx(qint32 item, QByteArray &value, bool sh, qint32 &rc) = 0;
    virtual void fncPutHartDateValue(qint32 item, const QByteArray &value, qint32 &rc) = 0;
    virtual void fncGetUIntValue(qint32 item, double &value, qint32 &rc) = 0;
    virtual void fncGetOctetsValue(qint32 item, QByteArray &value, qint32 &rc) = 0;
    virtual void fncPutStringValue(qint32 item, const QString &value, qint32 &rc) = 0;
    virtual void fncGetStringValueEx(qint32 item, QString &value, bool sh, qint32 &rc) = 0;
    virtual void fncAdjustItem(const QString &name, QVariant &value) = 0;
};

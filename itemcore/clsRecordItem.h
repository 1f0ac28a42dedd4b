#pragma once

#include "clsPartItemBase.h"

// One record (a single transfer with the device): its state, response and
// control items, the response bytes and the record's status.
class clsRecordItem : public clsPartItemBase
{
    Q_OBJECT

public:
    explicit clsRecordItem(QObject *parent = nullptr);
    ~clsRecordItem() override;

    QByteArray ResponseCode() const;

Q_SIGNALS:
    void ResponseCatched(QByteArray &ResponseCode);
    void StatusChanged(qint32 &recordStatus);

protected:
    QString className() const override { return QStringLiteral("clsRecordItem"); }
    QString prefix(Part part) const override;
    bool hasResponse() const override { return true; }
    QString registerSource() const override { return QStringLiteral("clsRecordItem.Register"); }
    QString stateChangeSource() const override
    {
        return QStringLiteral("clsRecordItem.OnNotifyChanged");
    }
    void emitStatusChanged(qint32 &status) override { Q_EMIT StatusChanged(status); }
    void emitResponse(QByteArray &bytes) override { Q_EMIT ResponseCatched(bytes); }
};

#pragma once

#include "clsPartItemBase.h"

class Applet;

// One sequence (a device procedure the host runs): its state and control
// items, and starting it in normal, forced or adjust mode.
class clsSequenceItem : public clsPartItemBase
{
    Q_OBJECT

public:
    explicit clsSequenceItem(QObject *parent = nullptr);
    ~clsSequenceItem() override;

    void UnRegister() override;
    void Start();
    void Force();
    void Adjust();
    double SequenceState() const;

Q_SIGNALS:
    void StatusChanged(qint32 &sequenceStatus);

protected:
    QString className() const override { return QStringLiteral("clsSequenceItem"); }
    QString prefix(Part part) const override;
    bool hasResponse() const override { return false; }
    QString registerSource() const override
    {
        return QStringLiteral("clsRecordItem.IAppItem_Register");
    }
    QString stateChangeSource() const override
    {
        return QStringLiteral("clsSequenceItem.IAppItem_OnNotifyChanged");
    }
    void emitStatusChanged(qint32 &status) override { Q_EMIT StatusChanged(status); }

private:
    void raiseStartResult(qint32 rc) const;
    std::shared_ptr<Applet> appletOrRaise(const char *member) const;
};

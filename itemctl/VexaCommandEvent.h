#pragma once

#include <QEvent>

// A sequence command posted to a sequence control, to run once the dialog's
// current event handling has returned. The codes are fixed; the parameter is
// the action code of DoAction and 0 otherwise.
class VexaCommandEvent : public QEvent
{
public:
    enum Code
    {
        DoActionCode = 1124,
        StartCode = 1125,
        ForceCode = 1126,
        AdjustCode = 1127,
    };

    VexaCommandEvent(Code code, qint32 parameter);

    Code code() const { return Code(type()); }
    qint32 parameter() const { return m_parameter; }

    static bool isCommand(const QEvent *event);

private:
    qint32 m_parameter;
};

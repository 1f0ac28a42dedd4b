#pragma once

#include <QObject>
#include <QPointer>

class ResponseWatch;
class VexaAppItem;

// What the device answered to one command of a dialog's sequence, so that
// the dialog can say what was done once the sequence has ended. Armed with
// the command before the start; every response the host reports is looked
// at, the last one to that command counts.
class CommandOutcome : public QObject
{
    Q_OBJECT

public:
    // responseCode: the dialog's item bound to "currentResponseCode"
    // (command number, response code, device status).
    CommandOutcome(VexaAppItem *responseCode, ResponseWatch *responses, QObject *parent = nullptr);

    void expect(quint8 command);
    void clear() { m_armed = false; }
    bool isArmed() const { return m_armed; }
    // The device carried the command out (0, or a warning that it rounded).
    bool carriedOut() const;

private:
    void onResponse();

    QPointer<VexaAppItem> m_responseCode;
    quint8 m_command = 0;
    bool m_armed = false;
    int m_code = -1;
};

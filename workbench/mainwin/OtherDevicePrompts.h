#pragma once

#include <QObject>
#include <QString>

class VexaAppItem;
class frmMain;

// What the main window says when the device answering is not the one it
// should work with. A device of another maker or type at connect: the
// commands of this family are withdrawn, its windows closed, and a message
// names the device and offers the generic HART view. Another device in the
// lost one's place when the link comes back: a question names both and lets
// the user connect to it afresh or keep waiting.
//
// The questions wait for the host's notification to end: the host goes on
// with its connect or reconnect while the user reads.
class OtherDevicePrompts : public QObject
{
    Q_OBJECT

public:
    // The entry that opens the generic HART view.
    static constexpr const char *GenericViewEntry = "mnuDeviceGenericView";

    explicit OtherDevicePrompts(frmMain &main);

    bool foreignDeviceConnected() const;

private:
    void connectionChanged();
    void conditionChanged();
    void tellForeignDevice();
    void askAboutOtherDevice(const QString &message);

    frmMain &m_main;
    VexaAppItem *m_foreignDevice;
    bool m_foreignShown = false; // told since the user connected
    QString m_otherAsked;        // the other device already asked about while reconnecting
};

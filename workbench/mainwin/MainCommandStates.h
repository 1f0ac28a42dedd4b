#pragma once

#include "MainCommandTable.h"

#include <QHash>
#include <QString>
#include <functional>

// Which menu entries and toolbar buttons the main window offers, as the host's
// connection, engineering context, dataset check and polling address decide
// through the rules of MainCommandTable. No widgets: the main window shows
// what this says, and hears of every change through changed().
//
// Each reaction sets only what its rules name and leaves the rest as the last
// reaction left it; an element starts in its design state.
class MainCommandStates
{
public:
    // The engineering-context bits that let this instance change the connection.
    static constexpr quint8 ConnectionChangeAllowed = 0x04 | 0x08 | 0x20 | 0x80;

    MainCommandStates();

    // Called with each element whose state changed.
    void setChangedHandler(std::function<void(const QString &element)> handler);

    // Whether the rules want the element available (a missing command aside).
    bool enabled(const QString &element) const;
    bool visible(const QString &element) const { return m_states.value(element).visible; }
    // Why the rules keep an available-looking element from the user: a
    // string-table id (with the polling address for %1), 0 when they do not.
    qint16 whyDisabled(const QString &element) const;
    double pollingAddress() const { return m_address; }
    // Whether the frame lets this instance connect and disconnect.
    bool connectionChangeAllowed() const { return m_connectionChangeAllowed; }

    // The status reaction: a settled state sets what the rules give for it.
    void connectionChanged(ConnectionState status);
    // The frame's engineering context (the byte in its last two hex digits).
    void engineeringContextChanged(quint8 context, ConnectionState status);
    // The dataset-versus-device verdict, "IncompatibleDataset" as text.
    void datasetVerdictChanged(const QString &verdict, ConnectionState status);
    void pollingAddressChanged(double address);
    // What the focused control of the active child window offers the
    // clipboard commands.
    void clipboardTargetChanged(bool canCopy, bool canPaste);
    // Connected to a device of another maker or type: what only this
    // family's transmitters can be asked for is not offered.
    void foreignDeviceChanged(bool foreign);
    // Opens a window of this family or sends the device this family's commands.
    static bool needsThisFamily(const QString &element);

private:
    struct State
    {
        bool enabled = false;
        bool visible = false;
    };

    void setEnabled(const QString &element, bool enabled);
    void setVisible(const QString &element, bool visible);
    void setGated(CommandGate gate, bool enabled);

    QHash<QString, State> m_states;
    // What the last reactions said, for whyDisabled().
    ConnectionState m_status = ConnectionState::NotConnected;
    bool m_connectionChangeAllowed = true;
    bool m_foreign = false;
    double m_address = 0;
    QList<QString> m_order;
    std::function<void(const QString &)> m_changed;
};

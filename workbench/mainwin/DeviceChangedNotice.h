#pragma once

#include <QObject>

class VexaAppItem;
class frmMain;

// Says in the status bar, beside the connection, when another master (a
// handheld, a second tool) changed the connected device and its values were
// read again: what the windows show moved without the user doing anything.
class DeviceChangedNotice : public QObject
{
    Q_OBJECT

public:
    explicit DeviceChangedNotice(frmMain &main);

private:
    void countChanged();

    frmMain &m_main;
    VexaAppItem *m_count;
    int m_told = 0; // changes already said
};

#pragma once

#include "ConnectionStates.h"

#include <QList>
#include <QStatusBar>

class QLabel;
class QTimer;

// The main window's status bar "sbStatusBar": panel 1 the connection (key
// "Verbindung"), 2 the dataset's source ("Quelle"), 3 the user level
// ("Userlevel"), 4 the clock.
class MainStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit MainStatusBar(QWidget *parent = nullptr);

    // 1 to 4; null otherwise.
    QLabel *panel(int index) const;

    void showConnection(ConnectionState status);
    // "&&private&&LinkCondition" and "&&private&&LinkMessage": a link that is
    // gone or being brought back, or a device that does not answer, named in
    // the connection panel; its tip says why in the link's words.
    void showLinkCondition(int condition, const QString &message);
    // "&&private&&CurrentSource": "0" default, "1" file, "2" device.
    void showSource(const QString &source);
    // "&&private&&UserLevel": "0" maintenance, "1" specialist.
    void showUserLevel(const QString &level);
    // How the last transfer ended, beside the connection until the next one.
    void showTransfer(const QString &text);
    QLabel *transferPanel() const { return m_transfer; }
    // Where a team's history goes and what waits for it; hidden while the
    // history is the user's own file alone.
    void showHistory(const QString &text, const QString &tip);
    QLabel *historyPanel() const { return m_history; }

private:
    void setPanelText(int index, qint16 textId);
    void showConnectionPanel();
    void showTime();

    QList<QLabel *> m_panels;
    QLabel *m_transfer;
    QLabel *m_history;
    QTimer *m_clock;
    ConnectionState m_connection = ConnectionState::NotConnected;
    ConnectionController::LinkCondition m_condition = ConnectionController::LinkCondition::Normal;
};

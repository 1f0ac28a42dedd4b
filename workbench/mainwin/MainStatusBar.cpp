#include "MainStatusBar.h"

#include "Toolkit_LoadResource.h"

#include <QHash>
#include <QLabel>
#include <QLocale>
#include <QTime>
#include <QTimer>

MainStatusBar::MainStatusBar(QWidget *parent)
    : QStatusBar(parent), m_transfer(new QLabel(this)), m_history(new QLabel(this)),
      m_clock(new QTimer(this))
{
    setObjectName(QStringLiteral("sbStatusBar"));
    setSizeGripEnabled(true);
    for (const char *key : {"Verbindung", "Quelle", "Userlevel", "Uhrzeit"}) {
        auto *panel = new QLabel(this);
        panel->setObjectName(QLatin1String(key));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(4, 0, 4, 0);
        m_panels.append(panel);
    }
    // The connection panel's text is applied with the window's texts.
    m_panels[0]->setProperty("Tag", 7408);
    addWidget(m_panels[0], 1);
    m_transfer->setObjectName(QStringLiteral("Transfer"));
    m_transfer->setContentsMargins(4, 0, 4, 0);
    m_transfer->hide();
    addWidget(m_transfer);
    addWidget(m_panels[1]);
    addWidget(m_panels[2]);
    m_history->setObjectName(QStringLiteral("History"));
    m_history->setFrameShape(QFrame::StyledPanel);
    m_history->setFrameShadow(QFrame::Sunken);
    m_history->setContentsMargins(4, 0, 4, 0);
    m_history->hide();
    addWidget(m_history);
    addPermanentWidget(m_panels[3]);
    showTime();
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &MainStatusBar::showTime);
    m_clock->start();
}

QLabel *MainStatusBar::panel(int index) const
{
    return index >= 1 && index <= m_panels.size() ? m_panels[index - 1] : nullptr;
}

void MainStatusBar::showTime()
{
    m_panels[3]->setText(QLocale().toString(QTime::currentTime(), QLocale::ShortFormat));
}

void MainStatusBar::setPanelText(int index, qint16 textId)
{
    if (QLabel *label = panel(index))
        label->setText(GetResText(textId));
}

void MainStatusBar::showConnection(ConnectionState status)
{
    // How the last session's transfer ended says nothing about the next.
    if (status == ConnectionState::Connecting && m_connection != ConnectionState::Connecting)
        showTransfer(QString());
    m_connection = status;
    showConnectionPanel();
}

void MainStatusBar::showLinkCondition(int condition, const QString &message)
{
    using C = ConnectionController::LinkCondition;
    m_condition =
        condition >= int(C::Normal) && condition <= int(C::OtherDevice) ? C(condition) : C::Normal;
    m_panels[0]->setToolTip(m_condition == C::Normal ? QString() : message);
    showConnectionPanel();
}

void MainStatusBar::showConnectionPanel()
{
    using C = ConnectionController::LinkCondition;
    // What went wrong with the link outranks the plain state it left.
    if (m_condition == C::OtherDevice && m_connection == ConnectionState::Connecting) {
        setPanelText(1, 7601); // "Link back: another device answers"
        return;
    }
    if (m_condition == C::ForeignDevice && m_connection == ConnectionState::Connected) {
        setPanelText(1, 7600); // "Connected: device of another type"
        return;
    }
    if (m_condition == C::Reconnecting) {
        setPanelText(1, 6401); // "Link lost, reconnecting ..."
        return;
    }
    if (m_condition == C::LinkLost && m_connection == ConnectionState::NotConnected) {
        setPanelText(1, 6400); // "Link lost"
        return;
    }
    if (m_condition == C::DeviceSilent && m_connection == ConnectionState::Connected) {
        setPanelText(1, 6402); // "Connected, device does not answer"
        return;
    }
    if (m_condition == C::DeviceSilent && m_connection == ConnectionState::NotConnected) {
        setPanelText(1, 6403); // "No answer from the device"
        return;
    }
    switch (m_connection) {
    case ConnectionState::NotConnected:
        setPanelText(1, 7408); // "Not connected"
        break;
    case ConnectionState::Connecting:
        setPanelText(1, 2007); // "Connect ..."
        break;
    case ConnectionState::Connected:
        setPanelText(1, 2000); // "Connection Established"
        break;
    case ConnectionState::Disconnecting:
        setPanelText(1, 2008); // "Disconnect ..."
        break;
    }
}

void MainStatusBar::showSource(const QString &source)
{
    static const QHash<QString, qint16> texts{
        {QStringLiteral("0"), 2006}, {QStringLiteral("1"), 2004}, {QStringLiteral("2"), 2005}};
    if (texts.contains(source))
        setPanelText(2, texts.value(source));
}

void MainStatusBar::showHistory(const QString &text, const QString &tip)
{
    m_history->setText(text);
    m_history->setToolTip(tip);
    m_history->setVisible(!text.isEmpty());
}

void MainStatusBar::showTransfer(const QString &text)
{
    m_transfer->setText(text);
    m_transfer->setVisible(!text.isEmpty());
}

void MainStatusBar::showUserLevel(const QString &level)
{
    if (level == QLatin1String("0"))
        setPanelText(3, 2003);
    else if (level == QLatin1String("1"))
        setPanelText(3, 2002);
}

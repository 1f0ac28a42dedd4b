#include "MainCommandStates.h"

#include <QStringList>

namespace {

// The dataset check's verdicts that decide Save to device.
const QString DatasetFits = QStringLiteral("0");
const QString OutsideSensorLimits = QStringLiteral("3");
const QString SpanBelowMinimum = QStringLiteral("4");

// The entries (whole menus among them) and buttons that only a transmitter
// of this family can serve.
const QStringList FamilyElements{QStringLiteral("mnuDeviceLoadFromDevice"),
                                 QStringLiteral("mnuDeviceSaveToDevice"),
                                 QStringLiteral("mnuDeviceReset"),
                                 QStringLiteral("mnuDeviceCompare"),
                                 QStringLiteral("mnuDeviceIdentification"),
                                 QStringLiteral("mnuDisplay"),
                                 QStringLiteral("mnuDiagnostics"),
                                 QStringLiteral("mnuConfigure"),
                                 QStringLiteral("mnuCalibrate"),
                                 QStringLiteral("tbReadFromDevice"),
                                 QStringLiteral("tbWriteToDevice"),
                                 QStringLiteral("tbCompare"),
                                 QStringLiteral("tbDiagnostics")};

} // namespace

MainCommandStates::MainCommandStates()
{
    for (const MainMenuEntry &e : MainCommandTable::entries()) {
        if (e.is(MainMenuEntry::Separator))
            continue;
        const QString name = QLatin1String(e.name);
        m_states.insert(name, {!e.is(MainMenuEntry::Disabled), !e.is(MainMenuEntry::Hidden)});
        m_order.append(name);
    }
    for (const MainToolbarButton &b : MainCommandTable::buttons()) {
        if (!*b.key)
            continue;
        const QString key = QLatin1String(b.key);
        m_states.insert(key, {true, true});
        m_order.append(key);
    }
}

bool MainCommandStates::enabled(const QString &element) const
{
    return m_states.value(element).enabled && !(m_foreign && needsThisFamily(element));
}

bool MainCommandStates::needsThisFamily(const QString &element)
{
    return FamilyElements.contains(element);
}

void MainCommandStates::foreignDeviceChanged(bool foreign)
{
    if (foreign == m_foreign)
        return;
    m_foreign = foreign;
    for (const QString &element : FamilyElements) {
        if (m_changed && m_states.contains(element))
            m_changed(element);
    }
}

void MainCommandStates::setChangedHandler(std::function<void(const QString &)> handler)
{
    m_changed = std::move(handler);
}

void MainCommandStates::setEnabled(const QString &element, bool enabled)
{
    auto it = m_states.find(element);
    if (it == m_states.end() || it->enabled == enabled)
        return;
    it->enabled = enabled;
    if (m_changed)
        m_changed(element);
}

void MainCommandStates::setVisible(const QString &element, bool visible)
{
    auto it = m_states.find(element);
    if (it == m_states.end() || it->visible == visible)
        return;
    it->visible = visible;
    if (m_changed)
        m_changed(element);
}

void MainCommandStates::setGated(CommandGate gate, bool enabled)
{
    for (const QString &element : std::as_const(m_order)) {
        if (MainCommandTable::rules(element)->gate == gate)
            setEnabled(element, enabled);
    }
}

void MainCommandStates::connectionChanged(ConnectionState status)
{
    if (!ConnectionStates::isSettled(status))
        return;
    m_status = status;
    for (const QString &element : std::as_const(m_order)) {
        const CommandRules &rules = *MainCommandTable::rules(element);
        if (!rules.enabledIn.isAny())
            setEnabled(element, rules.enabledIn.contains(status));
        if (!rules.shownIn.isAny())
            setVisible(element, rules.shownIn.contains(status));
    }
}

void MainCommandStates::engineeringContextChanged(quint8 context, ConnectionState status)
{
    m_connectionChangeAllowed = (context & ConnectionChangeAllowed) != 0;
    if (!m_connectionChangeAllowed) {
        // The frame application does not let this instance change the connection.
        setGated(CommandGate::Connects, false);
        setGated(CommandGate::Disconnects, false);
        return;
    }
    // The other one of the pair keeps its state; on the way between the two
    // (connecting, disconnecting) neither is offered anew.
    if (status == ConnectionState::Connected)
        setGated(CommandGate::Disconnects, true);
    else if (status == ConnectionState::NotConnected)
        setGated(CommandGate::Connects, true);
}

void MainCommandStates::datasetVerdictChanged(const QString &verdict, ConnectionState status)
{
    if (verdict == DatasetFits || verdict == SpanBelowMinimum) {
        if (status == ConnectionState::Connected)
            setGated(CommandGate::WritesDataset, true);
    } else if (verdict == OutsideSensorLimits) {
        setGated(CommandGate::WritesDataset, false);
    }
}

void MainCommandStates::pollingAddressChanged(double address)
{
    m_address = address;
    setGated(CommandGate::NeedsCurrentLoop, address <= 0);
}

void MainCommandStates::clipboardTargetChanged(bool canCopy, bool canPaste)
{
    setGated(CommandGate::CopiesText, canCopy);
    setGated(CommandGate::PastesText, canPaste);
}

qint16 MainCommandStates::whyDisabled(const QString &element) const
{
    const CommandRules *rules = MainCommandTable::rules(element);
    if (!rules || enabled(element))
        return 0;
    if (m_foreign && needsThisFamily(element))
        return 7604;
    if (!rules->enabledIn.isAny() && !rules->enabledIn.contains(m_status))
        return rules->enabledIn.contains(ConnectionState::Connected) ? 7401 : 7402;
    switch (rules->gate) {
    case CommandGate::Connects:
    case CommandGate::Disconnects:
        return m_connectionChangeAllowed ? 0 : 7403;
    case CommandGate::WritesDataset:
        return 7404;
    case CommandGate::NeedsCurrentLoop:
        return 7405;
    case CommandGate::CopiesText:
        return 7406;
    case CommandGate::PastesText:
        return 7407;
    case CommandGate::None:
        break;
    }
    return 0;
}

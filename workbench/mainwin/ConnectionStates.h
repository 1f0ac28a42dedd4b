#pragma once

#include "ConnectionController.h"

#include <initializer_list>

// The host's connection status ("&&private&&Connect") by the names the host
// gives it.
enum class ConnectionState : int
{
    NotConnected = ConnectionController::NotConnected,
    Connecting = ConnectionController::Connecting,
    Connected = ConnectionController::Connected,
    Disconnecting = ConnectionController::Disconnecting,
};

// A set of connection states; a menu entry or toolbar button names those in
// which it is available (or shown).
class ConnectionStates
{
public:
    constexpr ConnectionStates(std::initializer_list<ConnectionState> states)
    {
        for (ConnectionState s : states)
            m_members |= bit(s);
    }
    // Every state: the connection does not decide.
    static constexpr ConnectionStates any()
    {
        return {ConnectionState::NotConnected, ConnectionState::Connecting,
                ConnectionState::Connected, ConnectionState::Disconnecting};
    }

    constexpr bool contains(ConnectionState s) const { return (m_members & bit(s)) != 0; }
    constexpr bool isAny() const { return m_members == any().m_members; }

    // The status as the host item reads; nothing for a value outside the four.
    static constexpr bool isKnown(int status)
    {
        return status >= int(ConnectionState::NotConnected) &&
               status <= int(ConnectionState::Disconnecting);
    }
    // Connecting and disconnecting are on their way to another state: they
    // change nothing that the last settled state decided.
    static constexpr bool isSettled(ConnectionState s)
    {
        return s == ConnectionState::NotConnected || s == ConnectionState::Connected;
    }

private:
    static constexpr unsigned bit(ConnectionState s) { return 1u << unsigned(s); }

    unsigned m_members = 0;
};

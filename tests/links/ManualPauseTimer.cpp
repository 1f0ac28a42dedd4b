#include "ManualPauseTimer.h"

void ManualPauseTimer::start(int ms, std::function<void()> fire)
{
    m_pauses << ms;
    m_fire = std::move(fire);
}

bool ManualPauseTimer::fire()
{
    if (!m_fire)
        return false;
    // The attempt may start the next pause.
    std::function<void()> fire = std::exchange(m_fire, nullptr);
    fire();
    return true;
}

#pragma once

#include "hart/LinkReconnector.h"

#include <QList>

// The reconnector's pause as a test drives it: every pause asked for is
// kept, and the test fires the one running when it wants the attempt.
class ManualPauseTimer final : public LinkReconnector::Timer
{
public:
    void start(int ms, std::function<void()> fire) override;
    void stop() override { m_fire = nullptr; }

    bool isRunning() const { return m_fire != nullptr; }
    // Ends the running pause; false when none runs.
    bool fire();
    const QList<int> &pauses() const { return m_pauses; }

private:
    std::function<void()> m_fire;
    QList<int> m_pauses;
};

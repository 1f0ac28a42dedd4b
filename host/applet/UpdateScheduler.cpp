#include "UpdateScheduler.h"

#include <algorithm>

UpdateScheduler::UpdateScheduler(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &UpdateScheduler::tick);
}

void UpdateScheduler::setUnitMilliseconds(int ms)
{
    m_timer.setInterval(std::max(1, ms));
}

void UpdateScheduler::add(int item, int interval)
{
    if (interval <= 0)
        return;
    m_items[item].intervals.append(interval);
    if (!m_timer.isActive())
        m_timer.start();
}

void UpdateScheduler::remove(int item, int interval)
{
    auto it = m_items.find(item);
    if (it == m_items.end())
        return;
    it->intervals.removeOne(interval);
    if (it->intervals.isEmpty())
        m_items.erase(it);
    if (m_items.isEmpty())
        m_timer.stop();
}

int UpdateScheduler::interval(int item) const
{
    const auto it = m_items.constFind(item);
    if (it == m_items.constEnd() || it->intervals.isEmpty())
        return 0;
    return *std::min_element(it->intervals.begin(), it->intervals.end());
}

void UpdateScheduler::tick()
{
    if (!m_reader || (m_connected && !m_connected()))
        return;
    QList<int> due;
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
        if (++it->elapsed >= interval(it.key())) {
            it->elapsed = 0;
            due.append(it.key());
        }
    }
    if (!due.isEmpty()) {
        std::sort(due.begin(), due.end());
        m_reader(due);
    }
}

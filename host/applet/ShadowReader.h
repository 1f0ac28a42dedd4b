#pragma once

#include <QList>
#include <QObject>
#include <functional>
#include <memory>

class DeviceDescription;
class HartMaster;
class VexAppletItemManager;
struct RecordDefinition;

// Reads records outside any sequence into the values as read (the shadow):
// the displays' periodic reads, and the whole configuration again when the
// device says another master changed it. One round at a time; a round is
// refused while one is out or while reading is not allowed.
class ShadowReader : public QObject
{
    Q_OBJECT

public:
    ShadowReader(std::shared_ptr<const DeviceDescription> description,
                 VexAppletItemManager &manager, HartMaster &master, QObject *parent = nullptr);

    // Asked before each round (a sequence running, a device of another kind).
    void setMayRead(std::function<bool()> mayRead) { m_mayRead = std::move(mayRead); }
    bool isBusy() const { return m_busy; }

    // The records without request data that carry these items, by store index.
    bool readItems(const QList<int> &items);
    // The read records of a sequence of the description.
    bool readSequence(const QString &name);

Q_SIGNALS:
    void connectionLost();

private:
    bool readRecords(const QList<const RecordDefinition *> &records);

    std::shared_ptr<const DeviceDescription> m_description;
    VexAppletItemManager &m_manager;
    HartMaster &m_master;
    std::function<bool()> m_mayRead;
    bool m_busy = false;
};

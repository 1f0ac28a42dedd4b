#pragma once

#include "hart/HartMaster.h"

#include <QObject>
#include <QString>

class ConnectionController;
class ItemStore;
class SequenceEngine;

// Keeps the values as read (the shadow) the device's own when another master
// (a handheld, a second tool on the loop) changes the device's configuration
// while this program is connected.
//
// The device raises "configuration changed" in the status of every answer
// until a master clears it with command 38. After this program's own writes,
// and once a connection (what it shows is read fresh then), the bit is
// cleared without a word. Otherwise the change was made elsewhere: the bit is
// cleared, the whole configuration read again into the shadow (the dataset
// the user works on stays as it is), and "&&private&&ChangedElsewhere"
// counts up so that the program can say so. Nothing is done while a sequence
// runs; its end is waited for.
class ConfigurationWatch : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *CountItem = "&&private&&ChangedElsewhere";

    // `readSequence` names the description's sequence whose reads are the
    // device's configuration.
    ConfigurationWatch(ItemStore &store, HartMaster &master, SequenceEngine &engine,
                       ConnectionController &connection, QString readSequence,
                       QObject *parent = nullptr);

private:
    void answerSeen(const HartMaster::Outcome &outcome);
    void act();
    void clearFlag();
    void countChange();

    ItemStore &m_store;
    HartMaster &m_master;
    SequenceEngine &m_engine;
    ConnectionController &m_connection;
    QString m_readSequence;
    bool m_flagSeen = false;      // the last answer had the bit set
    bool m_ownChange = true;      // the bit is this program's own doing
    bool m_answerOfWrite = false; // the answer coming is that of our write
    bool m_clearing = false;      // command 38 is on its way
    bool m_rereadDue = false;     // a change elsewhere waits for its read
    bool m_gaveUp = false;        // the device refused command 38
    quint64 m_session = 0;        // the master's session the flags above are of
};

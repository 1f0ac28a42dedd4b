#pragma once

#include "ItemStore.h"
#include "TestHost.h"
#include "VexAppletItemManager.h"
#include "VexaPlotter.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>
#include <QTemporaryDir>

class DeviceDescription;
class TrendRecorder;

namespace trendrig {

constexpr qint64 Day = 24LL * 3600 * 1000;
inline const qint64 Start = QDateTime(QDate(2026, 3, 2), QTime(8, 0)).toMSecsSinceEpoch();

DeviceDescription builtIn();
// The lines of an exported table, without the empty one after the last break.
QStringList lines(const QByteArray &csv);
// What the recorder exports of its memory.
QByteArray exported(const TrendRecorder &recorder);

} // namespace trendrig

// The plotter on the real host, its first curve on the loop current.
struct PlotterRig
{
    PlotterRig();
    VexAppletItemManager &manager() const { return *host.manager(); }
    int itemIndex(const char *name) const { return manager().store().indexOf(name); }

    QTemporaryDir folder;
    TestHost host;
    VexaPlotter plotter;
};

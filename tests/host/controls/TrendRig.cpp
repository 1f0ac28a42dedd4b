#include "TrendRig.h"

#include "DeviceDescription.h"
#include "ItemStore.h"
#include "TrendRecorder.h"
#include "simulator/SimulatedTransmitter.h"

#include <QBuffer>

namespace trendrig {

DeviceDescription builtIn()
{
    QString error;
    auto d = DeviceDescription::load(QLatin1String(DeviceDescription::BuiltInPath), &error);
    if (!d)
        qFatal("%s", qPrintable(error));
    return *d;
}

QStringList lines(const QByteArray &csv)
{
    QStringList out = QString::fromUtf8(csv).split('\n');
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

QByteArray exported(const TrendRecorder &recorder)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    recorder.exportMemory(buffer, recorder.firstTime(), recorder.lastTime());
    return buffer.data();
}

} // namespace trendrig

PlotterRig::PlotterRig() : host(trendrig::builtIn())
{
    host.device().setNoiseLevel(0);
    host.device().setRealTimeClock(false);
    plotter.setRecordingFolder(folder.path());
    plotter.setObjectNameValue(0, "actualOutputValue");
    plotter.setObjectNameUnit(0, "Unit_mA");
    plotter.setObjectNameMin(0, "3.6");
    plotter.setObjectNameMax(0, "21");
    plotter.setObjectCaption(0, "Current Output");
    plotter.resize(800, 400);
}

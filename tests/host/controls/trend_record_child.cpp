// Records samples to the folder named by argv[1] as the trend does, says how
// many it has recorded, and then waits to be killed.

#include "TrendRecorder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    TrendRecorder recorder(100);
    recorder.setRecordingFolder(QString::fromLocal8Bit(argv[1]));
    const qint64 start = QDateTime::currentMSecsSinceEpoch() - 600 * 1000;
    recorder.setCurve(0, {QStringLiteral("Pressure"), QStringLiteral("bar")}, start);
    recorder.addMarker(start, QStringLiteral("night run"));
    for (int i = 0; i < 500; ++i) {
        const TrendSample sample{start + i * 1000, float(i) / 4, TrendStatus::Good};
        recorder.append(0,
                        i == 250 ? TrendSample{sample.timeMs, 0.0f, TrendStatus::NoRead} : sample);
    }
    std::printf("recorded 500\n");
    std::fflush(stdout);
    for (;;)
        QThread::sleep(60);
}

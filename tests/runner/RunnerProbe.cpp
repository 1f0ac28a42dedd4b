#include "TestRegistry.h"

#include "MessageBoxSeam.h"

#include <QTest>

// Test functions that break the runner's rules on purpose; CTest runs each
// alone and checks that the runner tells.
class RunnerProbe : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void warns() { qWarning("probe: an unexpected warning"); }
    void expectsItsWarning()
    {
        QTest::ignoreMessage(QtWarningMsg, "probe: an expected warning");
        qWarning("probe: an expected warning");
    }
    void asksAQuestion()
    {
        MessageBoxSeam::show(nullptr, QMessageBox::Question, "Probe", "Nobody scripted this",
                             QMessageBox::Yes | QMessageBox::No);
    }
    void offscreenNoise() { qWarning("This plugin does not support raise()"); }
};

VEX_TEST(RunnerProbe)
#include "RunnerProbe.moc"

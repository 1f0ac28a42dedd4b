#include "DialogRig.h"

#include "DeviceInstance.h"
#include "ItemStore.h"
#include "ResidentViews.h"
#include "UpdateScheduler.h"
#include "VexAppletItemManager.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"
#include "mainwin/global.h"

#include "VexaCommandEvent.h"

#include <QCoreApplication>

namespace {

// Before the rig opens the frame: the views the host starts by identifier.
QStringList registeredViews()
{
    static const bool once = [] {
        QCoreApplication::setOrganizationName("WorkbenchTest");
        QCoreApplication::setApplicationName("tst_dialogs");
        registerResidentViews();
        registerWorkbenchViews();
        return true;
    }();
    Q_UNUSED(once);
    return {};
}

} // namespace

DeferredStarts::DeferredStarts(QObject *control)
{
    control->installEventFilter(this);
}

bool DeferredStarts::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::Type(VexaCommandEvent::StartCode) ||
        event->type() == QEvent::Type(VexaCommandEvent::ForceCode))
        ++count;
    return false;
}

DialogRig::DialogRig() : MainWindowRig(registeredViews())
{
    device.setNoiseLevel(0);
    // Periodic reads every 50 ms instead of every second.
    instance().manager()->updateScheduler().setUnitMilliseconds(50);
}

void DialogRig::show(QWidget *dialog)
{
    form().ShowChildForm(dialog);
}

std::shared_ptr<int> DialogRig::countWrites(const QString &item)
{
    auto count = std::make_shared<int>(0);
    const int index = instance().manager()->store().indexOf(item);
    instance().manager()->addObserver([count, index](int changed, bool shadow, qint32) {
        if (changed == index && !shadow)
            ++*count;
    });
    return count;
}

std::shared_ptr<int> DialogRig::countStarts(const QString &sequence)
{
    auto count = std::make_shared<int>(0);
    onSequence(sequence, [count](bool running) {
        if (running)
            ++*count;
    });
    return count;
}

void DialogRig::onSequence(const QString &sequence, std::function<void(bool running)> changed)
{
    auto running = std::make_shared<bool>(false);
    const ItemStore *store = &instance().manager()->store();
    const int index = store->indexOf(QStringLiteral("&&Sequence_State&&") + sequence);
    instance().manager()->addObserver(
        [changed = std::move(changed), running, index, store](int item, bool shadow, qint32) {
            if (item != index || shadow)
                return;
            const bool now = store->value(index, false).number() != 0;
            if (now != *running) {
                *running = now;
                changed(now);
            }
        });
}

bool DialogRig::settled() const
{
    return idle() && MainWindow()->isEnabled();
}

double DialogRig::number(const QString &item, bool shadow) const
{
    const ItemStore &store = instance().manager()->store();
    return store.value(store.indexOf(item), shadow).number();
}

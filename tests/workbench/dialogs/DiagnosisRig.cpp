#include "DiagnosisRig.h"

#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "ItemStore.h"
#include "SequenceEngine.h"
#include "UpdateScheduler.h"
#include "VexAppletItemManager.h"
#include "mainwin/clsVexaForm.h"
#include "mainwin/global.h"

#include <QTest>

namespace {
class RigView : public IViewEx
{
public:
    explicit RigView(std::shared_ptr<AppletItemManager> manager) : m_manager(std::move(manager)) {}
    std::shared_ptr<AppletItemManager> appletItemManagerRef() const override { return m_manager; }
    void UnRegisterView() override { m_manager.reset(); }

private:
    std::shared_ptr<AppletItemManager> m_manager;
};

} // namespace

DiagnosisRig::DiagnosisRig() : m_host(std::make_unique<TestHost>(testhost::builtInDescription()))
{
    m_host->instance().engine().setAnswerTimeout(3000);
    m_host->manager()->updateScheduler().setUnitMilliseconds(UpdateUnitMs);
    m_view = std::make_unique<RigView>(m_host->manager());
    m_main.resize(1000, 800);
    SetMainWindow(&m_main);
}

DiagnosisRig::~DiagnosisRig()
{
    m_dialog.reset();
    EnableMainWindow(true);
    SetMainWindow(nullptr);
    m_view.reset();
    m_host.reset();
}

VexAppletItemManager &DiagnosisRig::manager() const
{
    return *m_host->manager();
}

bool DiagnosisRig::connect()
{
    return m_host->connect() && idle();
}

bool DiagnosisRig::idle() const
{
    return QTest::qWaitFor([this] { return !m_host->instance().engine().isRunning(); }, 5000);
}

void DiagnosisRig::setItem(const QString &name, const QString &value) const
{
    testhost::setShadow(manager(), name, value);
    ItemStore &store = manager().store();
    const int index = store.indexOf(name);
    store.takeOverDataset(index, store.value(index, true), false);
}

void DiagnosisRig::setShadow(const QString &name, const QString &value) const
{
    testhost::setShadow(manager(), name, value);
}

QString DiagnosisRig::text(const QString &name, bool shadow) const
{
    const ItemStore &store = manager().store();
    return store.text(store.indexOf(name), shadow);
}

bool DiagnosisRig::modified(const QString &name) const
{
    const ItemStore &store = manager().store();
    return store.isModified(store.indexOf(name));
}

int DiagnosisRig::updateInterval(const QString &name) const
{
    return manager().updateScheduler().interval(manager().store().indexOf(name));
}

void DiagnosisRig::show(clsVexaForm *dialog)
{
    m_dialog.reset(dialog);
    dialog->setViewRef(m_view.get());
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog))
        qFatal("dialog not shown");
}

#include "ResidentHost.h"

#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "ItemStore.h"
#include "ResidentViews.h"
#include "SequenceEngine.h"
#include "VexAppletItemManager.h"

#include <QTest>

ResidentHost::ResidentHost() : host(testhost::builtInDescription()), manager(host.manager())
{
    registerResidentViews();
    host.instance().engine().setAnswerTimeout(3000);
    view = std::make_shared<clsStartAlwaysView>();
    manager->fncRegisterView(view.get());
}

ResidentHost::~ResidentHost()
{
    view->Destroy();
    manager->fncUnregisterView(view.get());
}

ItemStore &ResidentHost::store() const
{
    return manager->store();
}

QString ResidentHost::text(const QString &name, bool shadow) const
{
    return store().text(store().indexOf(name), shadow);
}

double ResidentHost::number(const QString &name, bool shadow) const
{
    return store().value(store().indexOf(name), shadow).number();
}

void ResidentHost::edit(const QString &name, const QString &value) const
{
    testhost::setDataset(*manager, name, value);
}

void ResidentHost::takeOver(const QString &name, const QString &value) const
{
    const int index = store().indexOf(name);
    ItemValue v = store().value(index, false);
    if (!v.parse(store().definition(index), value))
        qFatal("cannot take over %s", qPrintable(name));
    store().takeOverDataset(index, v, false);
}

void ResidentHost::setShadow(const QString &name, const QString &value) const
{
    testhost::setShadow(*manager, name, value);
}

bool ResidentHost::idle() const
{
    return !host.instance().engine().isRunning() && text("currentSequence").isEmpty();
}

bool ResidentHost::connect()
{
    return host.connect() && QTest::qWaitFor([this] { return idle(); }, 5000);
}

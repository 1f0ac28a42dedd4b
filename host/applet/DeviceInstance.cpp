#include "DeviceInstance.h"

#include "ConfigurationWatch.h"
#include "ConnectionController.h"
#include "DatasetFileService.h"
#include "DeviceDescription.h"
#include "HostResult.h"
#include "HostTexts.h"
#include "ItemStore.h"
#include "ProgIdRegistry.h"
#include "SequenceEngine.h"
#include "UpdateScheduler.h"
#include "VexApplet.h"
#include "VexAppletItemManager.h"
#include "VexDictionary.h"
#include "View.h"
#include "hart/HartMaster.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTimer>

DeviceInstance::DeviceInstance(const DeviceDescription &description, HartLink *link,
                               QObject *parent)
    : QObject(parent), m_description(std::make_shared<const DeviceDescription>(description))
{
    auto store = std::make_shared<ItemStore>(*m_description);
    auto dictionary = std::make_shared<VexDictionary>(m_description, store);
    m_manager = std::make_shared<VexAppletItemManager>(store, dictionary);
    m_master = std::make_unique<HartMaster>(link);
    m_engine = std::make_unique<SequenceEngine>(m_description, *m_manager, *m_master);
    m_connection =
        std::make_unique<ConnectionController>(m_description, *store, *m_master, *m_engine);
    m_files = std::make_unique<DatasetFileService>(m_description, *store);
    m_manager->setApplet(std::make_shared<VexApplet>(this));
    m_manager->setViewLeftHandler([this](View *view) { viewLeft(view); });
    // Periodic reads are records of the description: not for a device of another kind.
    m_manager->updateScheduler().setConnectedProbe(
        [this] { return m_connection->describedDeviceConnected(); });
    m_manager->updateScheduler().setReader(
        [this](const QList<int> &items) { m_engine->readItems(items); });
}

DeviceInstance::~DeviceInstance()
{
    close();
    m_manager->setViewLeftHandler(nullptr);
    m_manager->setApplet(nullptr);
}

qint32 DeviceInstance::startView(const QString &progId)
{
    std::shared_ptr<View> view = ProgIdRegistry::instance().createView(progId);
    if (!view)
        return HostResult::UnknownProgId;
    m_views.append(view);
    m_manager->fncRegisterView(view.get());
    // A function view does its work while it is attached and leaves at once.
    if (m_views.contains(view))
        view->Show();
    return HostResult::Ok;
}

void DeviceInstance::viewLeft(View *view)
{
    for (qsizetype i = 0; i < m_views.size(); ++i) {
        if (m_views[i].get() != view)
            continue;
        // The view is still inside its own call: let it go once that returns.
        std::shared_ptr<View> released = m_views.takeAt(i);
        QTimer::singleShot(0, this, [released] {});
        return;
    }
}

void DeviceInstance::watchConfiguration()
{
    if (m_configurationWatch)
        return;
    m_configurationWatch =
        std::make_unique<ConfigurationWatch>(m_manager->store(), *m_master, *m_engine,
                                             *m_connection, QStringLiteral("ReadDeviceDataset"));
}

void DeviceInstance::close()
{
    if (m_closed)
        return;
    m_closed = true;
    while (!m_views.isEmpty()) {
        std::shared_ptr<View> view = m_views.takeLast();
        view->Destroy();
        m_manager->fncUnregisterView(view.get());
    }
    m_connection->disconnectDevice();
}

void DeviceInstance::addObject(const QString &progId, std::shared_ptr<QObject> object)
{
    m_objects.insert(progId.toLower(), std::move(object));
}

std::shared_ptr<QObject> DeviceInstance::object(const QString &progId) const
{
    return m_objects.value(progId.toLower());
}

bool DeviceInstance::setItemText(const QString &name, const QString &value)
{
    ItemStore &store = m_manager->store();
    const int index = store.indexOf(name);
    if (index < 0)
        return false;
    ItemValue v = store.value(index, false);
    if (!v.parse(store.definition(index), value))
        return false;
    if (store.definition(index).dataset)
        store.writeDataset(index, v);
    else
        store.writeShadow(index, v);
    return true;
}

namespace {

bool refreshCopy(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray content = source.readAll();
    QFile existing(to);
    if (existing.size() == content.size() && existing.open(QIODevice::ReadOnly) &&
        existing.readAll() == content)
        return true;
    existing.close();
    QSaveFile copy(to);
    if (!copy.open(QIODevice::WriteOnly) || copy.write(content) != content.size() || !copy.commit())
        return false;
    QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                  QFile::ReadOther);
    return true;
}

} // namespace

bool DeviceInstance::prepareDescriptionFolder(const QString &folder, QString *error)
{
    const QString source = QStringLiteral(":/device");
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = folder + from.mid(source.size());
        const QString dir = QFileInfo(to).path();
        if (!QDir().mkpath(dir)) {
            if (error)
                *error = HostTexts::text(HostTexts::FolderNotCreated).arg(dir);
            return false;
        }
        // The program writes its reports beside the copies. A copy is written
        // only when it differs from the program's own, and then in one step,
        // so that a program reading it meanwhile never finds it missing or
        // cut off (several programs may share the folder).
        if (!refreshCopy(from, to)) {
            if (error)
                *error = HostTexts::text(HostTexts::FileNotWritten).arg(to);
            return false;
        }
    }
    QString path = QDir::toNativeSeparators(QDir(folder).absolutePath());
    if (!path.endsWith(QDir::separator()))
        path += QDir::separator();
    return setItemText(QStringLiteral("&&private_PM&&VexDPath"), path);
}

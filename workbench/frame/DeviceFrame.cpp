#include "DeviceFrame.h"

#include "history/HistoryServerSettings.h"

#include "DatasetFileService.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "HistoryService.h"
#include "HostResult.h"
#include "ProgIdRegistry.h"
#include "hart/HartLink.h"
#include "hart/HartMaster.h"
#include "history/HistoryReportTables.h"
#include "history/HistoryServerSettings.h"

#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

namespace {
constexpr int GermanCountryCode = 49;
} // namespace

DeviceFrame::DeviceFrame(FrameOptions options, HartLink *link, QObject *parent)
    : QObject(parent), m_options(std::move(options)), m_link(link)
{
}

DeviceFrame::~DeviceFrame()
{
    close();
}

bool DeviceFrame::open(QString *error)
{
    const auto description =
        DeviceDescription::load(QLatin1String(DeviceDescription::BuiltInPath), error);
    if (!description)
        return false;
    m_instance = std::make_unique<DeviceInstance>(*description, m_link);
    if (m_options.watchConfiguration)
        m_instance->watchConfiguration();
    Q_EMIT log(QStringLiteral("device instance opened: %1, %2 items, %3 records, %4 sequences")
                   .arg(description->deviceType)
                   .arg(description->items.size())
                   .arg(description->records.size())
                   .arg(description->sequences.size()));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
                           QStringLiteral("/device");
    if (!m_instance->prepareDescriptionFolder(folder, error))
        return false;
    Q_EMIT log(QStringLiteral("device description folder: %1").arg(folder));
    // The history records every write from the first one on.
    const QString history = HistoryServerSettings::effective(m_options.historyDatabase);
    auto service = std::make_shared<HistoryService>(*m_instance, history);
    m_instance->addObject(QLatin1String(HistoryService::ProgId), service);
    // The report's last changes come from it too.
    m_instance->addObject(QLatin1String(IReportTables::ProgId),
                          std::make_shared<HistoryReportTables>(service.get()));
    // Not owned: the link outlives the instance.
    m_instance->addObject(QLatin1String(LinkObject),
                          std::shared_ptr<QObject>(std::shared_ptr<QObject>(), m_link));
    // Owned by the instance, which drops its objects before it.
    m_instance->addObject(
        QLatin1String(MasterObject),
        std::shared_ptr<QObject>(std::shared_ptr<QObject>(), &m_instance->master()));
    applyOptions();
    startViews();
    openDatasetFile();
    return true;
}

void DeviceFrame::applyOptions()
{
    m_instance->setItemText(QStringLiteral("&&private_PM&&Address"),
                            QString::number(m_options.pollingAddress));
    if (!m_options.engineeringContext.isEmpty())
        m_instance->setItemText(QStringLiteral("&&private_FDT&&EngineeringContext"),
                                m_options.engineeringContext);
    // Without a country the user's language picks the report and the
    // default datasets: German for a German user.
    int country = m_options.countryCode;
    if (country == 0 && QLocale().language() == QLocale::German)
        country = GermanCountryCode;
    if (country > 0)
        m_instance->setItemText(QStringLiteral("&&private&&countrycode"), QString::number(country));
}

// As File > Open does: a file that cannot be loaded is reported and the
// program goes on with the device's data.
void DeviceFrame::openDatasetFile()
{
    if (m_options.datasetFile.isEmpty())
        return;
    const QString path = QFileInfo(m_options.datasetFile).absoluteFilePath();
    const qint32 rc = m_instance->files().loadFile(path);
    Q_EMIT log(QStringLiteral("dataset file %1 %2")
                   .arg(path, rc == HostResult::Ok ? QStringLiteral("opened")
                                                   : QStringLiteral("not opened")));
}

void DeviceFrame::startViews()
{
    for (const char *progId : {StartAlwaysView, MainView}) {
        if (!ProgIdRegistry::instance().hasView(QLatin1String(progId)))
            continue;
        const qint32 rc = m_instance->startView(QLatin1String(progId));
        Q_EMIT log(QStringLiteral("view %1 started (%2)").arg(QLatin1String(progId)).arg(rc));
    }
}

void DeviceFrame::close()
{
    if (!m_instance)
        return;
    m_instance->close();
    m_instance.reset();
    Q_EMIT log(QStringLiteral("device instance closed"));
}

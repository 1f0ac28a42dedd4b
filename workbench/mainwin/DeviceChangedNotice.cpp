#include "DeviceChangedNotice.h"

#include "ConfigurationWatch.h"
#include "MainStatusBar.h"
#include "MainWindowLog.h"
#include "MainWindowParts.h"
#include "VexaAppItem.h"
#include "frmMain.h"

#include <QLocale>
#include <QTime>

DeviceChangedNotice::DeviceChangedNotice(frmMain &main)
    : QObject(&main), m_main(main), m_count(new VexaAppItem(&main))
{
    setObjectName(QStringLiteral("DeviceChangedNotice"));
    m_count->setObjectName(QStringLiteral("appChangedElsewhere"));
    m_count->setAppItemName(QLatin1String(ConfigurationWatch::CountItem));
    connect(m_count, &VexaAppItem::ValueChanged, this,
            [this](QString &) { guarded("device changed notice", [this] { countChanged(); }); });
}

void DeviceChangedNotice::countChanged()
{
    const int count = qRound(m_count->UIntValue());
    if (count <= m_told) {
        m_told = count; // a new session of the host counts from 0 again
        return;
    }
    m_told = count;
    const QString time = QLocale().toString(QTime::currentTime(), QLocale::ShortFormat);
    m_main.sbStatusBar()->showTransfer(tr("Changed by another master at %1, read again").arg(time));
    qCInfo(lcWorkbench) << "the device was changed by another master; its values were read again";
}

namespace {

const MainWindowParts::Registration part([](frmMain &main) { new DeviceChangedNotice(main); });

} // namespace

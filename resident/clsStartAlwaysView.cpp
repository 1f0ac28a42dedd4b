#include "clsStartAlwaysView.h"

#include "clsConnEventMgr.h"
#include "clsCurrentSequenceMgr.h"
#include "clsDatasetvalidation.h"
#include "clsDeviceIdentNameMgr.h"
#include "clsEnumMgr.h"
#include "clsHtmlReportFactory.h"
#include "clsMenuMgr.h"
#include "clsOutScaleMgr.h"
#include "clsPrimaryValueMgr.h"
#include "clsRecordMgr.h"
#include "clsUploadDownloadMgr.h"

clsStartAlwaysView::clsStartAlwaysView(QObject *parent) : QObject(parent) {}

clsStartAlwaysView::~clsStartAlwaysView()
{
    // The components go before the view they point to.
    m_components.reset();
}

clsComponentCollection &clsStartAlwaysView::components()
{
    if (!m_components)
        m_components = std::make_unique<clsComponentCollection>();
    return *m_components;
}

void clsStartAlwaysView::OnUploadCompleted()
{
    Q_EMIT UploadCompleted();
}

void clsStartAlwaysView::OnScaleInChanged()
{
    Q_EMIT ScaleInChanged();
}

qint32
clsStartAlwaysView::SetAppletItemManagRef(qint32 lViewHandle,
                                          std::shared_ptr<AppletItemManager> clsAppletItemManager)
{
    m_manager = std::move(clsAppletItemManager);
    m_viewHandle = lViewHandle;
    createComponents();
    components().Register(this);
    return 0;
}

qint32 clsStartAlwaysView::Destroy()
{
    components().UnRegister();
    return 0;
}

// The order is the order of registration and unregistration: the record and
// sequence managers publish before the components that read what they publish.
void clsStartAlwaysView::createComponents()
{
    clsComponentCollection &list = components();
    list.Add(std::make_shared<clsMenuMgr>());
    list.Add(std::make_shared<clsRecordMgr>());
    list.Add(std::make_shared<clsCurrentSequenceMgr>());
    list.Add(std::make_shared<clsDeviceIdentNameMgr>());
    list.Add(std::make_shared<clsUploadDownloadMgr>());
    list.Add(std::make_shared<clsOutScaleMgr>());
    list.Add(std::make_shared<clsDatasetvalidation>());
    list.Add(std::make_shared<clsConnEventMgr>());
    list.Add(std::make_shared<clsPrimaryValueMgr>());
    list.Add(std::make_shared<clsHtmlReportFactory>());
    list.Add(std::make_shared<clsEnumMgr>());
}

#include "clsUploadDownloadMgr.h"

#include "ResidentLog.h"
#include "clsAppItemCollection.h"
#include "clsSeqItemCollection.h"
#include "clsStartAlwaysView.h"
#include "enmRegMask.h"

clsUploadDownloadMgr::clsUploadDownloadMgr() = default;
clsUploadDownloadMgr::~clsUploadDownloadMgr() = default;

void clsUploadDownloadMgr::registerItems(const std::shared_ptr<AppletItemManager> &manager)
{
    m_items = std::make_unique<clsAppItemCollection>();
    m_items->Add(QStringLiteral("InCompatibleDataset"), false, 0);
    m_sequences = std::make_unique<clsSeqItemCollection>();
    m_SeqDownload =
        m_sequences->Add(QStringLiteral("download"), false, 0, REGISTER_STATE | REGISTER_CONTROL);
    m_SeqUpload =
        m_sequences->Add(QStringLiteral("upload"), false, 0, REGISTER_STATE | REGISTER_CONTROL);
    connect(m_SeqDownload.get(), &clsSequenceItem::StatusChanged, this,
            &clsUploadDownloadMgr::m_SeqDownload_StatusChanged);
    connect(m_SeqUpload.get(), &clsSequenceItem::StatusChanged, this,
            &clsUploadDownloadMgr::m_SeqUpload_StatusChanged);
    m_items->Register(manager);
    m_sequences->Register(manager);
}

void clsUploadDownloadMgr::unregisterItems()
{
    m_items->UnRegister();
    m_sequences->UnRegister();
}

void clsUploadDownloadMgr::m_SeqDownload_StatusChanged(qint32 &sequenceStatus)
{
    if (sequenceStatus != 1)
        return;
    qint32 go = 1;
    m_SeqDownload->DoAction(go);
}

void clsUploadDownloadMgr::m_SeqUpload_StatusChanged(qint32 &sequenceStatus)
{
    if (sequenceStatus == 2) {
        m_uploadPhase = 1;
        qint32 go = 1;
        m_SeqUpload->DoAction(go);
    } else if (sequenceStatus == 0 && m_uploadPhase == 1) {
        // The take-over reports 0 again before Adjust returns: the phase
        // moves on first.
        m_uploadPhase = 2;
        try {
            m_SeqUpload->Adjust();
        } catch (const std::exception &error) {
            // No take-over, no completed upload.
            qCInfo(lcResident) << "upload not taken over:" << error.what();
            m_uploadPhase = 0;
        }
    } else if (sequenceStatus == 0 && m_uploadPhase == 2) {
        m_uploadPhase = 0;
        if (myView())
            myView()->OnUploadCompleted();
    }
}

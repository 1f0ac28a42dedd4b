#pragma once

#include "clsComponentBase.h"

class clsAppItemCollection;
class clsSeqItemCollection;
class clsSequenceItem;

// Answers the handshakes of the dataset transfers and announces a finished
// upload to the other components.
class clsUploadDownloadMgr final : public clsComponentBase
{
    Q_OBJECT

public:
    clsUploadDownloadMgr();
    ~clsUploadDownloadMgr() override;

protected:
    void registerItems(const std::shared_ptr<AppletItemManager> &manager) override;
    void unregisterItems() override;

private:
    void m_SeqDownload_StatusChanged(qint32 &sequenceStatus);
    void m_SeqUpload_StatusChanged(qint32 &sequenceStatus);

    std::unique_ptr<clsAppItemCollection> m_items;
    std::unique_ptr<clsSeqItemCollection> m_sequences;
    std::shared_ptr<clsSequenceItem> m_SeqDownload;
    std::shared_ptr<clsSequenceItem> m_SeqUpload;
    // 0 idle, 1 the data is read and the go sent, 2 the take-over asked for.
    int m_uploadPhase = 0;
};

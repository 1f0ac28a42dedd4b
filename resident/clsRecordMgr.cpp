#include "clsRecordMgr.h"

#include "AppletItemManager.h"
#include "Dictionary.h"
#include "MessageBoxSeam.h"
#include "ResidentLog.h"
#include "SequenceWalk.h"
#include "clsAppItemCollection.h"
#include "clsDeviceInfo.h"
#include "clsRecItemCollection.h"
#include "clsResponseMessage.h"
#include "enmRegMask.h"

clsRecordMgr::clsRecordMgr() = default;
clsRecordMgr::~clsRecordMgr() = default;

void clsRecordMgr::registerItems(const std::shared_ptr<AppletItemManager> &manager)
{
    m_deviceInfo = std::make_unique<clsDeviceInfo>();
    m_deviceInfo->Register(manager);

    m_items = std::make_unique<clsAppItemCollection>();
    m_abortSequences = m_items->Add(QStringLiteral("abortSequences"), false, 0);
    m_connectionStatus = m_items->Add(QStringLiteral("&&private&&Connect"), false, 0, nullptr,
                                      QString(), QStringLiteral("ConnectionStatus"));
    m_currentRecord = m_items->Add(QStringLiteral("currentRecord"), false, 0);
    m_currentRecordState = m_items->Add(QStringLiteral("currentRecordState"), false, 0);
    m_currentResponseCode = m_items->Add(QStringLiteral("currentResponseCode"), false, 0);

    // Every record some sequence uses, once, however many sequences use it.
    m_records = std::make_unique<clsRecItemCollection>();
    const auto dictionary = manager->fncGetDictionary();
    walkSequences(*dictionary, [&](qint32 id, const QString &) {
        qint32 count = 0;
        qint32 rc = 0;
        QStringList members;
        dictionary->fncGetObjectMembers(id, QString(), count, members, rc);
        if (rc != 0) {
            qCInfo(lcResident) << "records of sequence" << id << "not read, code" << rc;
            return;
        }
        for (const QString &record : members) {
            try {
                m_records->Add(record, false, 0,
                               REGISTER_STATE | REGISTER_CONTROL | REGISTER_RESPONSE, this,
                               QStringLiteral("RecordItem_StatusChanged"));
            } catch (const std::exception &error) {
                qCInfo(lcResident).noquote()
                    << "record" << record << "not watched:" << error.what();
            }
        }
    });
    m_items->Register(manager);
    m_records->Register(manager);
}

void clsRecordMgr::unregisterItems()
{
    m_items->UnRegister();
    m_records->UnRegister();
}

int clsRecordMgr::recordCount() const
{
    return m_records ? m_records->Count() : 0;
}

void clsRecordMgr::RecordItem_StatusChanged(const QString &recordItemName, qint32 recordStatus)
{
    if (!isRegistered())
        return;
    std::shared_ptr<clsRecordItem> record;
    for (const auto &candidate : m_records->NewEnum()) {
        if (candidate->name().compare(recordItemName, Qt::CaseInsensitive) == 0)
            record = candidate;
    }
    if (!record)
        return;
    m_currentRecordState->setUIntValue(recordStatus);
    m_currentResponseCode->setOctetValue(record->ResponseCode());
    if (recordStatus == 0) {
        m_currentRecord->setStringValue(QString());
        return;
    }
    m_currentRecord->setStringValue(recordItemName);
    if (m_connectionStatus->UIntValue() == 2)
        evaluateResponse(*record, recordStatus);
    else
        doAction(*record, clsResponseMessage::Accept);
}

void clsRecordMgr::evaluateResponse(clsRecordItem &record, qint32 status)
{
    switch (status) {
    case 17:
    case 18:
    case 33:
    case 34:
        doAction(record, clsResponseMessage::GiveUp);
        return;
    case 16:
    case 32:
        break;
    default:
        return;
    }
    const QByteArray response = record.ResponseCode();
    if (response.size() < 3) {
        // Nothing to evaluate; the record must not wait for an answer that
        // never comes.
        doAction(record, clsResponseMessage::GiveUp);
        return;
    }
    const clsResponseMessage verdict(response);
    if (verdict.message().isEmpty() || m_deviceInfo->DtmIsInSystemBatchMode()) {
        doAction(record, verdict.action());
        return;
    }
    MessageBoxRequest request;
    request.icon = verdict.icon();
    request.title = m_deviceInfo->DeviceIdentName();
    request.text = verdict.message();
    request.buttons = verdict.buttons();
    request.systemModal = true;
    const QMessageBox::StandardButton answer = MessageBoxSeam::current().ask(nullptr, request);
    if (answer == QMessageBox::Cancel)
        m_abortSequences->setUIntValue(1);
    doAction(record, verdict.actionFor(answer));
}

void clsRecordMgr::doAction(clsRecordItem &record, qint32 action)
{
    record.DoAction(action);
}

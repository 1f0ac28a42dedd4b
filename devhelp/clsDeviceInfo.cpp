#include "clsDeviceInfo.h"

#include "AppletItemManager.h"
#include "VexException.h"

namespace {
const QString ActiveForms = QStringLiteral("ActiveForms");
const QString EngineeringContext = QStringLiteral("EngineeringContext");
const QString TagName = QStringLiteral("TagName");
const QString Descriptor = QStringLiteral("Descriptor");
const QString SoftwareRevisionItem = QStringLiteral("softwareRevision");
const QString CurrentResponseCode = QStringLiteral("currentResponseCode");
} // namespace

clsDeviceInfo::~clsDeviceInfo()
{
    if (!m_registered)
        return;
    m_items->UnRegister();
    m_manager->fncUnregisterView(this);
}

QVariant clsDeviceInfo::Register(const std::shared_ptr<AppletItemManager> &AppletItemManagerRef)
{
    // A second attach would add every key again and fail inside the host's
    // call; the items are bound already.
    if (!m_registered && AppletItemManagerRef)
        AppletItemManagerRef->fncRegisterView(this);
    return QVariant();
}

qint32 clsDeviceInfo::SetAppletItemManagRef(qint32 lViewHandle,
                                            std::shared_ptr<AppletItemManager> clsAppletItemManager)
{
    m_viewHandle = lViewHandle;
    m_manager = std::move(clsAppletItemManager);
    if (!m_items)
        m_items = std::make_unique<clsAppItemCollection>();
    m_items->Add(QStringLiteral("&&private_FDT&&ActiveForms"), false, 0, nullptr, QString(),
                 ActiveForms);
    m_items->Add(QStringLiteral("&&private_FDT&&EngineeringContext"), false, 0, nullptr, QString(),
                 EngineeringContext);
    m_items->Add(QStringLiteral("&&private_PM&&TagName"), false, 0, nullptr, QString(), TagName);
    m_items->Add(QStringLiteral("&&private_PM&&Descriptor"), false, 0, nullptr, QString(),
                 Descriptor);
    m_items->Add(SoftwareRevisionItem, true, 0);
    m_items->Add(CurrentResponseCode, false, 0);
    m_items->Register(m_manager);
    m_registered = true;
    return 0;
}

std::shared_ptr<clsAppItem> clsDeviceInfo::item(const QString &key) const
{
    std::shared_ptr<clsAppItem> found;
    if (m_items)
        found = m_items->Item(key);
    else
        clsAppItemCollection().Item(key); // tells the user which item is missing
    if (!found)
        throw VexException(VexException::ObjectRequired, QStringLiteral("clsDeviceInfo"),
                           QStringLiteral("Objektvariable nicht festgelegt"));
    return found;
}

qint16 clsDeviceInfo::FixedCurrentModeEnabled() const
{
    const QByteArray bytes = item(CurrentResponseCode)->OctetValue().toByteArray();
    return bytes.size() > 2 && (quint8(bytes[2]) & 0x08) ? 1 : 0;
}

qint16 clsDeviceInfo::versionFromBytes(const QByteArray &bytes)
{
    QString digits;
    for (qsizetype i = 0; i < qMin<qsizetype>(3, bytes.size()); ++i)
        digits += QString::number(quint8(bytes[i]));
    // Up to nine digits: a 64-bit number holds them all.
    const qint64 joined = digits.toLongLong();
    return qint16(qMin<qint64>(joined, 32767));
}

qint16 clsDeviceInfo::SoftwareVersion() const
{
    return versionFromBytes(item(SoftwareRevisionItem)->OctetValue().toByteArray());
}

std::array<quint8, 3> clsDeviceInfo::SoftwareRevision() const
{
    const QByteArray bytes = item(SoftwareRevisionItem)->OctetValue().toByteArray();
    std::array<quint8, 3> revision{};
    for (qsizetype i = 0; i < qMin<qsizetype>(3, bytes.size()); ++i)
        revision[i] = quint8(bytes[i]);
    return revision;
}

QString clsDeviceInfo::DeviceIdentName() const
{
    return item(TagName)->StringValue().trimmed() + QStringLiteral(": ") +
           item(Descriptor)->StringValue().trimmed();
}

bool clsDeviceInfo::DtmIsInSystemBatchMode() const
{
    // The context is text in this host; its unsigned reading is then 0, which
    // is never the "no context" value -1.
    return item(ActiveForms)->UIntValue() == 0 && item(EngineeringContext)->UIntValue() != -1;
}

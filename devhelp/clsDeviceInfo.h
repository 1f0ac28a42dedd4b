#pragma once

#include "IDeviceInfo.h"
#include "View.h"
#include "clsAppItemCollection.h"

#include <memory>

// Device and engineering-system facts read from a fixed set of host items.
// Register hands this object to the host as a view; the host's attach binds
// the items.
class clsDeviceInfo final : public View, public IDeviceInfo
{
public:
    clsDeviceInfo() = default;
    ~clsDeviceInfo() override;
    clsDeviceInfo(const clsDeviceInfo &) = delete;
    clsDeviceInfo &operator=(const clsDeviceInfo &) = delete;

    // IDeviceInfo
    qint16 FixedCurrentModeEnabled() const override;
    qint16 SoftwareVersion() const override;
    std::array<quint8, 3> SoftwareRevision() const override;
    QString DeviceIdentName() const override;
    enmCommType CommType() const override { return HART; }
    bool DtmIsInSystemBatchMode() const override;
    QVariant Register(const std::shared_ptr<AppletItemManager> &AppletItemManagerRef) override;

    // View
    qint32 SetAppletItemManagRef(qint32 lViewHandle,
                                 std::shared_ptr<AppletItemManager> clsAppletItemManager) override;
    qint32 Show() override { return 0; }
    qint32 Hide() override { return 0; }
    qint32 Destroy() override { return 0; }
    qint32 NotifyChanged(qint32, bool, qint32, qint32) override { return 0; }

    bool isRegistered() const { return m_registered; }

    // The software revision bytes joined as decimal numbers (1, 10, 0 give
    // 1100), saturated at the largest 16-bit value.
    static qint16 versionFromBytes(const QByteArray &bytes);

private:
    std::shared_ptr<clsAppItem> item(const QString &key) const;

    qint32 m_viewHandle = 0;
    std::shared_ptr<AppletItemManager> m_manager;
    std::unique_ptr<clsAppItemCollection> m_items;
    bool m_registered = false;
};

#pragma once

#include "View.h"

class IAppItem;

// The private view through which one item receives the host's notifications.
// It leaves the host when it is destroyed, not when its item unregisters.
class clsAppItemView final : public View
{
public:
    clsAppItemView() = default;
    ~clsAppItemView() override;
    clsAppItemView(const clsAppItemView &) = delete;
    clsAppItemView &operator=(const clsAppItemView &) = delete;

    void setItem(IAppItem *item) { m_item = item; }
    IAppItem *item() const { return m_item; }
    qint32 viewHandle() const { return m_viewHandle; }
    const std::shared_ptr<AppletItemManager> &manager() const { return m_manager; }

    qint32 SetAppletItemManagRef(qint32 lViewHandle,
                                 std::shared_ptr<AppletItemManager> clsAppletItemManager) override;
    qint32 Show() override { return 0; }
    qint32 Hide() override { return 0; }
    qint32 Destroy() override { return 0; }
    qint32 NotifyChanged(qint32 lAppletItemHandle, bool bShadowValue, qint32 lStateInfo,
                         qint32 lUserLong) override;

    // What NotifyChanged answers when no item is set.
    static constexpr qint32 NoItemError = qint32(0x80004003);

private:
    IAppItem *m_item = nullptr;
    qint32 m_viewHandle = 0;
    std::shared_ptr<AppletItemManager> m_manager;
};

#pragma once

#include "View.h"
#include "clsComponentCollection.h"

#include <QObject>
#include <memory>

// The view the host starts with every device instance. It has no window: it
// runs the always-started components and relays the two device-wide events
// between them.
class clsStartAlwaysView : public QObject, public View
{
    Q_OBJECT

public:
    explicit clsStartAlwaysView(QObject *parent = nullptr);
    ~clsStartAlwaysView() override;

    std::shared_ptr<AppletItemManager> AppletItemManagerRef() const { return m_manager; }
    qint32 viewHandle() const { return m_viewHandle; }
    clsComponentCollection &components();

    void OnUploadCompleted();
    void OnScaleInChanged();

    qint32 SetAppletItemManagRef(qint32 lViewHandle,
                                 std::shared_ptr<AppletItemManager> clsAppletItemManager) override;
    qint32 Show() override { return 0; }
    qint32 Hide() override { return 0; }
    qint32 Destroy() override;
    qint32 NotifyChanged(qint32, bool, qint32, qint32) override { return 0; }

Q_SIGNALS:
    void UploadCompleted();
    void ScaleInChanged();

private:
    void createComponents();

    qint32 m_viewHandle = 0;
    std::shared_ptr<AppletItemManager> m_manager;
    std::unique_ptr<clsComponentCollection> m_components;
};

#pragma once

#include "IStartAlwaysComponent.h"
#include "clsStartAlwaysView.h"

#include <QObject>
#include <QPointer>
#include <memory>

class AppletItemManager;

// The shape every always-started component shares: a registered flag that
// makes a second Register or UnRegister do nothing, and the hosting view.
class clsComponentBase : public QObject, public IStartAlwaysComponent
{
    Q_OBJECT

public:
    void Register(clsStartAlwaysView *myView) final;
    void UnRegister() final;
    bool isRegistered() const { return m_registered; }

protected:
    explicit clsComponentBase(QObject *parent = nullptr);

    // Creates and registers the component's items.
    virtual void registerItems(const std::shared_ptr<AppletItemManager> &manager) = 0;
    virtual void unregisterItems() = 0;
    // Rules that run once the component is registered.
    virtual void afterRegister() {}

    clsStartAlwaysView *myView() const { return m_myView.data(); }
    std::shared_ptr<AppletItemManager> manager() const;

private:
    QPointer<clsStartAlwaysView> m_myView;
    bool m_registered = false;
};

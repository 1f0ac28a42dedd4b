#pragma once

#include "IViewEx.h"
#include "View.h"

#include <QString>
#include <memory>

class Applet;

// A one-shot view: it does its whole job when the host attaches it and then
// asks the host to release it.
class clsFunctionViewBase : public View, public IViewEx
{
public:
    qint32 SetAppletItemManagRef(qint32 lViewHandle,
                                 std::shared_ptr<AppletItemManager> clsAppletItemManager) final;
    qint32 Show() override { return 0; }
    qint32 Hide() override { return 0; }
    qint32 Destroy() override;
    qint32 NotifyChanged(qint32, bool, qint32, qint32) override { return 0; }

    std::shared_ptr<AppletItemManager> appletItemManagerRef() const override { return m_manager; }
    void UnRegisterView() override {}

protected:
    virtual void run() = 0;
    qint32 viewHandle() const { return m_viewHandle; }

private:
    qint32 m_viewHandle = 0;
    std::shared_ptr<AppletItemManager> m_manager;
};

// Frames one of the host's dataset file operations with a marker in
// "currentSequence", so that the rules that react to item changes rest while
// the file is read or written.
class clsFileViewBase : public clsFunctionViewBase
{
protected:
    void run() final;
    virtual QString marker() const = 0;
    virtual void fileOperation(Applet &applet) = 0;
};

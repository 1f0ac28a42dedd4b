#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <memory>

class AppletItemManager;
class IVexaFrameworkControl;
class QWidget;

// The framework's item handler: binds every framework control of a dialog
// (its children in creation order, framework controls found by
// IVexaFrameworkControl; other windows and the insides of a framework control
// are not searched) to the items named in its properties, unbinds them again,
// and brings them in step with the host on update. Raises Deactivated when
// the dialog loses the activation while it is registered.
//
// The three operations can be called by name (QMetaObject::invokeMethod).
class VexaCtrlItemHandler : public QObject
{
    Q_OBJECT

public:
    explicit VexaCtrlItemHandler(QObject *parent = nullptr);
    ~VexaCtrlItemHandler() override;

    // The programmatic identifier the item controls' handler creates it by.
    static constexpr const char *ProgId = "VexaCtrItemHandler.VexaCtrlItemHandler";

    Q_INVOKABLE void registerControls(QWidget *dialog, std::shared_ptr<AppletItemManager> manager);
    Q_INVOKABLE void unregisterControls();
    Q_INVOKABLE void update();

    // The names the dialog frame's handler calls them by.
    Q_INVOKABLE void Register(QWidget *dialog, std::shared_ptr<AppletItemManager> manager)
    {
        registerControls(dialog, std::move(manager));
    }
    Q_INVOKABLE void UnRegister() { unregisterControls(); }
    Q_INVOKABLE void Update() { update(); }

    QWidget *dialog() const { return m_dialog; }
    // The controls bound by the last registration, in binding order.
    QList<QObject *> boundControls() const;

    // The framework controls of a dialog, in the order they are bound.
    static QList<IVexaFrameworkControl *> frameworkControls(QWidget *dialog);

Q_SIGNALS:
    void Deactivated();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Bound
    {
        QPointer<QObject> object;
        IVexaFrameworkControl *control;
    };

    QPointer<QWidget> m_dialog;
    QList<Bound> m_bound;
};

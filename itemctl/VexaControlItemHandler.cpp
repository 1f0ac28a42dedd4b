#include "VexaControlItemHandler.h"

#include "IVexaForm.h"
#include "ItemctlLog.h"
#include "Module1.h"
#include "ProgIdRegistry.h"
#include "VexException.h"

namespace {

constexpr qint32 ObjectDoesNotSupport = 438;
constexpr qint32 TypeMismatch = 13;

bool isItemControl(const QObject *control)
{
    return control->property("Typ").toString() == QLatin1String("VexaItem");
}

// Another window or dialog inside this one keeps its own controls.
bool isOtherForm(const QWidget *widget)
{
    return widget->isWindow() || dynamic_cast<const IVexaForm *>(widget) != nullptr;
}

void collect(QWidget *parent, QList<QWidget *> &controls)
{
    for (QObject *child : parent->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (!widget || isOtherForm(widget))
            continue;
        controls.append(widget);
        // A control that registers itself (a display) binds its own insides.
        if (!isItemControl(widget))
            collect(widget, controls);
    }
}

} // namespace

VexaControlItemHandler::VexaControlItemHandler(QWidget *parent)
    : VexaDesignControl(QStringLiteral("VexaControlItemHandler"), parent)
{
}

VexaControlItemHandler::~VexaControlItemHandler() = default;

QList<QWidget *> VexaControlItemHandler::Controls(QWidget *dialog)
{
    QList<QWidget *> controls;
    if (dialog)
        collect(dialog, controls);
    return controls;
}

void VexaControlItemHandler::LeaveDesignMode(QWidget *dialog)
{
    for (QWidget *control : Controls(dialog)) {
        if (auto *designed = qobject_cast<VexaDesignControl *>(control))
            designed->setDesignMode(false);
    }
}

void VexaControlItemHandler::Register(IVexaForm *parentForm,
                                      std::shared_ptr<AppletItemManager> AppletItemManagerRef)
{
    auto *dialog = dynamic_cast<QWidget *>(parentForm);
    if (!dialog)
        throw VexException(TypeMismatch, QStringLiteral("VexaControlItemHandler.Register"),
                           QStringLiteral("Typen unverträglich"));
    Register1(dialog, std::move(AppletItemManagerRef));
}

void VexaControlItemHandler::Register1(QWidget *parentForm,
                                       std::shared_ptr<AppletItemManager> AppletItemManagerRef)
{
    if (!m_standAlone) {
        if (QObject *handler = framework()) {
            if (!QMetaObject::invokeMethod(
                    handler, "Register", Qt::DirectConnection, Q_ARG(QWidget *, parentForm),
                    Q_ARG(std::shared_ptr<AppletItemManager>, AppletItemManagerRef)))
                throw VexException(ObjectDoesNotSupport,
                                   QStringLiteral("VexaControlItemHandler.Register1"),
                                   QStringLiteral("Objekt unterstützt diese Eigenschaft oder "
                                                  "Methode nicht"));
        }
    }
    m_parentForm = parentForm;
    LeaveDesignMode(parentForm);
    // One faulty control must not keep the others unbound.
    for (QWidget *control : Controls(parentForm)) {
        if (!isItemControl(control))
            continue;
        try {
            QMetaObject::invokeMethod(
                control, "Register", Qt::DirectConnection,
                Q_ARG(std::shared_ptr<AppletItemManager>, AppletItemManagerRef));
        } catch (...) {
            qCInfo(lcItemctl).noquote()
                << "control" << control->objectName() << "not registered:" << CurrentErrorText();
        }
    }
}

void VexaControlItemHandler::UnRegister()
{
    if (!m_standAlone) {
        try {
            callFramework("UnRegister");
        } catch (...) {
            qCInfo(lcItemctl).noquote()
                << "framework controls not unregistered:" << CurrentErrorText();
        }
    }
    for (QWidget *control : Controls(m_parentForm)) {
        if (!isItemControl(control))
            continue;
        try {
            QMetaObject::invokeMethod(control, "UnRegister", Qt::DirectConnection);
        } catch (...) {
            qCInfo(lcItemctl).noquote()
                << "control" << control->objectName() << "not unregistered:" << CurrentErrorText();
        }
    }
    m_parentForm = nullptr;
}

void VexaControlItemHandler::UpdateVexaControls()
{
    if (!m_standAlone)
        callFramework("Update");
}

void VexaControlItemHandler::setStandAlone(bool standAlone)
{
    if (!DesignMode())
        raiseSetAtRunTime("StandAlone");
    m_standAlone = standAlone;
}

void VexaControlItemHandler::setFrameworkHandler(std::shared_ptr<QObject> handler)
{
    if (m_framework)
        disconnect(m_framework.get(), nullptr, this, nullptr);
    m_framework = std::move(handler);
    m_frameworkLookedUp = true;
    if (m_framework && m_framework->metaObject()->indexOfSignal("Deactivated()") >= 0)
        connect(m_framework.get(), SIGNAL(Deactivated()), this, SIGNAL(Deactivated()));
}

// Made on first use, so that a stand-alone handler never makes one.
QObject *VexaControlItemHandler::framework()
{
    if (!m_frameworkLookedUp)
        setFrameworkHandler(
            ProgIdRegistry::instance().createObject(QLatin1String(FrameworkProgId)));
    return m_framework.get();
}

void VexaControlItemHandler::callFramework(const char *operation)
{
    if (QObject *handler = framework())
        QMetaObject::invokeMethod(handler, operation, Qt::DirectConnection);
}

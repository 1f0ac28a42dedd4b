#include "VexaCtrlItemHandler.h"

#include "HostLog.h"
#include "IVexaFrameworkControl.h"

#include <QEvent>
#include <QWidget>
#include <exception>

#include "ProgIdRegistry.h"

namespace {
// Available by its identifier as soon as the host library is loaded.
const bool registered = (ProgIdRegistry::instance().registerObject(
                             QLatin1String(VexaCtrlItemHandler::ProgId),
                             [] { return std::make_shared<VexaCtrlItemHandler>(); }),
                         true);
} // namespace

namespace {

void collect(QObject *parent, QList<IVexaFrameworkControl *> &found)
{
    for (QObject *child : parent->children()) {
        // A window of its own (a child dialog) has its own handler.
        if (auto *widget = qobject_cast<QWidget *>(child); widget && widget->isWindow())
            continue;
        if (auto *control = dynamic_cast<IVexaFrameworkControl *>(child)) {
            found.append(control);
            continue;
        }
        collect(child, found);
    }
}

// One faulty control must not keep the others from their items.
template <typename Call> void trapped(Call call)
{
    try {
        call();
    } catch (const std::exception &error) {
        qCInfo(lcHost) << "framework control left out:" << error.what();
    }
}

} // namespace

VexaCtrlItemHandler::VexaCtrlItemHandler(QObject *parent) : QObject(parent) {}

VexaCtrlItemHandler::~VexaCtrlItemHandler()
{
    unregisterControls();
}

QList<IVexaFrameworkControl *> VexaCtrlItemHandler::frameworkControls(QWidget *dialog)
{
    QList<IVexaFrameworkControl *> found;
    if (dialog)
        collect(dialog, found);
    return found;
}

void VexaCtrlItemHandler::registerControls(QWidget *dialog,
                                           std::shared_ptr<AppletItemManager> manager)
{
    unregisterControls();
    if (!dialog || !manager)
        return;
    m_dialog = dialog;
    for (IVexaFrameworkControl *control : frameworkControls(dialog)) {
        m_bound.append({dynamic_cast<QObject *>(control), control});
        trapped([&] { control->registerItems(manager); });
    }
    dialog->installEventFilter(this);
}

void VexaCtrlItemHandler::unregisterControls()
{
    if (m_dialog)
        m_dialog->removeEventFilter(this);
    // Controls destroyed meanwhile are gone from the host already.
    for (const Bound &bound : std::as_const(m_bound)) {
        if (bound.object)
            trapped([&] { bound.control->unregisterItems(); });
    }
    m_bound.clear();
    m_dialog.clear();
}

void VexaCtrlItemHandler::update()
{
    for (const Bound &bound : std::as_const(m_bound)) {
        if (bound.object)
            trapped([&] { bound.control->updateItems(); });
    }
}

QList<QObject *> VexaCtrlItemHandler::boundControls() const
{
    QList<QObject *> objects;
    for (const Bound &bound : m_bound) {
        if (bound.object)
            objects.append(bound.object);
    }
    return objects;
}

bool VexaCtrlItemHandler::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_dialog && event->type() == QEvent::WindowDeactivate)
        Q_EMIT Deactivated();
    return QObject::eventFilter(watched, event);
}

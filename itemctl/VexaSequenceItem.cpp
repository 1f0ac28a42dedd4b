#include "VexaSequenceItem.h"

#include "ItemctlLog.h"
#include "Module1.h"
#include "VexException.h"
#include "clsAppItem.h"
#include "clsSequenceItem.h"
#include "enmRegMask.h"

#include <QCoreApplication>
#include <QTimer>

namespace {
constexpr int RetryPauseMs = 250;
} // namespace

VexaSequenceItem::VexaSequenceItem(QWidget *parent)
    : VexaDesignControl(QStringLiteral("Sequence: "), parent),
      m_item(std::make_unique<clsSequenceItem>()), m_retry(new QTimer(this))
{
    m_retry->setSingleShot(true);
    m_retry->setInterval(RetryPauseMs);
    connect(m_retry, &QTimer::timeout, this, &VexaSequenceItem::retryNow);
    // Red marks the sequence controls among the item controls of a dialog.
    QPalette red = palette();
    red.setColor(QPalette::Window, QColor(255, 0, 0));
    setPalette(red);
    setAutoFillBackground(true);
    connect(m_item.get(), &clsSequenceItem::StatusChanged, this,
            [this](qint32 &status) { Q_EMIT StatusChanged(status); });
}

VexaSequenceItem::~VexaSequenceItem()
{
    UnRegister();
}

void VexaSequenceItem::Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef)
{
    if (m_appItemName.isEmpty())
        return;
    UnRegister();
    const qint16 regMask =
        (m_registerState ? REGISTER_STATE : 0) | (m_registerControl ? REGISTER_CONTROL : 0);
    m_manager = AppletItemManagerRef;
    try {
        m_item->Register(std::move(AppletItemManagerRef), m_appItemName, m_registerOnShadow, 0,
                         regMask);
    } catch (...) {
        qCInfo(lcItemctl).noquote() << "Sequence" << m_appItemName
                                    << "not registered, reports no status:" << CurrentErrorText();
    }
    m_actionTarget = this;
    m_registered = true;
}

// The wrapper stays with the control, so that a dialog that is closed and
// opened again (or the busy window following one sequence after another)
// can register the control anew.
void VexaSequenceItem::UnRegister()
{
    if (!m_registered)
        return;
    m_waiting.clear();
    m_retry->stop();
    m_running.reset();
    m_manager.reset();
    try {
        m_item->UnRegister();
    } catch (...) {
        qCInfo(lcItemctl).noquote()
            << "Sequence" << m_appItemName << "not unregistered:" << CurrentErrorText();
    }
    m_registered = false;
}

double VexaSequenceItem::SequenceState() const
{
    try {
        return m_item->SequenceState();
    } catch (...) {
        qCInfo(lcItemctl).noquote() << "Sequence" << m_appItemName
                                    << "did not read its state, reports 0:" << CurrentErrorText();
        return 0;
    }
}

void VexaSequenceItem::Adjust(bool immediate)
{
    if (immediate)
        m_item->Adjust();
    else
        post(this, VexaCommandEvent::AdjustCode, 0);
}

void VexaSequenceItem::Force(bool immediate)
{
    if (immediate)
        m_item->Force();
    else
        post(this, VexaCommandEvent::ForceCode, 0);
}

void VexaSequenceItem::Start(bool immediate)
{
    if (immediate)
        m_item->Start();
    else
        post(this, VexaCommandEvent::StartCode, 0);
}

void VexaSequenceItem::DoAction(qint32 action, bool immediate)
{
    if (immediate)
        m_item->DoAction(action);
    else
        post(m_actionTarget, VexaCommandEvent::DoActionCode, action);
}

void VexaSequenceItem::post(QObject *target, VexaCommandEvent::Code code, qint32 parameter)
{
    // Before any registration there is no target: the command is lost.
    if (target)
        QCoreApplication::postEvent(target, new VexaCommandEvent(code, parameter));
    else
        qCInfo(lcItemctl).noquote()
            << "Sequence" << m_appItemName << "not registered: command" << int(code) << "is lost";
}

bool VexaSequenceItem::event(QEvent *event)
{
    if (VexaCommandEvent::isCommand(event)) {
        const auto *command = static_cast<VexaCommandEvent *>(event);
        runDeferred(command->code(), command->parameter());
    }
    return VexaDesignControl::event(event);
}

void VexaSequenceItem::runDeferred(VexaCommandEvent::Code code, qint32 parameter)
{
    try {
        switch (code) {
        case VexaCommandEvent::DoActionCode: {
            qint32 action = parameter;
            m_item->DoAction(action);
            break;
        }
        case VexaCommandEvent::StartCode:
            m_item->Start();
            break;
        case VexaCommandEvent::ForceCode:
            m_item->Force();
            break;
        case VexaCommandEvent::AdjustCode:
            m_item->Adjust();
            break;
        }
    } catch (const VexException &error) {
        // Another sequence still runs: ask again once it has ended.
        if (error.number() == SEQUENCE_BUSY)
            retryLater(code, parameter);
        else
            qCInfo(lcItemctl).noquote() << "Sequence" << m_appItemName << "did not run command"
                                        << int(code) << "-" << error.what();
    } catch (...) {
        qCInfo(lcItemctl).noquote() << "Sequence" << m_appItemName << "did not run command"
                                    << int(code) << "-" << CurrentErrorText();
    }
}

void VexaSequenceItem::retryLater(VexaCommandEvent::Code code, qint32 parameter)
{
    if (!m_waiting.contains(qMakePair(code, parameter)))
        m_waiting.append(qMakePair(code, parameter));
    if (!m_running && m_manager) {
        auto running = std::make_unique<clsAppItem>();
        try {
            running->Register(m_manager, QStringLiteral("currentSequence"));
            connect(running.get(), &clsAppItem::ValueUpdate, this,
                    [this](QString &) { retryNow(); });
            m_running = std::move(running);
        } catch (const VexException &error) {
            qCInfo(lcItemctl).noquote()
                << "Sequence" << m_appItemName << "retries after a pause:" << error.what();
        }
    }
    // Also after a pause: not every host publishes the running sequence.
    m_retry->start();
}

void VexaSequenceItem::retryNow()
{
    m_retry->stop();
    const auto waiting = std::exchange(m_waiting, {});
    for (const auto &[code, parameter] : waiting)
        post(this, code, parameter);
}

void VexaSequenceItem::setAppItemName(const QString &name)
{
    m_appItemName = name;
    setCaption(QStringLiteral("Sequence: ") + name);
}

void VexaSequenceItem::setRegisterOnShadow(bool registerOnShadow)
{
    if (!DesignMode())
        raiseSetAtRunTime("RegisterOnShadow");
    m_registerOnShadow = registerOnShadow;
}

#include "clsVexaForm.h"

#include "IViewEx.h"
#include "Module1.h"
#include "Toolkit_LoadResource.h"
#include "VexaControlItemHandler.h"
#include "WorkbenchLog.h"
#include "global.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QTabWidget>

clsVexaForm::clsVexaForm(QWidget *parent)
    : QWidget(parent), m_handler(new VexaControlItemHandler(this))
{
    m_handler->setObjectName(QStringLiteral("VexaControlItemHandler1"));
}

clsVexaForm::~clsVexaForm()
{
    if (m_initialized)
        m_handler->UnRegister();
}

QString clsVexaForm::GetTextFromResource(qint16 &iTextID) const
{
    try {
        return GetResText(iTextID);
    } catch (...) {
        qCInfo(lcWorkbench).noquote() << "text" << iTextID << "not found:" << CurrentErrorText();
        return QString();
    }
}

void clsVexaForm::UpdateVexaControls()
{
    m_handler->UpdateVexaControls();
}

QWidget *clsVexaForm::container() const
{
    if (auto *frame = findChild<QWidget *>(QStringLiteral("fraGroupAll")))
        return frame;
    return tabs();
}

QTabWidget *clsVexaForm::tabs() const
{
    return findChild<QTabWidget *>(QStringLiteral("tbsOptions"));
}

void clsVexaForm::CommonLoad()
{
    // Nothing is shown before the items are bound.
    if (QWidget *frame = container())
        frame->setVisible(false);
    VexaControlItemHandler::LeaveDesignMode(this);
    LoadResStrings(this);
    RestoreWindowPlacement(this, false, false);
    watchTabs();
    m_loaded = true;
    FormLoad();
}

bool clsVexaForm::CommonActivate()
{
    if (m_initialized)
        return false;
    m_handler->Register1(this, m_view ? m_view->appletItemManagerRef() : nullptr);
    if (QWidget *frame = container())
        frame->setVisible(true);
    m_initialized = true;
    FormActivated();
    return true;
}

void clsVexaForm::CommonUnload()
{
    const auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!isMinimized() && !(frame && frame->isMinimized()))
        SaveWindowPlacement(this, false, false);
    if (QWidget *shown = container())
        shown->setVisible(false);
    m_handler->UnRegister();
    m_initialized = false;
    m_loaded = false;
    FormUnload();
}

void clsVexaForm::CommonTabChange(int previousTab)
{
    QTabWidget *pages = tabs();
    if (!pages)
        return;
    if (QWidget *previous = pages->widget(previousTab))
        previous->setEnabled(false);
    if (QWidget *current = pages->currentWidget()) {
        current->setEnabled(true);
        pages->setProperty("HelpContextID", current->property("HelpContextID"));
    }
}

void clsVexaForm::watchTabs()
{
    QTabWidget *pages = tabs();
    if (!pages || m_tabsWatched)
        return;
    m_tabsWatched = true;
    m_currentTab = pages->currentIndex();
    for (int i = 0; i < pages->count(); ++i)
        pages->widget(i)->setEnabled(i == m_currentTab);
    connect(pages, &QTabWidget::currentChanged, this, [this](int index) {
        const int previous = m_currentTab;
        m_currentTab = index;
        CommonTabChange(previous);
    });
}

void clsVexaForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_loaded)
        CommonLoad();
    CommonActivate();
}

void clsVexaForm::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_loaded)
        CommonActivate();
}

void clsVexaForm::closeEvent(QCloseEvent *event)
{
    if (m_loaded)
        CommonUnload();
    event->accept();
}

#include "ctlBusyWindow.h"

#include "frmBusyWindow.h"

ctlBusyWindow::ctlBusyWindow(QWidget *parent)
    : VexaDesignControl(QStringLiteral("BusyWindow"), parent)
{
}

// The window goes first, while this control can still pass on its last
// EnableWindow.
ctlBusyWindow::~ctlBusyWindow()
{
    m_form.reset();
}

void ctlBusyWindow::Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef)
{
    // A second registration replaces the window: two loaded busy windows
    // would both follow the sequences and both show.
    m_form.reset();
    m_form = std::make_unique<frmBusyWindow>(this, std::move(AppletItemManagerRef));
    m_form->Load();
    m_registered = true;
}

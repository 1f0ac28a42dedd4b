#include "DisplayWindow.h"

#include "mainwin/global.h"

#include <QMdiSubWindow>
#include <cmath>

DisplayWindow::DisplayWindow(const char *name, qint16 captionId, Placement placement,
                             QWidget *parent)
    : clsVexaForm(parent), m_placement(placement)
{
    setObjectName(QLatin1String(name));
    setProperty("Tag", int(captionId));
}

int DisplayWindow::pixels(int twips) const
{
    return int(std::lround(twips * logicalDpiX() / 1440.0));
}

void DisplayWindow::FormLoad()
{
    // The frame restored the position; the size where this window keeps it.
    if (m_placement.width || m_placement.height)
        RestoreWindowPlacement(this, m_placement.width, m_placement.height);
}

void DisplayWindow::FormUnload()
{
    if (m_placement.width || m_placement.height)
        SaveWindowPlacement(this, m_placement.width, m_placement.height);
}

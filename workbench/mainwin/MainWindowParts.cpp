#include "MainWindowParts.h"

#include <QMap>

namespace {
QMap<int, MainWindowParts::Maker> &makers()
{
    static QMap<int, MainWindowParts::Maker> registered;
    return registered;
}
int nextId = 1;
} // namespace

void MainWindowParts::makeAll(frmMain &main)
{
    for (const Maker &make : std::as_const(makers()))
        make(main);
}

MainWindowParts::Registration::Registration(Maker maker) : m_id(nextId++)
{
    makers().insert(m_id, std::move(maker));
}

MainWindowParts::Registration::~Registration()
{
    makers().remove(m_id);
}

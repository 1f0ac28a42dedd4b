#include "VexaCommandEvent.h"

namespace {
// Reserves the four codes once, so that no other part of the program is
// handed one of them by QEvent::registerEventType.
const bool codesReserved = [] {
    for (int code = VexaCommandEvent::DoActionCode; code <= VexaCommandEvent::AdjustCode; ++code)
        QEvent::registerEventType(code);
    return true;
}();
} // namespace

VexaCommandEvent::VexaCommandEvent(Code code, qint32 parameter)
    : QEvent(QEvent::Type(code)), m_parameter(parameter)
{
    Q_UNUSED(codesReserved);
}

bool VexaCommandEvent::isCommand(const QEvent *event)
{
    return event->type() >= QEvent::Type(DoActionCode) && event->type() <= QEvent::Type(AdjustCode);
}

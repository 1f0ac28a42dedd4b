#include "clsHTMLPrintOut.h"

#include "clsAppItem.h"

void clsHTMLPrintOut::run()
{
    clsAppItem request;
    request.Register(appletItemManagerRef(), QStringLiteral("generateHTMLPrintOut"));
    request.setStringValue(QStringLiteral("1"));
}

#include "FrameworkSampleDialog.h"
#include "GrabRegistry.h"
#include "Grabber.h"
#include "TestHost.h"

#include "DeviceDescription.h"
#include "VexAppletItemManager.h"

#include <QScopeGuard>

VEX_GRAB(grabFrameworkControls, "framework-controls",
         "the framework's field controls: read, edited and disabled rows")
{
    VexaTextLookup::install(FrameworkSampleDialog::programStrings());
    const auto restore = qScopeGuard([] { VexaTextLookup::install(nullptr); });
    TestHost host(testhost::builtInDescription());
    FrameworkSampleDialog dialog(host.manager());
    grab.save(dialog, QStringLiteral("framework-controls"));
}

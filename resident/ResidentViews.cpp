#include "ResidentViews.h"

#include "ProgIdRegistry.h"
#include "clsHTMLPrintOut.h"
#include "clsLoadFromFile.h"
#include "clsSaveAsToFile.h"
#include "clsSaveToFile.h"
#include "clsStartAlwaysView.h"

namespace {
template <class T> void registerView(const char *progId)
{
    ProgIdRegistry::instance().registerView(QLatin1String(progId),
                                            [] { return std::make_shared<T>(); });
}
} // namespace

void registerResidentViews()
{
    registerView<clsStartAlwaysView>("Resident.clsStartAlwaysView");
    registerView<clsLoadFromFile>("Resident.clsLoadFromFile");
    registerView<clsSaveToFile>("Resident.clsSaveToFile");
    registerView<clsSaveAsToFile>("Resident.clsSaveAsToFile");
    registerView<clsHTMLPrintOut>("Resident.clsHTMLPrintOut");
}

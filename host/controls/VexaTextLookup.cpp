#include "VexaTextLookup.h"

#include "HostLog.h"
#include "Module1.h"

namespace {
VexaTextLookup::Function &lookup()
{
    static VexaTextLookup::Function function;
    return function;
}
} // namespace

void VexaTextLookup::install(Function function)
{
    lookup() = std::move(function);
}

const VexaTextLookup::Function &VexaTextLookup::installed()
{
    return lookup();
}

QString VexaTextLookup::text(int id, const QString &fallback)
{
    if (id <= 0 || !lookup())
        return fallback;
    // A lookup that fails must not take the caption away.
    try {
        const QString text = lookup()(id);
        return text.isEmpty() ? fallback : text;
    } catch (...) {
        qCInfo(lcHost).noquote() << "text" << id << "not found, the caption stays" << fallback
                                 << "-" << CurrentErrorText();
        return fallback;
    }
}

#include "HostFactory.h"

#include "DeviceDescription.h"
#include "ItemStore.h"
#include "VexAppletItemManager.h"
#include "VexDictionary.h"

namespace HostFactory {

std::shared_ptr<VexAppletItemManager> createManager(const DeviceDescription &description)
{
    auto shared = std::make_shared<const DeviceDescription>(description);
    auto store = std::make_shared<ItemStore>(*shared);
    auto dictionary = std::make_shared<VexDictionary>(shared, store);
    return std::make_shared<VexAppletItemManager>(store, dictionary);
}

} // namespace HostFactory

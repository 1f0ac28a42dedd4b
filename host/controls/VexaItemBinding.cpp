#include "VexaItemBinding.h"

#include "AppletItemManager.h"
#include "HostLog.h"
#include "ItemStore.h"
#include "VexAppletItemManager.h"
#include "VexException.h"
#include "clsAppItem.h"

VexaItemBinding::VexaItemBinding(QObject *parent) : QObject(parent) {}

VexaItemBinding::~VexaItemBinding() = default;

bool VexaItemBinding::bind(const std::shared_ptr<AppletItemManager> &manager, const QString &name,
                           qint16 updateInterval)
{
    unbind();
    if (!manager || name.isEmpty())
        return false;
    m_item = std::make_unique<clsAppItem>();
    connect(m_item.get(), &clsAppItem::ValueUpdate3, this,
            [this](QString &, qint32 &itemState) { m_state = itemState; });
    connect(m_item.get(), &clsAppItem::ValueUpdate2, this,
            [this](QString &, bool &) { Q_EMIT changed(); });
    try {
        m_item->Register(manager, name, false, updateInterval);
    } catch (const VexException &error) {
        // An item the host does not know: the control stays empty.
        qCInfo(lcHost).noquote() << "control item" << name << "not bound:" << error.what();
        m_item.reset();
        return false;
    }
    m_manager = manager;
    m_name = name;
    readFacts();
    m_state = 0;
    if (const int index = hostIndex(); index >= 0)
        m_state = ownHost()->store().state(index);
    return true;
}

void VexaItemBinding::unbind()
{
    m_item.reset();
    m_manager.reset();
    m_name.clear();
    m_facts = VexaItemFacts();
    m_state = 0;
}

bool VexaItemBinding::isBound() const
{
    return m_item && m_item->isRegistered();
}

void VexaItemBinding::readFacts()
{
    m_facts = VexaItemFacts();
    const auto dictionary = m_manager->fncGetDictionary();
    qint32 id = 0, rc = 0;
    dictionary->fncFindObject(QStringLiteral("object"), m_name, id, rc);
    QString info, enumName;
    if (rc == 0)
        dictionary->fncGetObjectInfo(id, info, m_facts.dataType, m_facts.minimum, m_facts.maximum,
                                     enumName, rc);
    if (m_item->hasEnumeration())
        m_facts.enumeration = m_item->enumTable();
    // The dictionary does not tell how long a text may be; our own host does.
    if (const int index = hostIndex(); index >= 0)
        m_facts.maxLength = ownHost()->store().definition(index).length;
}

VexAppletItemManager *VexaItemBinding::ownHost() const
{
    return dynamic_cast<VexAppletItemManager *>(m_manager.get());
}

int VexaItemBinding::hostIndex() const
{
    const VexAppletItemManager *host = ownHost();
    return host ? host->store().indexOf(m_name) : -1;
}

QString VexaItemBinding::hostText() const
{
    return isBound() ? m_item->StringValue() : QString();
}

QString VexaItemBinding::displayText(int decimals) const
{
    return isBound() ? VexaEntryCheck::display(m_facts, hostText(), QLocale(), decimals)
                     : QString();
}

void VexaItemBinding::refresh()
{
    if (const int index = hostIndex(); index >= 0)
        m_state = ownHost()->store().state(index);
    Q_EMIT changed();
}

bool VexaItemBinding::hostAccepts(const QString &hostText) const
{
    const int index = hostIndex();
    if (index < 0)
        return true;
    // The host answers a refused write with a code the item wrapper does not
    // pass on, so ask the host's own parser before writing.
    const ItemStore &store = ownHost()->store();
    ItemValue value = store.value(index, false);
    return value.parse(store.definition(index), hostText, store.enumeration(index));
}

VexaEntry VexaItemBinding::write(const QString &typed)
{
    VexaEntry entry = VexaEntryCheck::check(m_facts, typed);
    if (entry.ok() && (!isBound() || !hostAccepts(entry.hostText))) {
        entry.refusal = VexaControlTexts::NotAccepted;
        entry.message = VexaControlTexts::text(VexaControlTexts::NotAccepted);
    }
    if (entry.ok())
        writeValue(entry);
    return entry;
}

void VexaItemBinding::writeValue(const VexaEntry &entry)
{
    switch (m_facts.dataType) {
    case VexaItemFacts::Float:
        m_item->setFloatValue(float(entry.number));
        break;
    case VexaItemFacts::UInt:
        m_item->setUIntValue(entry.number);
        break;
    case VexaItemFacts::Int:
        m_item->setIntValue(qint32(entry.number));
        break;
    case VexaItemFacts::BCD:
        m_item->setBCDValue(qint32(entry.number));
        break;
    default:
        m_item->setStringValue(entry.hostText);
        break;
    }
}

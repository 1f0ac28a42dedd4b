#include "ProgIdRegistry.h"

#include "View.h"

ProgIdRegistry &ProgIdRegistry::instance()
{
    static ProgIdRegistry registry;
    return registry;
}

void ProgIdRegistry::registerView(const QString &progId, ViewFactory factory)
{
    m_views.insert(progId.toLower(), std::move(factory));
}

void ProgIdRegistry::registerObject(const QString &progId, ObjectFactory factory)
{
    m_objects.insert(progId.toLower(), std::move(factory));
}

bool ProgIdRegistry::hasView(const QString &progId) const
{
    return m_views.contains(progId.toLower());
}

std::shared_ptr<View> ProgIdRegistry::createView(const QString &progId) const
{
    const auto it = m_views.constFind(progId.toLower());
    return it == m_views.constEnd() ? nullptr : (*it)();
}

std::shared_ptr<QObject> ProgIdRegistry::createObject(const QString &progId) const
{
    const auto it = m_objects.constFind(progId.toLower());
    return it == m_objects.constEnd() ? nullptr : (*it)();
}

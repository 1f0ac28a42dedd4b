#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class View;

// Where each library announces the views and objects the host may create by
// programmatic identifier ("Resident.clsStartAlwaysView"). Identifiers are
// compared without regard to case.
class ProgIdRegistry
{
public:
    using ViewFactory = std::function<std::shared_ptr<View>()>;
    using ObjectFactory = std::function<std::shared_ptr<QObject>()>;

    static ProgIdRegistry &instance();

    void registerView(const QString &progId, ViewFactory factory);
    void registerObject(const QString &progId, ObjectFactory factory);
    bool hasView(const QString &progId) const;
    std::shared_ptr<View> createView(const QString &progId) const;
    std::shared_ptr<QObject> createObject(const QString &progId) const;

private:
    QHash<QString, ViewFactory> m_views;
    QHash<QString, ObjectFactory> m_objects;
};

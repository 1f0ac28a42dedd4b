#pragma once

#include "VexaEntryCheck.h"

#include <QObject>
#include <QString>
#include <memory>

class AppletItemManager;
class VexAppletItemManager;
class clsAppItem;

// One item as a framework control sees it: bound through clsAppItem, with
// its facts from the dictionary, the last state the host reported, and
// writes that are checked before they go to the host.
class VexaItemBinding : public QObject
{
    Q_OBJECT

public:
    static constexpr qint32 StateModified = 0x001;

    explicit VexaItemBinding(QObject *parent = nullptr);
    ~VexaItemBinding() override;

    // An empty name or an item the host does not know leaves it unbound.
    bool bind(const std::shared_ptr<AppletItemManager> &manager, const QString &name,
              qint16 updateInterval = 0);
    void unbind();
    bool isBound() const;

    const QString &name() const { return m_name; }
    const VexaItemFacts &facts() const { return m_facts; }
    QString hostText() const;
    // decimals: see VexaEntryCheck::display.
    QString displayText(int decimals = -1) const;
    qint32 state() const { return m_state; }
    bool isModified() const { return m_state & StateModified; }

    // Checks an entry and, if the item can hold it, writes it to the host.
    VexaEntry write(const QString &typed);
    // Reads the value and state again (for a host that did not report).
    void refresh();

Q_SIGNALS:
    void changed();

private:
    void readFacts();
    bool hostAccepts(const QString &hostText) const;
    void writeValue(const VexaEntry &entry);
    VexAppletItemManager *ownHost() const;
    int hostIndex() const;

    std::unique_ptr<clsAppItem> m_item;
    std::shared_ptr<AppletItemManager> m_manager;
    QString m_name;
    VexaItemFacts m_facts;
    qint32 m_state = 0;
};

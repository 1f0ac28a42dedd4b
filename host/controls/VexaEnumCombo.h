#pragma once

#include <QComboBox>
#include <QPointer>

class VexaItemBinding;

// The selection field of the framework's combo control: the entries of the
// item's enumeration table (those the host's object limit leaves selectable
// enabled), the item's value selected, and a choice written at once.
class VexaEnumCombo : public QComboBox
{
    Q_OBJECT

public:
    explicit VexaEnumCombo(QWidget *parent = nullptr);

    // limit: the item's "&&ObjectLimit&&" companion, one flag per entry (may be null).
    void setBindings(VexaItemBinding *binding, VexaItemBinding *limit);
    void setSubject(const QString &subject) { m_subject = subject; }

    void fill();
    void showHostValue();

private:
    void choose(int index);
    QList<bool> selectable() const;
    void showMarker(bool modified);

    QPointer<VexaItemBinding> m_binding;
    QPointer<VexaItemBinding> m_limit;
    QString m_subject;
};

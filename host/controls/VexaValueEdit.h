#pragma once

#include <QLineEdit>
#include <QPointer>

class VexaItemBinding;

// The entry field of the framework's text controls. Shows the item's value,
// writes what the user typed when the entry is confirmed (Enter, or focus
// leaving the field), refuses what the item cannot hold with a message and
// marks a value that is edited but not yet written to the device.
class VexaValueEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit VexaValueEdit(QWidget *parent = nullptr);

    void setBinding(VexaItemBinding *binding);
    // Shown as the title's subject of a refusal (the control's caption).
    void setSubject(const QString &subject) { m_subject = subject; }

    // A float shown with this many places (-1: its shortest exact form).
    void setDecimalPlaces(int places);
    int decimalPlaces() const { return m_decimals; }
    // Shows the host's value; a typed entry not yet confirmed stays unless forced.
    void showHostValue(bool force = false);
    // Writes a typed entry not yet confirmed; false when it was refused.
    bool commit();
    bool hasPendingEdit() const { return isModified(); }

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    void refuse(const QString &message);
    void showMarker(bool modified);

    QPointer<VexaItemBinding> m_binding;
    QString m_subject;
    bool m_refusing = false;
    int m_decimals = -1;
};

#pragma once

#include <QDate>
#include <QWidget>
#include <optional>

class GenericDevice;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// Tag, descriptor, date, message and long tag, read and written, and what
// else names the device: its final assembly number and unique identity.
class GenericIdentificationPage : public QWidget
{
    Q_OBJECT

public:
    GenericIdentificationPage(GenericDevice &device, QWidget *parent = nullptr);

    QLineEdit *txtTag;
    QLineEdit *txtDescriptor;
    QDateEdit *dtpDate;
    QPushButton *cmdWriteTag;
    QLineEdit *txtMessage;
    QPushButton *cmdWriteMessage;
    QLineEdit *txtLongTag;
    QPushButton *cmdWriteLongTag;
    QLabel *lblLongTagNote;
    QLabel *lblFinalAssembly;
    QLabel *lblKey;

private:
    void refresh();
    void refreshButtons();
    void writeTag();
    bool longTagOffered() const;

    GenericDevice &m_device;
    // What the fields were last filled with: a field is filled again only
    // when the device's value changes, never over what the user types.
    std::optional<QString> m_tag;
    std::optional<QString> m_descriptor;
    std::optional<QDate> m_date;
    std::optional<QString> m_message;
    std::optional<QString> m_longTag;
};

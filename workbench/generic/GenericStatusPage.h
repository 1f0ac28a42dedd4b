#pragma once

#include <QByteArray>
#include <QWidget>

class GenericDevice;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The device status byte of the latest answer and command 48's additional
// status, each set bit by its standard name where the protocol gives it one
// (the standard bytes of command 48 from revision 7 on); the maker's own
// bytes in hex.
class GenericStatusPage : public QWidget
{
    Q_OBJECT

public:
    GenericStatusPage(GenericDevice &device, QWidget *parent = nullptr);

    QTreeWidget *tvwStatus;
    QPushButton *cmdReadStatus;

    // The texts shown under a section (for tests and the picture tool).
    QStringList lines(int section) const;

private:
    void refresh();
    void refreshButtons();

    GenericDevice &m_device;
    QByteArray m_shown; // what the tree shows, to leave it be when nothing changed
};

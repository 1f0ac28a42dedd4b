#pragma once

#include "MainWindowRig.h"

#include <QString>
#include <memory>

class QWidget;

// The program on the simulated transmitter with a device dialog open in the
// main window, and counters of what reached the host.
class DialogRig : public MainWindowRig
{
public:
    DialogRig();

    // Shows the dialog as the menu would; the main window owns it.
    template <class Form> Form *open()
    {
        auto *dialog = new Form;
        show(dialog);
        return dialog;
    }
    void show(QWidget *dialog);

    // Writes of an item's dataset value (changed or not) from now on.
    std::shared_ptr<int> countWrites(const QString &item);
    // Starts of a sequence from now on.
    std::shared_ptr<int> countStarts(const QString &sequence);

    // The device holds no sequence and the main window is no longer busy.
    bool settled() const;
    double number(const QString &item, bool shadow = false) const;
};

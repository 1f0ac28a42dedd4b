#pragma once

#include "MainWindowRig.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QWidget;

// Counts the starts a sequence control was asked to run later (Start and
// Force): a start the host refused must not come back in a loop.
class DeferredStarts : public QObject
{
public:
    explicit DeferredStarts(QObject *control);
    bool eventFilter(QObject *watched, QEvent *event) override;
    int count = 0;
};

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
    // Tells each start (true) and end (false) of a sequence from now on, as
    // the host reports it, before any dialog hears of it.
    void onSequence(const QString &sequence, std::function<void(bool running)> changed);

    // The device holds no sequence and the main window is no longer busy.
    bool settled() const;
    double number(const QString &item, bool shadow = false) const;
};

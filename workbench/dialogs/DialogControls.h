#pragma once

#include <QList>
#include <QString>
#include <functional>

class QAbstractButton;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;
class VexaAppItem;
class VexaFieldControl;
class VexaSequenceItem;
class ctlFixedDigitalDisplay;

// Design helpers of the device dialogs: every control is made with its
// object name and the string-table id of its caption ("Tag"), so that the
// frame applies the texts in the user's language.
namespace DialogControls {

QLabel *label(QWidget *parent, const char *name, int textId);
QPushButton *button(QWidget *parent, const char *name, int textId);
QRadioButton *option(QWidget *parent, const char *name, int textId);
QGroupBox *frame(QWidget *parent, const char *name, int textId);

VexaAppItem *appItem(QWidget *parent, const char *name, const char *item,
                     qint16 updateInterval = 0);
VexaSequenceItem *sequence(QWidget *parent, const char *name, const char *sequenceName);

// A live value in large figures, "displayCtrl<index>"; a display setting
// binds it.
ctlFixedDigitalDisplay *liveDisplay(QWidget *parent, int index);

// The framework's controls look their captions up in the program's table.
void useProgramTexts();

// A framework field control: its caption by id, its unit by item or fixed text.
template <class Control>
Control *field(QWidget *parent, const char *name, int labelTextId, const QString &unitItem,
               const QString &unitText = QString())
{
    useProgramTexts();
    auto *control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    control->setLabelTextId(labelTextId);
    if (!unitItem.isEmpty())
        control->setObjectNameUnit(unitItem);
    if (!unitText.isEmpty())
        control->setCaption(unitText);
    return control;
}

// Lines framework fields up under each other: each starts after the widest
// of their captions in the user's language.
void alignFields(const QList<VexaFieldControl *> &controls);

// Underlined in blue while the value waits to be written, else plain black.
void markChanged(QWidget *box, bool changed);
bool isMarkedChanged(const QWidget *box);

// Takes the values the sequence read into the dataset, now: a deferred
// adjust that meets another sequence would be dropped. False when the host
// refused it.
bool adjustNow(VexaSequenceItem *sequence);
// Runs a start or write of the host's; one the host refuses (busy, not
// connected) is logged under what it was for. True when it was taken.
bool hostTakes(const char *what, const std::function<void()> &action);

// Opens the dialog's window wide enough for its contents: the main window
// sized it before the texts were loaded and the controls shown.
void fitToContents(QWidget *dialog);

// The dialog closes itself, as the user would (its closing rules run).
void unload(QWidget *dialog);

// The device information's answer (1 = the output is held at a fixed
// current); false while no main window holds device information.
bool fixedCurrentModeEnabled();

} // namespace DialogControls

#pragma once

#include "VexaTextLookup.h"

#include <QList>
#include <QWidget>
#include <memory>

class VexAppletItemManager;
class VexaFieldControl;

// A dialog of the framework's field controls as a program's dialog holds them:
// the range, unit, damping, tag (disabled) and alarm rows in one frame, bound
// to the transmitter's own items, captions from the program's string table.
// The lower range is read from the device, the damping edited, and the upper
// range changes after binding, so each row shows another state.
class FrameworkSampleDialog : public QWidget
{
public:
    explicit FrameworkSampleDialog(const std::shared_ptr<VexAppletItemManager> &manager);

    QList<VexaFieldControl *> controls;
    VexaFieldControl *tag = nullptr;

    // The program's string table (workbench/resources/strings.tsv) as the
    // program would install it: German or English by the default locale.
    static VexaTextLookup::Function programStrings();
};

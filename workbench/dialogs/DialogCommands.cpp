// The menu entries that open the device dialogs of this folder; the main
// window keeps one instance of each, made on first use.

#include "frmCalibrateCurrent.h"
#include "frmCalibratePressure.h"
#include "frmConfigPrimaryMeas.h"
#include "frmSimulateCurrent.h"
#include "mainwin/MainChildWindows.h"
#include "mainwin/MainCommandTable.h"

namespace {

using Registration = MainCommandTable::Registration;

template <class Form> MainCommand opens(const char *kind, ChildWindowOptions options = {})
{
    return MainChildWindows::opener(
        kind, [] { return new Form; }, options);
}

// Simulating the output moves the loop: the user confirms first.
ChildWindowOptions confirmSimulation()
{
    ChildWindowOptions options;
    options.questionId = 2534;
    options.questionTitleId = 2251;
    return options;
}

const Registration dialogCommands[] = {
    {"mnuConfigurePrimaryMeasurement", opens<frmConfigPrimaryMeas>("frmConfigPrimaryMeas")},
    {"mnuCalibratePressure", opens<frmCalibratePressure>("frmCalibratePressure")},
    {"mnuCalibrateCurrent", opens<frmCalibrateCurrent>("frmCalibrateCurrent")},
    {"mnuDiagnosticsSimulateCurrent",
     opens<frmSimulateCurrent>("frmSimulateCurrent", confirmSimulation())},
};

} // namespace

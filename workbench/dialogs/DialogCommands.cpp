// The menu entries that open the device dialogs of this folder; the main
// window keeps one instance of each, made on first use.

#include "frmBasicParameter.h"
#include "frmCalibrateCurrent.h"
#include "frmCalibratePressure.h"
#include "frmConfigDiagnosis.h"
#include "frmConfigPrimaryMeas.h"
#include "frmEventCounter.h"
#include "frmIdentification.h"
#include "frmMaxValues.h"
#include "frmSimulateCurrent.h"
#include "frmSimulateStatus.h"
#include "frmStatus.h"
#include "mainwin/MainChildWindows.h"
#include "mainwin/MainCommandTable.h"

namespace {

using Registration = MainCommandTable::Registration;

template <class Form> MainCommand opens(const char *kind, ChildWindowOptions options = {})
{
    return MainChildWindows::opener(
        kind, [] { return new Form; }, options);
}

// Simulating the output moves the loop: the user confirms first, unless a
// simulation runs already (then its window comes back).
ChildWindowOptions confirmSimulation()
{
    ChildWindowOptions options;
    options.questionId = 2534;
    options.questionTitleId = 2251;
    options.questionNeeded = &frmSimulateCurrent::QuestionBeforeOpening;
    return options;
}

// So does simulating the device status.
ChildWindowOptions confirmStatusSimulation()
{
    ChildWindowOptions options;
    options.questionId = 3516;
    options.questionTitleId = 3500;
    return options;
}

const Registration dialogCommands[] = {
    {"mnuConfigurePrimaryMeasurement", opens<frmConfigPrimaryMeas>("frmConfigPrimaryMeas")},
    {"mnuCalibratePressure", opens<frmCalibratePressure>("frmCalibratePressure")},
    {"mnuCalibrateCurrent", opens<frmCalibrateCurrent>("frmCalibrateCurrent")},
    {"mnuDiagnosticsSimulateCurrent",
     opens<frmSimulateCurrent>("frmSimulateCurrent", confirmSimulation())},
    {"mnuDiagnosticsSimulateStatus",
     opens<frmSimulateStatus>("frmSimulateStatus", confirmStatusSimulation())},
    {"mnuConfigureDiagnosis", opens<frmConfigDiagnosis>("frmConfigDiagnosis")},
    {"mnuDiagnosticsStatus", opens<frmStatus>("frmStatus")},
    {"mnuDiagnosticsEventCounter", opens<frmEventCounter>("frmEventCounter")},
    {"mnuDiagnosticsMaxValues", opens<frmMaxValues>("frmMaxValues")},
    {"mnuConfigureBasicParameter", opens<frmBasicParameter>("frmBasicParameter")},
    {"mnuDeviceIdentification", opens<frmIdentification>("frmIdentification")},
};

} // namespace

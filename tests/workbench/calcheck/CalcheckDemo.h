#pragma once

class MainWindowRig;
class frmCalcheck;

// A calibration check of the program on the simulated transmitter, as an
// engineer runs it: a device with a zero error is found failing, zeroed and
// left passing. Shared by the wizard's test and its pictures.
namespace CalcheckDemo {

// Once, before the first rig: the views the host starts by identifier.
void registerViews();

// Opens the wizard through the Calibrate menu, its clock moving a quarter
// second each time it looks; null when it did not open.
frmCalcheck *open(MainWindowRig &rig);
// Fills the set-up and runs the as-found check; false when a point failed.
// With points >= 0 it stops after that many, the run still open.
bool runAsFound(MainWindowRig &rig, frmCalcheck &wizard, int points = -1);
// Runs the rest of an open run.
bool finishRun(MainWindowRig &rig, frmCalcheck &wizard);
// Zeroes the device and runs the as-left check up to the result.
bool adjustAndRunAsLeft(MainWindowRig &rig, frmCalcheck &wizard);

} // namespace CalcheckDemo

#pragma once

#include <memory>

class MainWindowRig;
class frmCalcheck;

// A calibration check of the program on the simulated transmitter, as an
// engineer runs it: a device with a zero error is found failing, zeroed and
// left passing. Shared by the wizard's test and its pictures.
namespace CalcheckDemo {

// Once, before the first rig: the views the host starts by identifier.
void registerViews();

// Makes the rig's device the program's default one: its process moves, and
// its bench's pressure source and ammeter serve the check as the program
// offers them (while the link goes to it). Withdrawn when the handle goes.
[[nodiscard]] std::shared_ptr<void> defaultSimulator(MainWindowRig &rig);

// Opens the wizard through the Calibrate menu, its clock and the device's
// moving a quarter second each time the wizard looks; null when it did not open.
frmCalcheck *open(MainWindowRig &rig);
// Fills the set-up and runs the as-found check; false when a point failed.
// With points >= 0 it stops after that many, the run still open. The
// source, where there is one, applies each point's pressure.
bool runAsFound(MainWindowRig &rig, frmCalcheck &wizard, int points = -1);
// Runs the rest of an open run.
bool finishRun(MainWindowRig &rig, frmCalcheck &wizard);
// Zeroes the device and runs the as-left check up to the result.
bool adjustAndRunAsLeft(MainWindowRig &rig, frmCalcheck &wizard);

} // namespace CalcheckDemo

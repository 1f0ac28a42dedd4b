#pragma once

class LinkSettingsController;
class ProfiledHartLink;
class frmMain;

// The Device menu's entries for the link: Connection settings and the
// traffic record. They work on the link the frame registered with the
// device instance; a link that cannot be reconfigured leaves them saying so.
namespace LinkCommands {

// Once the main window is loaded: the controller of the connection
// settings as its child, told when a connection ends, and the traffic
// record's check mark following the link.
void attach(frmMain &main);

ProfiledHartLink *link(const frmMain &main);
LinkSettingsController *controller(const frmMain &main);

} // namespace LinkCommands

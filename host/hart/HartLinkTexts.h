#pragma once

#include <QString>

// What the links tell the user when they fail, in the program's language
// through its installed translations (context "HartLinkTexts"). The links
// sit below the host, so they keep their own small table.
class HartLinkTexts
{
public:
    enum Id
    {
        SerialCannotOpen,    // %1 port, %2 the system's reason
        SerialWrongSettings, // %1 port, %2 the system's reason
        SerialGone,          // %1 port, %2 the system's reason
        IpConnectFailed,     // %1 host, %2 port, %3 the system's reason
        IpServerClosed,      // %1 host
        IpUnreadable,        // %1 host
        IpSessionRefused,    // %1 host, %2 the status text
        IpRequestError,      // %1 the status text
        IpNoAnswer,          // %1 host, %2 port
        IpStoppedAnswering,  // %1 host
        IpStatusSuccess,
        IpStatusInvalidSelection,
        IpStatusTooFewDataBytes,
        IpStatusSetToNearest,
        IpStatusVersionNotSupported,
        IpStatusAllSessionsInUse,
        IpStatusSessionAlreadyOpen,
        IpStatusOther,    // %1 the number
        UnknownLinkKind,  // %1 the link as text
        NoModemFound,     // %1 the ports tried
        OtherDeviceFound, // %1 the port or address, %2 the device found, %3 the one looked for
        CaptureFailed,    // %1 the file, %2 the system's reason
    };

    static QString text(Id id);
};

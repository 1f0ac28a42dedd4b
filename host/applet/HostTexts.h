#pragma once

#include <QString>

// The host's own texts for the user (dataset files, the link), in the
// program's language through its installed translations (context
// "HostTexts"). The program's string table is not the host's to use.
class HostTexts
{
public:
    enum Id
    {
        OpenDatasetTitle,
        SaveDatasetAsTitle,
        SaveDatasetTitle,
        DatasetFilter,
        NotLoaded,        // %1 the reason
        NewerDescription, // %1 the values left out
        MoreLeftOut,      // %1 further names, %2 all of them
        NotSaved,         // %1 the reason
        LinkCannotOpen,
        NoDeviceAnswers,
        NotRegularFile,
        TooLarge,
        NotDatasetAt, // %1 the parser's reason, %2 the byte
        NotDataset,
        UnknownVersion,
        OtherDeviceType, // %1 the file's, %2 this device type
        NoValues,
        WrongType,  // %1 item, %2 its type in the file, %3 the type expected
        NoValue,    // %1 item
        CannotHold, // %1 item, %2 the value
        Twice,      // %1 item
        NotWrittenWhole,
        NotFinite,        // %1 value, %2 item
        OutsideLimits,    // %1 value, %2 item, %3 lowest, %4 highest
        NotACode,         // %1 value, %2 item, %3 table
        DoesNotFitField,  // %1 value, %2 item, %3 record
        FolderNotCreated, // %1 folder
        FileNotWritten,   // %1 file
        LinkLost,
        Reconnecting, // %1 why the link went, %2 seconds to the next attempt, %3 its number
        DeviceSilent,
        WriteStoppedTitle,
        OtherDeviceAnswers,   // %1 the device answering, %2 the session's device
        IdentityNotConfirmed, // %1 the session's device
        HistoryNotKept,       // %1 why
        HistoryDiskFull,      // %1 the file
        HistoryReadOnly,      // %1 the file
        HistoryNotWritten,    // %1 the file, %2 the database's words
        HistoryRecreated,     // %1 the file
        // %1 manufacturer, %2 device type, %3 HART revision, %4 device
        // revision, %5 unique id, %6 tag
        DeviceIdentity,
        TagNotRead,
        ForeignDevice,        // %1 polling address, %2 the device's identity
        OtherDeviceReconnect, // %1 polling address, %2 the one answering, %3 the one expected
    };

    static QString text(Id id);
};

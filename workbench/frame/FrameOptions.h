#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the command line asks of the frame.
struct FrameOptions
{
    QString language;           // "de", "en" or empty for the user's language
    QString datasetFile;        // opened after start-up
    QString historyDatabase;    // empty: the user's own
    int pollingAddress = 0;     // 0..15
    QString engineeringContext; // "&&private_FDT&&EngineeringContext", empty = default
    int linkBitRate = 1200;     // 0 = no wire time
    int countryCode = 0;        // 0 = from the description's default
    bool connect = false;       // connect at start-up
    bool quit = false;          // run the start-up, print it and end (no window)
    bool pollingAddressGiven = false;
    QString link;        // "sim", "serial:DEV", "hartip:HOST[:PORT][/udp]"; empty = as last time
    QString captureFile; // traffic record (pcap) of the whole session
    bool help = false;   // print the options and end
    // Reads the device again when another master changed it. A one-shot
    // command leaves the device's configuration-changed bit to the tools
    // that stay connected.
    bool watchConfiguration = true;

    // Whether the raw command line asks for the options (-h, --help, -?),
    // decided before any application object exists, so that no display is needed.
    static bool asksForHelp(int argc, const char *const *argv);

    // Nothing and a message for options it cannot use.
    static std::optional<FrameOptions> parse(const QStringList &arguments, QString *error);
    static QString usage();
};

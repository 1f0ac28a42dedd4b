#pragma once

#include "hart/HartLinkProfile.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <optional>

// What the command line asks: the sub-command, the link and the options
// common to all, and the words after them.
struct CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    QString command; // scan, identify, read, write, set, commission, loop-test, report
    HartLinkProfile link;
    int address = -1; // -1: not given
    QString tag;
    QString outFile;
    QString pdfFile;
    QString history;     // history database; empty: the user's own
    QString captureFile; // traffic record (pcap) of the run
    QString language;
    int linkBitRate = 0;     // the built-in simulated transmitter's wire time
    double holdSeconds = -1; // loop test: -1 waits for Enter
    bool json = false;
    bool yes = false;
    bool dryRun = false;
    bool continueOnError = false;
    bool help = false;
    QStringList arguments;

    static QStringList commands();
    // Nothing and the reason for a command line that cannot be used.
    static std::optional<CommandLine> parse(const QStringList &arguments, QString *error);
    static QString usage();
};

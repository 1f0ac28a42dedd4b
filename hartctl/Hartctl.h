#pragma once

#include "ExitCode.h"

#include <QStringList>

// The program: the command line read, the sub-command run on its device
// session, the result told, the exit code returned.
class Hartctl
{
public:
    static int run(const QStringList &arguments);
};

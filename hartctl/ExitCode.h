#pragma once

// What the program answers its caller with; scripts branch on these.
enum class ExitCode
{
    Done = 0,
    DeviceRefused = 1, // a device refused a value, differed on read-back, or a row failed
    BadInput = 2,      // options, files or values that cannot be used; nothing was written
    LinkFailure = 3,   // the link did not open, or no device answered
    Interrupted = 130, // Ctrl+C: what was under way was ended safely, as the shell counts it
};

inline int toInt(ExitCode code)
{
    return int(code);
}

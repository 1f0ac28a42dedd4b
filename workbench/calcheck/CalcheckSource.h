#pragma once

#include <functional>
#include <optional>

// A pressure source with an ammeter that the program may drive, such as a
// documenting calibrator: it applies a pressure in mbar and reads the loop
// current. Installed by the program when it has one; without it the user
// applies the pressure and types the readings.
class CalcheckSource
{
public:
    struct Source
    {
        std::function<void(double mbar)> apply;
        std::function<double()> current;
    };

    static void install(std::optional<Source> source);
    static const std::optional<Source> &current();
};

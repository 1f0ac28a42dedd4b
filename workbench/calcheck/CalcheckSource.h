#pragma once

#include "hart/HartLinkProfile.h"

#include <functional>
#include <memory>
#include <optional>

class ProfiledHartLink;

// A pressure source with an ammeter that the program may drive, such as a
// documenting calibrator on the device's port: attached for a check, it
// applies a pressure in mbar and reads the loop current, and is detached
// when the check is done, so that the device sees its process again.
// Installed by the program when it has one; without it the user applies the
// pressure and types the readings.
class CalcheckSource
{
public:
    struct Source
    {
        std::function<void()> attach;
        std::function<void(double mbar)> apply;
        std::function<double()> current; // empty: no ammeter
        std::function<void()> detach;
    };

    static void install(std::optional<Source> source);
    static const std::optional<Source> &current();

    // Installs the source while the link's profile is of the given kind (the
    // link to the device the source sits at) and none while it is another:
    // a source must never stand in for another device's pressure and current.
    // Withdrawn when the returned handle goes.
    [[nodiscard]] static std::shared_ptr<void>
    installWhile(ProfiledHartLink &link, HartLinkProfile::Kind kind, Source source);

    // The source of a bench object that offers these four members.
    template <class Bench> static Source of(Bench &bench)
    {
        return {[&bench] { bench.attachPressureSource(); },
                [&bench](double mbar) { bench.setSourcePressure(mbar); },
                [&bench] { return bench.measureLoopCurrent(); },
                [&bench] { bench.detachPressureSource(); }};
    }
};

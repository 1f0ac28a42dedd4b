#pragma once

#include <functional>
#include <vector>

class Grabber;

// The pictures ./dev grab takes: each file *Grabs.cpp here registers its
// windows with VEX_GRAB, and the tool runs them in English and German.
namespace vexgrab {

struct Entry
{
    const char *name;
    const char *what;
    std::function<void(Grabber &)> run;
};

std::vector<Entry> &registry();

struct Registrar
{
    Registrar(const char *name, const char *what, std::function<void(Grabber &)> run)
    {
        registry().push_back({name, what, std::move(run)});
    }
};

} // namespace vexgrab

// VEX_GRAB(function, "name", "what it shows") { ... grab.save(window, "picture"); }
#define VEX_GRAB(Function, Name, What)                                                             \
    static void Function(Grabber &grab);                                                           \
    static const vexgrab::Registrar Function##Registrar(Name, What, Function);                     \
    static void Function(Grabber &grab)

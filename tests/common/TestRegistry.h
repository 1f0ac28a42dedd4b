#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

// Lets one test executable hold several QtTest classes: each test file registers
// its class with VEX_TEST, and the shared main() runs them all, or only those
// named on the command line with -class Name.
namespace vextest {

struct Entry
{
    const char *name;
    std::function<std::unique_ptr<QObject>()> make;
};

std::vector<Entry> &registry();

struct Registrar
{
    Registrar(const char *name, std::function<std::unique_ptr<QObject>()> make)
    {
        registry().push_back({name, std::move(make)});
    }
};

} // namespace vextest

#define VEX_TEST(Class)                                                                            \
    static const vextest::Registrar Class##Registrar(#Class,                                       \
                                                     [] { return std::make_unique<Class>(); });

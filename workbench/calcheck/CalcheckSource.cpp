#include "CalcheckSource.h"

namespace {
std::optional<CalcheckSource::Source> &installed()
{
    static std::optional<CalcheckSource::Source> source;
    return source;
}
} // namespace

void CalcheckSource::install(std::optional<Source> source)
{
    installed() = std::move(source);
}

const std::optional<CalcheckSource::Source> &CalcheckSource::current()
{
    return installed();
}

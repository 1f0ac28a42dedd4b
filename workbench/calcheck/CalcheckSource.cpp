#include "CalcheckSource.h"

#include "hart/ProfiledHartLink.h"

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

std::shared_ptr<void> CalcheckSource::installWhile(ProfiledHartLink &link,
                                                   HartLinkProfile::Kind kind, Source source)
{
    auto follow = [&link, kind, source] {
        install(link.profile().kind == kind ? std::optional<Source>(source) : std::nullopt);
    };
    follow();
    auto *watch = new QObject;
    QObject::connect(&link, &ProfiledHartLink::profileChanged, watch, follow);
    return std::shared_ptr<void>(watch, [](QObject *watch) {
        delete watch;
        install(std::nullopt);
    });
}

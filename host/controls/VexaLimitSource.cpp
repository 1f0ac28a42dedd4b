#include "VexaLimitSource.h"

#include "VexaItemBinding.h"

#include <QLocale>
#include <cmath>

VexaLimitSource::VexaLimitSource(QObject *parent)
    : QObject(parent), m_item(new VexaItemBinding(this))
{
    connect(m_item, &VexaItemBinding::changed, this, &VexaLimitSource::changed);
}

VexaLimitSource::~VexaLimitSource() = default;

std::optional<double> VexaLimitSource::number(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

void VexaLimitSource::bind(const std::shared_ptr<AppletItemManager> &manager)
{
    m_item->unbind();
    if (!m_text.isEmpty() && !number(m_text))
        m_item->bind(manager, m_text);
}

void VexaLimitSource::unbind()
{
    m_item->unbind();
}

std::optional<double> VexaLimitSource::value() const
{
    if (m_text.isEmpty())
        return std::nullopt;
    if (const auto fixed = number(m_text))
        return fixed;
    if (!m_item->isBound())
        return std::nullopt;
    return number(m_item->hostText());
}

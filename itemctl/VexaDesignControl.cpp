#include "VexaDesignControl.h"

#include "VexException.h"

#include <QHBoxLayout>
#include <QLabel>

VexaDesignControl::VexaDesignControl(const QString &caption, QWidget *parent)
    : QWidget(parent), m_label(new QLabel(caption, this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_label);
}

void VexaDesignControl::setDesignMode(bool designMode)
{
    m_designMode = designMode;
    setVisible(designMode);
}

void VexaDesignControl::setCaption(const QString &caption)
{
    m_label->setText(caption);
    adjustSize();
}

QString VexaDesignControl::caption() const
{
    return m_label->text();
}

void VexaDesignControl::raiseSetAtRunTime(const char *property) const
{
    throw VexException(VexException::SetNotPermittedAtRunTime,
                       QLatin1String(metaObject()->className()) + QLatin1Char('.') +
                           QLatin1String(property),
                       QStringLiteral("Festlegen zur Laufzeit nicht unterstützt"));
}

void VexaDesignControl::raiseSetAtDesignTime(const char *property) const
{
    throw VexException(VexException::SetNotPermittedAtDesignTime,
                       QLatin1String(metaObject()->className()) + QLatin1Char('.') +
                           QLatin1String(property),
                       QStringLiteral("Festlegen nicht erlaubt"));
}

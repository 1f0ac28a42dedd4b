#include "VexaDesignControl.h"

#include "VexException.h"

#include <QPainter>

namespace {
constexpr int CaptionMargin = 2;
} // namespace

// The caption is drawn, not a label in a layout: a window binds dozens of
// these controls, and each label would be laid out when the window shows,
// just before the controls leave design mode and hide.
VexaDesignControl::VexaDesignControl(const QString &caption, QWidget *parent)
    : QWidget(parent), m_caption(caption)
{
}

void VexaDesignControl::setDesignMode(bool designMode)
{
    m_designMode = designMode;
    setVisible(designMode);
}

void VexaDesignControl::setCaption(const QString &caption)
{
    m_caption = caption;
    adjustSize();
    update();
}

QSize VexaDesignControl::sizeHint() const
{
    return fontMetrics().size(Qt::TextSingleLine, m_caption) +
           QSize(2 * CaptionMargin, 2 * CaptionMargin);
}

void VexaDesignControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawText(rect().adjusted(CaptionMargin, CaptionMargin, -CaptionMargin, -CaptionMargin),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_caption);
}

QString VexaDesignControl::caption() const
{
    return m_caption;
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

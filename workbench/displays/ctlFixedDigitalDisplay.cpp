#include "ctlFixedDigitalDisplay.h"

#include "VexaAppItem.h"
#include "WinColor.h"

#include <QFontMetricsF>
#include <QLabel>
#include <algorithm>

ctlFixedDigitalDisplay::ctlFixedDigitalDisplay(QWidget *parent)
    : DigitalDisplayBase(parent), m_label(new QLabel(this)), m_font(m_label->font())
{
    m_label->setObjectName(QStringLiteral("lblValue"));
    m_label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_label->setIndent(Margin);
    m_label->setAutoFillBackground(true);
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::Window, WinColor::toColor(WinColor::Black));
    m_label->setPalette(palette);
    applyTextColour(textColour());
}

QFont ctlFixedDigitalDisplay::Font() const
{
    return m_font;
}

void ctlFixedDigitalDisplay::setFont(const QFont &font)
{
    m_font = font;
    fitText();
    updateGeometry();
    Q_EMIT PropertyChanged(QStringLiteral("Font"));
}

QSize ctlFixedDigitalDisplay::sizeHint() const
{
    const QFontMetrics metrics(m_font);
    return {metrics.horizontalAdvance(m_label->text()) + 2 * Margin, metrics.height() + 2};
}

void ctlFixedDigitalDisplay::showValue()
{
    m_label->setText(limitCode() + QLatin1Char(' ') + appMeasValue->FloatValueFormatted() +
                     QLatin1Char(' ') + appUnit->EnumValue());
    fitText();
    updateGeometry();
}

void ctlFixedDigitalDisplay::applyTextColour(qint32 colour)
{
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::WindowText, WinColor::toColor(colour));
    m_label->setPalette(palette);
}

void ctlFixedDigitalDisplay::resizeValueLabel()
{
    m_label->setGeometry(0, 0, width(), height());
    fitText();
}

// A value that grew (an alarm code, a large overrange) is never cut: the
// label goes below the chosen font until the text fits its width.
void ctlFixedDigitalDisplay::fitText()
{
    QFont font = m_font;
    const qreal room = m_label->width() - 2 * Margin;
    const qreal chosen = m_font.pointSizeF();
    const auto advance = [&](const QFont &f) {
        return QFontMetricsF(f).horizontalAdvance(m_label->text());
    };
    if (chosen > 0 && room > 0 && advance(font) > room) {
        qreal size = std::max(MinimumPoints, chosen * room / advance(font));
        font.setPointSizeF(size);
        while (size > MinimumPoints && advance(font) > room) {
            size = std::max(MinimumPoints, size - 0.5);
            font.setPointSizeF(size);
        }
    }
    m_label->setFont(font);
}

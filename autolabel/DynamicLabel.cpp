#include "DynamicLabel.h"

#include "DynamicLabelSizing.h"
#include "WinColor.h"

#include <QLabel>
#include <QResizeEvent>
#include <cmath>

namespace {
constexpr double TwipsPerInch = 1440.0;

Qt::Alignment toQt(qint16 code)
{
    switch (code) {
    case DynamicLabel::LeftJustify:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case DynamicLabel::RightJustify:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    }
}
} // namespace

DynamicLabel::DynamicLabel(QWidget *parent)
    : QWidget(parent), m_label(new QLabel(this)), m_caption(QString::fromLatin1(DesignCaption)),
      m_foreColor(WinColor::Green), m_backColor(WinColor::Black)
{
    // Courier New where there is one; a fixed-pitch face of the same width
    // otherwise, or the sizing's character width does not hold.
    QFont font;
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("DejaVu Sans Mono"), QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    m_label->setFont(font);
    m_label->setAutoFillBackground(true);
    m_label->setAlignment(toQt(m_alignment));
    applyColours();
    showCaption();
}

DynamicLabel::~DynamicLabel() = default;

double DynamicLabel::twipsPerPixelX() const
{
    return TwipsPerInch / std::max(1, logicalDpiX());
}

double DynamicLabel::twipsPerPixelY() const
{
    return TwipsPerInch / std::max(1, logicalDpiY());
}

void DynamicLabel::setCaption(const QString &caption)
{
    m_caption = caption;
    Q_EMIT PropertyChanged(QStringLiteral("Caption"));
    showCaption();
    runSizing();
}

void DynamicLabel::setForeColor(qint32 colour)
{
    m_foreColor = colour;
    applyColours();
    Q_EMIT PropertyChanged(QStringLiteral("ForeColor"));
}

void DynamicLabel::setBackColor(qint32 colour)
{
    m_backColor = colour;
    applyColours();
    Q_EMIT PropertyChanged(QStringLiteral("BackColor"));
}

void DynamicLabel::setAlignment(qint16 alignment)
{
    m_alignment = alignment;
    m_label->setAlignment(toQt(alignment));
    Q_EMIT PropertyChanged(QStringLiteral("Alignment"));
}

void DynamicLabel::setFontSize(float points)
{
    applyFont(points);
    Q_EMIT PropertyChanged(QStringLiteral("FontSize"));
}

void DynamicLabel::Size(float Width, float Height)
{
    resize(int(std::lround(Width / twipsPerPixelX())), int(std::lround(Height / twipsPerPixelY())));
    // A hidden control gets its resize event only when shown; size it now.
    runSizing();
}

void DynamicLabel::ReadProperties(const QVariantMap &bag)
{
    setCaption(bag.value(QStringLiteral("Caption"), QString::fromLatin1(DesignCaption)).toString());
    setForeColor(bag.value(QStringLiteral("ForeColor"), WinColor::Green).toInt());
    setBackColor(bag.value(QStringLiteral("BackColor"), WinColor::Black).toInt());
    setAlignment(qint16(bag.value(QStringLiteral("Alignment"), int(Center)).toInt()));
    // Without a stored size the one the caption's sizing just chose stays:
    // the default 0 would leave no readable text.
    if (bag.contains(QStringLiteral("FontSize")))
        setFontSize(bag.value(QStringLiteral("FontSize")).toFloat());
}

void DynamicLabel::WriteProperties(QVariantMap &bag) const
{
    bag.insert(QStringLiteral("Caption"), m_caption);
    bag.insert(QStringLiteral("ForeColor"), m_foreColor);
    bag.insert(QStringLiteral("BackColor"), m_backColor);
    bag.insert(QStringLiteral("Alignment"), int(m_alignment));
    bag.insert(QStringLiteral("FontSize"), m_fontSize);
}

void DynamicLabel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    runSizing();
}

void DynamicLabel::runSizing()
{
    if (m_resizing)
        return;
    const double widthTwips = width() * twipsPerPixelX();
    const DynamicLabelSizing size = DynamicLabelSizing::compute(m_caption, widthTwips);
    m_label->setGeometry(0, 0, width(), m_label->height());
    // A caption the sizing cannot measure keeps the font size and height it has.
    if (!size.valid)
        return;
    applyFont(size.fontSize);
    m_resizing = true;
    resize(width(), int(std::lround(size.heightTwips / twipsPerPixelY())));
    m_resizing = false;
    m_label->setGeometry(0, 0, width(), height());
    const auto heightTwips = qint32(std::lround(height() * twipsPerPixelY()));
    if (heightTwips != m_lastHeight) {
        m_lastHeight = heightTwips;
        Q_EMIT Resize();
    }
}

void DynamicLabel::applyFont(double points)
{
    m_fontSize = float(points);
    // A size of 0 (nothing stored, no width yet) has no font: the last one stays.
    if (!(points > 0.0) || !std::isfinite(points))
        return;
    QFont font = m_label->font();
    font.setPointSizeF(points);
    m_label->setFont(font);
}

void DynamicLabel::applyColours()
{
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::WindowText, WinColor::toColor(m_foreColor));
    palette.setColor(QPalette::Window, WinColor::toColor(m_backColor));
    m_label->setPalette(palette);
}

void DynamicLabel::showCaption()
{
    // The label breaks lines at "\n" alone; the caption keeps its pairs.
    QString shown = m_caption;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_label->setText(shown);
}

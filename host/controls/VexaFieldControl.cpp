#include "VexaFieldControl.h"

#include "VexaItemBinding.h"
#include "VexaTextLookup.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>

VexaFieldControl::VexaFieldControl(QWidget *field, QWidget *parent)
    : QWidget(parent), m_label(new QLabel(this)), m_field(field), m_unit(new QLabel(this)),
      m_fieldBinding(new VexaItemBinding(this)), m_unitBinding(new VexaItemBinding(this))
{
    m_field->setParent(this);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_unit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The field may be tabbed to; the caption and the unit are read only.
    setFocusProxy(m_field);
    connect(m_fieldBinding, &VexaItemBinding::changed, this, [this] { showField(); });
    connect(m_unitBinding, &VexaItemBinding::changed, this, &VexaFieldControl::showUnit);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

VexaFieldControl::~VexaFieldControl() = default;

void VexaFieldControl::registerItems(const std::shared_ptr<AppletItemManager> &manager)
{
    unregisterItems();
    retranslate();
    bindField(manager);
    m_unitBinding->bind(manager, m_unitItem);
    m_registered = true;
    showField();
    showUnit();
}

void VexaFieldControl::unregisterItems()
{
    if (!m_registered)
        return;
    unbindField();
    m_fieldBinding->unbind();
    m_unitBinding->unbind();
    m_registered = false;
    showField();
    showUnit();
}

void VexaFieldControl::updateItems()
{
    if (!m_registered)
        return;
    commitField();
    m_fieldBinding->refresh();
    m_unitBinding->refresh();
}

void VexaFieldControl::bindField(const std::shared_ptr<AppletItemManager> &manager)
{
    m_fieldBinding->bind(manager, m_fieldItem, qint16(m_cycleTime));
}

void VexaFieldControl::setLabelTextId(int id)
{
    m_labelTextId = id;
    retranslate();
}

void VexaFieldControl::setCaptionLabel(const QString &text)
{
    m_captionLabel = text;
    retranslate();
}

void VexaFieldControl::setCaption(const QString &text)
{
    m_caption = text;
    showUnit();
}

void VexaFieldControl::setLeftSpace(int pixels)
{
    m_leftSpace = pixels;
    relayout();
}

void VexaFieldControl::setRightSpace(int pixels)
{
    m_rightSpace = pixels;
    relayout();
}

void VexaFieldControl::setWidthControl(int pixels)
{
    m_widthControl = pixels;
    updateGeometry();
}

void VexaFieldControl::setVisibleUnit(bool visible)
{
    m_visibleUnit = visible;
    showUnit();
}

void VexaFieldControl::setFieldLeft(int pixels)
{
    m_fieldLeft = pixels;
    relayout();
}

void VexaFieldControl::setFieldWidth(int pixels)
{
    m_fieldWidth = pixels;
    relayout();
}

QString VexaFieldControl::labelText() const
{
    return VexaTextLookup::text(m_labelTextId, m_captionLabel);
}

QString VexaFieldControl::unitText() const
{
    return m_unitBinding->isBound() ? m_unitBinding->displayText() : m_caption;
}

QString VexaFieldControl::subject() const
{
    const QString caption = labelText();
    return caption.isEmpty() ? m_fieldItem : caption;
}

void VexaFieldControl::retranslate()
{
    m_label->setText(labelText());
    m_label->setVisible(!m_label->text().isEmpty());
    relayout();
}

void VexaFieldControl::showUnit()
{
    m_unit->setText(unitText());
    m_unit->setVisible(m_visibleUnit && !m_unit->text().isEmpty());
    relayout();
}

VexaRowDesign VexaFieldControl::rowDesign(int width, int height) const
{
    VexaRowDesign design;
    design.width = width;
    design.height = height;
    design.leftSpace = m_leftSpace;
    design.rightSpace = m_rightSpace;
    design.fieldLeft = m_fieldLeft;
    design.fieldWidth = m_fieldWidth;
    design.showLabel = !m_label->isHidden();
    design.labelWidth = design.showLabel ? m_label->sizeHint().width() : 0;
    design.showUnit = !m_unit->isHidden();
    design.unitWidth = design.showUnit ? m_unit->sizeHint().width() : 0;
    // An entry field scrolls its text; a selection must show its entries whole.
    const bool selection = qobject_cast<QComboBox *>(m_field) != nullptr;
    design.minFieldWidth =
        std::max(40, selection ? m_field->sizeHint().width() : m_field->minimumSizeHint().width());
    return design;
}

VexaRowGeometry VexaFieldControl::rowGeometry() const
{
    return VexaControlLayout::arrange(rowDesign(width(), height()));
}

void VexaFieldControl::relayout()
{
    const VexaRowGeometry row = rowGeometry();
    m_label->setGeometry(row.label);
    m_field->setGeometry(row.field);
    m_unit->setGeometry(row.unit);
    updateGeometry();
}

QSize VexaFieldControl::sizeHint() const
{
    const int height = std::max(
        {m_field->sizeHint().height(), m_label->sizeHint().height(), m_unit->sizeHint().height()});
    const VexaRowGeometry row = VexaControlLayout::arrange(rowDesign(0, height));
    return QSize(std::max(m_widthControl, row.neededWidth), height);
}

QSize VexaFieldControl::minimumSizeHint() const
{
    const QSize hint = sizeHint();
    return QSize(VexaControlLayout::arrange(rowDesign(0, hint.height())).neededWidth,
                 hint.height());
}

void VexaFieldControl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void VexaFieldControl::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        relayout();
}

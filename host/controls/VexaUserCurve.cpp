#include "VexaUserCurve.h"

#include "AppletItemManager.h"
#include "MessageBoxSeam.h"
#include "VexaControlTexts.h"
#include "VexaDisplayTexts.h"
#include "VexaItemBinding.h"
#include "VexaLimitSource.h"
#include "VexaScale.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
using T = VexaDisplayTexts;
constexpr int GraphWidth = 220;

QByteArray octets(const QString &hostText)
{
    return QByteArray::fromHex(hostText.toLatin1());
}
} // namespace

VexaUserCurve::VexaUserCurve(QWidget *parent)
    : QWidget(parent), m_x(new VexaItemBinding(this)), m_y(new VexaItemBinding(this)),
      m_count(new VexaItemBinding(this)), m_type(new VexaItemBinding(this)),
      m_title(new QLabel(this)), m_grid(new QTableWidget(0, 2, this)),
      m_add(new QPushButton(T::text(T::AddPoint), this)),
      m_remove(new QPushButton(T::text(T::RemovePoint), this)),
      m_reset(new QPushButton(T::text(T::ResetCurve), this))
{
    m_grid->setHorizontalHeaderLabels({T::text(T::PointX), T::text(T::PointY)});
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    buttons->addWidget(m_reset);
    buttons->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(m_title);
    right->addWidget(m_grid, 1);
    right->addLayout(buttons);
    auto *layout = new QHBoxLayout(this);
    layout->addSpacing(GraphWidth);
    layout->addLayout(right, 1);

    for (VexaItemBinding *binding : {m_x, m_y, m_count})
        connect(binding, &VexaItemBinding::changed, this, &VexaUserCurve::readItems);
    connect(m_type, &VexaItemBinding::changed, this, [this] { setCaption(m_caption); });
    connect(m_grid, &QTableWidget::cellChanged, this, &VexaUserCurve::cellEdited);
    connect(m_add, &QPushButton::clicked, this,
            [this] { addPointAfter(std::max(0, m_grid->currentRow())); });
    connect(m_remove, &QPushButton::clicked, this, [this] { removePoint(m_grid->currentRow()); });
    connect(m_reset, &QPushButton::clicked, this, &VexaUserCurve::resetToLinear);
}

VexaUserCurve::~VexaUserCurve() = default;

void VexaUserCurve::Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef)
{
    registerItems(AppletItemManagerRef);
}

void VexaUserCurve::UnRegister()
{
    unregisterItems();
}

void VexaUserCurve::registerItems(const std::shared_ptr<AppletItemManager> &manager)
{
    unregisterItems();
    m_x->bind(manager, m_xName);
    m_y->bind(manager, m_yName);
    m_count->bind(manager, m_countName);
    m_type->bind(manager, m_typeName);
    readItems();
    setCaption(m_caption);
}

void VexaUserCurve::unregisterItems()
{
    for (VexaItemBinding *binding : {m_x, m_y, m_count, m_type})
        binding->unbind();
}

void VexaUserCurve::updateItems()
{
    readItems();
}

void VexaUserCurve::setCaption(const QString &caption)
{
    m_caption = caption;
    const QString type = m_type->displayText();
    m_title->setText(type.isEmpty() ? caption : caption + QStringLiteral(" (") + type + ')');
}

void VexaUserCurve::setHideAddButton(bool hide)
{
    m_hideAdd = hide;
    m_add->setVisible(!hide);
}

void VexaUserCurve::setHideRemoveButton(bool hide)
{
    m_hideRemove = hide;
    m_remove->setVisible(!hide);
}

void VexaUserCurve::setHideResetButton(bool hide)
{
    m_hideReset = hide;
    m_reset->setVisible(!hide);
}

void VexaUserCurve::readItems()
{
    // Our own writes come back one item at a time; the table is ahead of them.
    if (m_writing)
        return;
    const int count = VexaLimitSource::number(m_count->hostText()).value_or(0.0);
    m_table = VexaUserCurveTable::decode(octets(m_x->hostText()), octets(m_y->hostText()), count);
    fillGrid();
    update();
}

void VexaUserCurve::writeItems()
{
    const auto write = [](VexaItemBinding *binding, const QString &text) {
        if (binding->isBound())
            binding->write(text);
    };
    const int length =
        m_x->facts().maxLength > 0 ? m_x->facts().maxLength : VexaUserCurveTable::MaxPoints * 4;
    m_writing = true;
    write(m_count, QString::number(m_table.points.size()));
    write(m_x, QString::fromLatin1(m_table.encodeX(length).toHex(' ')));
    write(m_y, QString::fromLatin1(m_table.encodeY(length).toHex(' ')));
    m_writing = false;
    fillGrid();
    update();
}

void VexaUserCurve::fillGrid()
{
    m_filling = true;
    m_grid->setRowCount(int(m_table.points.size()));
    for (int i = 0; i < m_table.points.size(); ++i) {
        for (int c = 0; c < 2; ++c) {
            const double v = c == 0 ? m_table.points[i].x() : m_table.points[i].y();
            auto *item = new QTableWidgetItem(VexaScale::label(v, 2));
            const bool fixed = c == 0 && ((m_fixedStart && i == 0) ||
                                          (m_fixedEnd && i == m_table.points.size() - 1));
            if (fixed)
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            m_grid->setItem(i, c, item);
        }
    }
    m_filling = false;
}

bool VexaUserCurve::setPoint(int index, double x, double y)
{
    if (!m_table.fits(index, x) || !std::isfinite(y))
        return false;
    m_table.points[index] = QPointF(x, y);
    writeItems();
    return true;
}

bool VexaUserCurve::addPointAfter(int index)
{
    if (!m_table.insertAfter(index, m_maxPoints))
        return false;
    writeItems();
    return true;
}

bool VexaUserCurve::removePoint(int index)
{
    if (!m_table.remove(index, m_minPoints, m_fixedStart, m_fixedEnd))
        return false;
    writeItems();
    return true;
}

void VexaUserCurve::resetToLinear()
{
    m_table = VexaUserCurveTable::linear(VexaLimitSource::number(m_endX).value_or(100.0),
                                         VexaLimitSource::number(m_endY).value_or(100.0));
    writeItems();
}

void VexaUserCurve::cellEdited(int row, int column)
{
    if (m_filling || row < 0 || row >= m_table.points.size())
        return;
    bool ok = false;
    const double typed = QLocale().toDouble(m_grid->item(row, column)->text(), &ok);
    const QPointF old = m_table.points[row];
    const double x = column == 0 ? typed : old.x();
    const double y = column == 1 ? typed : old.y();
    if (!ok || !setPoint(row, x, y)) {
        MessageBoxSeam::show(this, QMessageBox::Warning,
                             VexaControlTexts::text(VexaControlTexts::InvalidEntryTitle),
                             VexaControlTexts::text(VexaControlTexts::NotAccepted));
        fillGrid();
    }
}

QRectF VexaUserCurve::graphArea() const
{
    return QRectF(8, 8, GraphWidth - 16, std::max(40, height() - 16));
}

void VexaUserCurve::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = graphArea();
    p.fillRect(area, palette().color(QPalette::Base));
    p.setPen(palette().color(QPalette::Midlight));
    for (int i = 0; i <= 4; ++i) {
        const double f = i / 4.0;
        p.drawLine(QPointF(area.left() + f * area.width(), area.top()),
                   QPointF(area.left() + f * area.width(), area.bottom()));
        p.drawLine(QPointF(area.left(), area.bottom() - f * area.height()),
                   QPointF(area.right(), area.bottom() - f * area.height()));
    }
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(area);
    const auto at = [&](const QPointF &pt) {
        return QPointF(area.left() + std::clamp(pt.x() / 100.0, 0.0, 1.0) * area.width(),
                       area.bottom() - std::clamp(pt.y() / 100.0, 0.0, 1.0) * area.height());
    };
    p.setPen(QPen(QColor(0x1F, 0x5F, 0xC0), 2));
    for (int i = 1; i < m_table.points.size(); ++i)
        p.drawLine(at(m_table.points[i - 1]), at(m_table.points[i]));
    p.setBrush(QColor(0x1F, 0x5F, 0xC0));
    for (const QPointF &pt : m_table.points)
        p.drawEllipse(at(pt), 3, 3);
}

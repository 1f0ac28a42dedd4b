#include "VexaEnumCombo.h"

#include "MessageBoxSeam.h"
#include "VexaControlTexts.h"
#include "VexaItemBinding.h"

#include <QApplication>
#include <QStandardItemModel>

namespace {
const QColor ModifiedBackground(255, 228, 160);
} // namespace

VexaEnumCombo::VexaEnumCombo(QWidget *parent) : QComboBox(parent)
{
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(this, &QComboBox::activated, this, &VexaEnumCombo::choose);
}

void VexaEnumCombo::setBindings(VexaItemBinding *binding, VexaItemBinding *limit)
{
    for (VexaItemBinding *old : {m_binding.data(), m_limit.data()}) {
        if (old)
            disconnect(old, nullptr, this, nullptr);
    }
    m_binding = binding;
    m_limit = limit;
    if (m_binding)
        connect(m_binding, &VexaItemBinding::changed, this, &VexaEnumCombo::showHostValue);
    if (m_limit)
        connect(m_limit, &VexaItemBinding::changed, this, &VexaEnumCombo::fill);
    fill();
}

QList<bool> VexaEnumCombo::selectable() const
{
    // "1, 1, 0": one flag per entry in entry order; entries beyond the list stay selectable.
    QList<bool> flags;
    if (m_limit && m_limit->isBound()) {
        const QStringList parts = m_limit->hostText().split(QLatin1Char(','));
        for (const QString &part : parts)
            flags.append(part.trimmed() != QLatin1String("0"));
    }
    return flags;
}

void VexaEnumCombo::fill()
{
    const QSignalBlocker blocker(this);
    clear();
    if (m_binding && m_binding->isBound()) {
        const QList<bool> flags = selectable();
        const auto &entries = m_binding->facts().enumeration;
        auto *model = qobject_cast<QStandardItemModel *>(this->model());
        for (int i = 0; i < entries.size(); ++i) {
            addItem(entries[i].text, entries[i].value);
            if (i < flags.size() && !flags[i] && model)
                model->item(i)->setEnabled(false);
        }
    }
    showHostValue();
}

void VexaEnumCombo::showHostValue()
{
    const QSignalBlocker blocker(this);
    const bool bound = m_binding && m_binding->isBound();
    const QString value = bound ? m_binding->hostText() : QString();
    bool ok = false;
    const int index = findData(value.toInt(&ok));
    setCurrentIndex(ok ? index : -1);
    // A value outside the table is still shown, as the number it is.
    setPlaceholderText(currentIndex() < 0 ? value : QString());
    showMarker(bound && m_binding->isModified());
}

void VexaEnumCombo::choose(int index)
{
    if (!m_binding || !m_binding->isBound() || index < 0)
        return;
    const VexaEntry entry = m_binding->write(QString::number(itemData(index).toInt()));
    showHostValue();
    if (!entry.ok()) {
        const QString text =
            m_subject.isEmpty() ? entry.message : m_subject + QStringLiteral(": ") + entry.message;
        MessageBoxSeam::show(this, QMessageBox::Warning,
                             VexaControlTexts::text(VexaControlTexts::InvalidEntryTitle), text);
    }
}

void VexaEnumCombo::showMarker(bool modified)
{
    QPalette palette = this->palette();
    const QPalette standard = QApplication::palette(this);
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        for (auto role : {QPalette::Base, QPalette::Button})
            palette.setColor(group, role,
                             modified ? ModifiedBackground : standard.color(group, role));
    }
    setPalette(palette);
    setToolTip(modified ? VexaControlTexts::text(VexaControlTexts::ModifiedTooltip) : QString());
}

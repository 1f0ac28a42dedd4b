#include "VexaValueEdit.h"

#include "MessageBoxSeam.h"
#include "VexaControlTexts.h"
#include "VexaItemBinding.h"

#include <QApplication>
#include <QFocusEvent>

namespace {
// Edited in the dataset, not yet in the device: a soft amber that keeps the
// text readable and is not mistaken for an error.
const QColor ModifiedBackground(255, 228, 160);
} // namespace

VexaValueEdit::VexaValueEdit(QWidget *parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::returnPressed, this, [this] { commit(); });
}

void VexaValueEdit::setBinding(VexaItemBinding *binding)
{
    if (m_binding)
        disconnect(m_binding, nullptr, this, nullptr);
    m_binding = binding;
    if (m_binding)
        connect(m_binding, &VexaItemBinding::changed, this, [this] { showHostValue(); });
    showHostValue(true);
}

void VexaValueEdit::setDecimalPlaces(int places)
{
    if (places == m_decimals)
        return;
    m_decimals = places;
    showHostValue();
}

void VexaValueEdit::showHostValue(bool force)
{
    const bool bound = m_binding && m_binding->isBound();
    // A background report must not wipe out what the user is typing.
    if (force || !isModified())
        setText(bound ? m_binding->displayText(m_decimals) : QString());
    showMarker(bound && m_binding->isModified());
}

bool VexaValueEdit::commit()
{
    if (!isModified() || m_refusing)
        return true;
    if (!m_binding || !m_binding->isBound()) {
        showHostValue(true);
        return true;
    }
    // A number box emptied and left holds no entry: nothing is written, and
    // the item's value comes back (a text item may well be emptied).
    if (text().trimmed().isEmpty() && VexaEntryCheck::isNumber(m_binding->facts())) {
        showHostValue(true);
        return true;
    }
    const VexaEntry entry = m_binding->write(text());
    // Show the host's own form of what was written (or what it kept).
    showHostValue(true);
    if (!entry.ok()) {
        refuse(entry.message);
        return false;
    }
    return true;
}

void VexaValueEdit::refuse(const QString &message)
{
    // The box takes the focus away: that must not count as a second entry.
    m_refusing = true;
    const QString title = VexaControlTexts::text(VexaControlTexts::InvalidEntryTitle);
    const QString text = m_subject.isEmpty() ? message : m_subject + QStringLiteral(": ") + message;
    MessageBoxSeam::show(this, QMessageBox::Warning, title, text);
    m_refusing = false;
}

void VexaValueEdit::focusOutEvent(QFocusEvent *event)
{
    // Leaving the field confirms the entry; another window taking over
    // (a menu, a message box) does not.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        commit();
    QLineEdit::focusOutEvent(event);
}

void VexaValueEdit::showMarker(bool modified)
{
    QPalette palette = this->palette();
    const QPalette standard = QApplication::palette(this);
    for (auto group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::Base,
                         modified ? ModifiedBackground : standard.color(group, QPalette::Base));
    setPalette(palette);
    setToolTip(modified ? VexaControlTexts::text(VexaControlTexts::ModifiedTooltip) : QString());
}

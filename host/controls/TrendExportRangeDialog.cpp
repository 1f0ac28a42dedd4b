#include "TrendExportRangeDialog.h"

#include "VexaDisplayTexts.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>

using T = VexaDisplayTexts;

TrendExportRangeDialog::TrendExportRangeDialog(const QList<TrendRecorder::Marker> &markers,
                                               QWidget *parent)
    : QDialog(parent), m_from(new QComboBox(this)), m_to(new QComboBox(this))
{
    setWindowTitle(T::text(T::ExportTitle));
    m_from->addItem(T::text(T::StartOfRecording), QVariant::fromValue(qint64(0)));
    for (const TrendRecorder::Marker &marker : markers) {
        const QString text =
            QDateTime::fromMSecsSinceEpoch(marker.timeMs).toString(QStringLiteral("HH:mm:ss")) +
            QLatin1Char(' ') + marker.note;
        m_from->addItem(text, QVariant::fromValue(marker.timeMs));
        m_to->addItem(text, QVariant::fromValue(marker.timeMs));
    }
    m_to->addItem(T::text(T::Now), QVariant::fromValue(qint64(0)));
    m_to->setCurrentIndex(m_to->count() - 1);
    auto *form = new QFormLayout(this);
    form->addRow(T::text(T::From), m_from);
    form->addRow(T::text(T::To), m_to);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

std::optional<TrendExportRangeDialog::Range>
TrendExportRangeDialog::ask(const QList<TrendRecorder::Marker> &markers, QWidget *parent)
{
    TrendExportRangeDialog dialog(markers, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return Range{dialog.m_from->currentData().toLongLong(),
                 dialog.m_to->currentData().toLongLong()};
}

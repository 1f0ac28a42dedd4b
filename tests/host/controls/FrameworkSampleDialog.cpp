#include "FrameworkSampleDialog.h"

#include "TestHost.h"

#include "VexAppletItemManager.h"
#include "VexaControlTexts.h"
#include "VexaCtrlItemHandler.h"
#include "VexaLabelComboUnit.h"
#include "VexaLabelTextUnit.h"

#include <QFile>
#include <QGroupBox>
#include <QHash>
#include <QVBoxLayout>

FrameworkSampleDialog::FrameworkSampleDialog(const std::shared_ptr<VexAppletItemManager> &manager)
{
    // As read from the device, not edited; the damping is edited.
    testhost::setShadow(*manager, QStringLiteral("scaleInLoLim"), QStringLiteral("-12.5"));
    QVariant ignored;
    manager->fncAdjustItem(QStringLiteral("scaleInLoLim"), ignored);
    testhost::setDataset(*manager, QStringLiteral("filterTime"), QStringLiteral("1.5"));

    auto *layout = new QVBoxLayout(this);
    auto *handler = new VexaCtrlItemHandler(this);
    auto *frame = new QGroupBox(VexaTextLookup::text(2047, QString()), this);
    auto *rows = new QVBoxLayout(frame);
    layout->addWidget(frame);
    // Caption id, the kind's item property, item, unit item or fixed unit.
    const struct
    {
        int textId;
        const char *property;
        const char *item;
        const char *unit;
    } design[] = {{2042, "objectnametext", "scaleInLoLim", "primaryValueUnit"},
                  {2043, "objectnametext", "scaleInHiLim", "primaryValueUnit"},
                  {2109, "objectnamecombo", "primaryValueUnit", ""},
                  {2112, "objectnametext", "filterTime", "=s"},
                  {2079, "objectnametext", "_tagHART", ""},
                  {2025, "objectnamecombo", "alarmSelection", ""}};
    for (const auto &d : design) {
        VexaFieldControl *control =
            QByteArray(d.property) == "objectnametext"
                ? static_cast<VexaFieldControl *>(new VexaLabelTextUnit(frame))
                : new VexaLabelComboUnit(frame);
        control->setProperty(d.property, QString::fromLatin1(d.item));
        const QString unit = QString::fromLatin1(d.unit);
        control->setProperty(unit.startsWith(u'=') ? "caption" : "objectnameunit",
                             unit.startsWith(u'=') ? unit.mid(1) : unit);
        control->setLabelTextId(d.textId);
        control->setLeftSpace(4);
        for (const char *p : {"lefttext", "leftcombo"})
            control->setProperty(p, 165);
        for (const char *p : {"widthtext", "widthcombo"})
            control->setProperty(p, 110);
        rows->addWidget(control);
        controls << control;
    }
    tag = controls[4];
    tag->setEnabled(false);
    show();
    handler->registerControls(this, manager);
    adjustSize();
    testhost::setShadow(*manager, QStringLiteral("scaleInHiLim"), QStringLiteral("2500"));
    manager->fncAdjustItem(QStringLiteral("scaleInHiLim"), ignored);
}

VexaTextLookup::Function FrameworkSampleDialog::programStrings()
{
    QHash<int, QStringList> table;
    QFile file(QStringLiteral(VEX_STRINGS_TSV));
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : file.readAll().split('\n')) {
            const QStringList parts = QString::fromUtf8(line).split(QLatin1Char('\t'));
            if (parts.size() == 3)
                table.insert(parts[0].toInt(), parts.mid(1));
        }
    }
    return [table](int id) {
        const QStringList texts = table.value(id);
        return texts.isEmpty() ? QString() : texts[VexaControlTexts::german() ? 1 : 0];
    };
}

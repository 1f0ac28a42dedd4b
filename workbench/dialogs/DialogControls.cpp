#include "DialogControls.h"

#include "IDeviceInfo.h"
#include "VexaAppItem.h"
#include "VexaFieldControl.h"
#include "VexaSequenceItem.h"
#include "VexaTextLookup.h"
#include "WorkbenchLog.h"
#include "displays/ctlFixedDigitalDisplay.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/frmMain.h"

#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace DialogControls {

namespace {

template <class Widget> Widget *tagged(QWidget *parent, const char *name, int textId)
{
    auto *widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setProperty("Tag", textId);
    return widget;
}

} // namespace

void useProgramTexts()
{
    if (VexaTextLookup::installed())
        return;
    VexaTextLookup::install([](int id) { return GetResTextOr(qint16(id), QString()); });
}

QLabel *label(QWidget *parent, const char *name, int textId)
{
    return tagged<QLabel>(parent, name, textId);
}

QPushButton *button(QWidget *parent, const char *name, int textId)
{
    return tagged<QPushButton>(parent, name, textId);
}

QRadioButton *option(QWidget *parent, const char *name, int textId)
{
    return tagged<QRadioButton>(parent, name, textId);
}

QGroupBox *frame(QWidget *parent, const char *name, int textId)
{
    return tagged<QGroupBox>(parent, name, textId);
}

ctlFixedDigitalDisplay *liveDisplay(QWidget *parent, int index)
{
    auto *display = new ctlFixedDigitalDisplay(parent);
    display->setObjectName(QStringLiteral("displayCtrl%1").arg(index));
    QFont large = display->Font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setBold(true);
    display->setFont(large);
    // The figures keep off the edges of the black field.
    display->lblValue()->setContentsMargins(6, 0, 8, 0);
    const QFontMetrics metrics(large);
    display->setMinimumSize(metrics.horizontalAdvance(QStringLiteral("UA -8888.88 mbar")) + 14,
                            metrics.height() + 8);
    return display;
}

VexaAppItem *appItem(QWidget *parent, const char *name, const char *item, qint16 updateInterval)
{
    auto *control = new VexaAppItem(parent);
    control->setObjectName(QLatin1String(name));
    control->setAppItemName(QLatin1String(item));
    control->setUpdateInterval(updateInterval);
    control->setVisible(false);
    return control;
}

VexaSequenceItem *sequence(QWidget *parent, const char *name, const char *sequenceName)
{
    auto *control = new VexaSequenceItem(parent);
    control->setObjectName(QLatin1String(name));
    control->setAppItemName(QLatin1String(sequenceName));
    control->setVisible(false);
    return control;
}

void alignFields(const QList<VexaFieldControl *> &controls)
{
    constexpr int Gap = 6;
    int widest = 0;
    for (const VexaFieldControl *control : controls) {
        const QFontMetrics metrics(control->captionPart()->font());
        widest = std::max(widest, metrics.horizontalAdvance(control->labelText()));
    }
    for (VexaFieldControl *control : controls) {
        const char *left = control->property("lefttext").isValid() ? "lefttext" : "leftcombo";
        control->setProperty(left, control->leftSpace() + widest + Gap);
    }
}

void markChanged(QWidget *box, bool changed)
{
    QFont font = box->font();
    font.setUnderline(changed);
    box->setFont(font);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Text, changed ? QColor(0, 0, 255) : QColor(0, 0, 0));
    box->setPalette(palette);
}

bool isMarkedChanged(const QWidget *box)
{
    return box->font().underline() && box->palette().color(QPalette::Text) == QColor(0, 0, 255);
}

bool adjustNow(VexaSequenceItem *sequence)
{
    return hostTakes("taking over what was read", [sequence] { sequence->Adjust(true); });
}

bool hostTakes(const char *what, const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const std::exception &error) {
        qCWarning(lcWorkbench).noquote() << what << "refused by the host:" << error.what();
        return false;
    }
}

void fitToContents(QWidget *dialog)
{
    if (QLayout *layout = dialog->layout())
        layout->activate();
    QWidget *window = dialog;
    if (auto *frame = qobject_cast<QMdiSubWindow *>(dialog->parentWidget()))
        window = frame;
    window->resize(window->size().expandedTo(window->sizeHint()));
}

void unload(QWidget *dialog)
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(dialog->parentWidget()))
        frame->close();
    else
        dialog->close();
}

bool fixedCurrentModeEnabled()
{
    const auto info = frmMain::gDeviceInfo;
    return info && info->FixedCurrentModeEnabled() != 0;
}

} // namespace DialogControls

#include "frmDisplayDigital.h"

#include "ctlDigitalDisplay.h"
#include "ctlDisplaySetting.h"
#include "mainwin/MainChildWindows.h"

#include <QComboBox>
#include <QFrame>
#include <QMdiSubWindow>

namespace {
const MainCommandTable::Registration registration(
    "mnuDisplayDigital",
    MainChildWindows::opener<frmDisplayDigital>({.readRangeValues = true, .several = true}));
constexpr int FrameBorder = 2;
} // namespace

frmDisplayDigital::frmDisplayDigital(QWidget *parent)
    : DisplayWindow("frmDisplayDigital", 3942, {.width = true, .height = false}, parent),
      cmbMeasValue(new QComboBox(this)), fraStatus(new QFrame(this)),
      displayCtrl(new ctlDigitalDisplay(fraStatus)), ctlDisplaySetting1(new ctlDisplaySetting(this))
{
    cmbMeasValue->setObjectName(QStringLiteral("cmbMeasValue"));
    fraStatus->setObjectName(QStringLiteral("fraStatus"));
    fraStatus->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    displayCtrl->setObjectName(QStringLiteral("displayCtrl"));
    ctlDisplaySetting1->setObjectName(QStringLiteral("ctlDisplaySetting1"));
    setMinimumWidth(160);
    resize(sizeHint());
    connect(cmbMeasValue, &QComboBox::activated, this,
            [this] { ctlDisplaySetting1->ChangeDisplayedValue(); });
    connect(displayCtrl, &ctlDigitalDisplay::Resize, this, &frmDisplayDigital::relayout);
}

QSize frmDisplayDigital::sizeHint() const
{
    return {300, 160};
}

void frmDisplayDigital::FormActivated()
{
    ctlDisplaySetting1->Init(displayCtrl, cmbMeasValue);
    cmbMeasValue->setCurrentIndex(0);
    ctlDisplaySetting1->ChangeDisplayedValue();
    relayout();
}

void frmDisplayDigital::resizeEvent(QResizeEvent *event)
{
    DisplayWindow::resizeEvent(event);
    relayout();
}

void frmDisplayDigital::showEvent(QShowEvent *event)
{
    DisplayWindow::showEvent(event);
    relayout();
}

// The list on top, the digits below it as wide as the window; the window
// as high as the digits need.
void frmDisplayDigital::relayout()
{
    if (m_layingOut)
        return;
    m_layingOut = true;
    const int width = std::max(1, this->width() - 2 * Margin);
    const int listHeight = cmbMeasValue->sizeHint().height();
    cmbMeasValue->setGeometry(Margin, Margin, width, listHeight);
    const int top = 2 * Margin + listHeight;
    const int inner = std::max(1, width - 2 * FrameBorder);
    fraStatus->setGeometry(Margin, top, width, fraStatus->height());
    displayCtrl->setGeometry(FrameBorder, FrameBorder, inner, std::max(1, displayCtrl->height()));
    const int digits = std::max(1, displayCtrl->valueHeight());
    displayCtrl->resize(inner, digits);
    fraStatus->resize(width, digits + 2 * FrameBorder);
    const int wanted = top + digits + 2 * FrameBorder + Margin;
    if (wanted != height()) {
        // The frame around a child window does not follow a fixed height by itself.
        auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget());
        const int decoration = frame ? frame->height() - height() : 0;
        setFixedHeight(wanted);
        if (frame)
            frame->resize(frame->width(), decoration + wanted);
    }
    m_layingOut = false;
}

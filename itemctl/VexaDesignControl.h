#pragma once

#include <QString>
#include <QWidget>

// What every control of this library shares: a caption that is only
// shown while the dialog is being designed, and the design-mode flag that
// decides which properties may still be set. A control is in design mode
// until its dialog is loaded; the dialog (or its item handler) clears it.
class VexaDesignControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool DesignMode READ DesignMode WRITE setDesignMode)

public:
    bool DesignMode() const { return m_designMode; }
    // Leaving design mode hides the control: it has no visual role at run time.
    void setDesignMode(bool designMode);
    QSize sizeHint() const override;

    // The error numbers of the two refused property writes.
    [[noreturn]] void raiseSetAtRunTime(const char *property) const;
    [[noreturn]] void raiseSetAtDesignTime(const char *property) const;

protected:
    explicit VexaDesignControl(const QString &caption, QWidget *parent);
    void setCaption(const QString &caption);
    QString caption() const;
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    bool m_designMode = true;
};

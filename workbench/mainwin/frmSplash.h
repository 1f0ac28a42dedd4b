#pragma once

#include <QWidget>

class QLabel;

// The picture shown while the main window loads; the main view opens it
// before the window is created and closes it once the window is shown.
class frmSplash : public QWidget
{
    Q_OBJECT

public:
    explicit frmSplash(QWidget *parent = nullptr);

    QLabel *imgLogo;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_pictureLoaded = false;
};

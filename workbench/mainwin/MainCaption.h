#pragma once

#include <QObject>

class frmMain;

// The main window's title: the device identity, and after it the name of the
// dataset file open. Connected, the identity is the one the device answered,
// not the dataset's; a device of another kind is named as such.
class MainCaption : public QObject
{
    Q_OBJECT

public:
    explicit MainCaption(frmMain &main);

    void update();

private:
    QString identity() const;

    frmMain &m_main;
};

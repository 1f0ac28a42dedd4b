#pragma once

#include <QWidget>

class QPlainTextEdit;

// The readme of the program (text 1101 names the file of the user's
// language) in a read-only text window; one window, brought to the front
// when opened again.
class ReadMe : public QWidget
{
    Q_OBJECT

public:
    static void open(QWidget *parent);
    static ReadMe *current();
    // The readme text of the user's language; empty when it cannot be read.
    static QString text();

    explicit ReadMe(QWidget *parent = nullptr);

    QPlainTextEdit *txtReadMe;
};

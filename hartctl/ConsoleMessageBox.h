#pragma once

#include "MessageBoxSeam.h"

class Console;

// The host and its controllers ask the user now and then (the history
// database cannot be written: write all the same?). From a terminal
// program nobody is there to answer in a window: the question is told on
// standard error and answered with the careful choice (No, Cancel).
class ConsoleMessageBox final : public MessageBoxSeam
{
public:
    explicit ConsoleMessageBox(Console &console) : m_console(console) {}
    QMessageBox::StandardButton ask(QWidget *parent, const MessageBoxRequest &request) override;

private:
    Console &m_console;
};

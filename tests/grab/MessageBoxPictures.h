#pragma once

#include "MessageBoxSeam.h"

#include <QList>
#include <QPair>
#include <QString>

class Grabber;

// Answers the program's message boxes while a grab runs, and takes a picture
// of those it was told to: the real box, under a title bar drawn as wide as
// the box (offscreen windows have no frame), so that a title cut off shows.
// Installs itself while it lives.
class MessageBoxPictures final : public MessageBoxSeam
{
public:
    explicit MessageBoxPictures(Grabber &grab);
    ~MessageBoxPictures() override;
    MessageBoxPictures(const MessageBoxPictures &) = delete;
    MessageBoxPictures &operator=(const MessageBoxPictures &) = delete;

    // The next box is saved as this picture (none when empty) and answered so.
    void expect(const QString &picture, QMessageBox::StandardButton answer);
    QMessageBox::StandardButton ask(QWidget *parent, const MessageBoxRequest &request) override;
    // Every box asked so far was one that was expected.
    bool allExpected() const { return m_unexpected.isEmpty() && m_expected.isEmpty(); }
    QString unexpected() const { return m_unexpected.join(QLatin1String(" | ")); }

private:
    void save(const MessageBoxRequest &request, const QString &picture);

    Grabber &m_grab;
    QList<QPair<QString, QMessageBox::StandardButton>> m_expected;
    QStringList m_unexpected;
    MessageBoxSeam *m_previous = nullptr;
};

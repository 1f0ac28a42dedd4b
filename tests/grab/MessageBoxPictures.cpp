#include "MessageBoxPictures.h"

#include "Grabber.h"

#include <QPainter>
#include <QPixmap>
#include <QTest>

MessageBoxPictures::MessageBoxPictures(Grabber &grab)
    : m_grab(grab), m_previous(MessageBoxSeam::installed())
{
    MessageBoxSeam::install(this);
}

MessageBoxPictures::~MessageBoxPictures()
{
    MessageBoxSeam::install(m_previous);
}

void MessageBoxPictures::expect(const QString &picture, QMessageBox::StandardButton answer)
{
    m_expected.append({picture, answer});
}

QMessageBox::StandardButton MessageBoxPictures::ask(QWidget *, const MessageBoxRequest &request)
{
    if (m_expected.isEmpty()) {
        m_unexpected << request.title + QStringLiteral(": ") + request.text;
        return request.buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
                                                             : QMessageBox::Ok;
    }
    const auto [picture, answer] = m_expected.takeFirst();
    if (!picture.isEmpty())
        save(request, picture);
    return answer;
}

void MessageBoxPictures::save(const MessageBoxRequest &request, const QString &picture)
{
    const auto box = QtMessageBoxSeam::build(nullptr, request);
    box->setWindowModality(Qt::NonModal);
    box->show();
    m_grab.require(QTest::qWaitForWindowExposed(box.get()), picture + ": box not shown");
    const QPixmap content = box->grab();
    // The title bar: the window's icon and buttons take their room, the
    // title gets what is left, cut off with "..." if that is too little.
    const QFont font = QtMessageBoxSeam::titleFont(*box);
    const QFontMetrics metrics(font);
    const int barHeight = metrics.height() + 12;
    QPixmap framed(content.width(), content.height() + barHeight);
    framed.fill(Qt::white);
    QPainter painter(&framed);
    painter.fillRect(QRect(0, 0, framed.width(), barHeight), QColor(0x3c, 0x3f, 0x41));
    const int reserve = QtMessageBoxSeam::titleBarReserve(metrics);
    const int buttons = reserve / 2;
    for (int i = 0; i < 3; ++i)
        painter.fillRect(
            QRect(framed.width() - (i + 1) * (buttons / 3) + 4, 6, buttons / 3 - 8, barHeight - 12),
            QColor(0x70, 0x74, 0x78));
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QRect titleRoom(reserve - buttons, 0, framed.width() - reserve, barHeight);
    painter.drawText(titleRoom, Qt::AlignCenter,
                     metrics.elidedText(request.title, Qt::ElideRight, titleRoom.width()));
    painter.drawPixmap(0, barHeight, content);
    painter.end();
    box->hide();
    m_grab.save(framed, picture);
}

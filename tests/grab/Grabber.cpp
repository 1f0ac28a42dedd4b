#include "Grabber.h"

#include <QDir>
#include <QPixmap>
#include <QTest>
#include <QWidget>

Grabber::Grabber(QString folder, QString language)
    : m_folder(std::move(folder)), m_language(std::move(language))
{
}

void Grabber::save(const QPixmap &picture, const QString &name)
{
    require(!picture.isNull(), name + QStringLiteral(": empty picture"));
    const QString path = QDir(m_folder).filePath(name + QLatin1Char('-') + m_language + ".png");
    require(picture.save(path), QStringLiteral("cannot write ") + path);
    m_written << path;
}

void Grabber::save(QWidget &window, const QString &name)
{
    window.show();
    require(QTest::qWaitForWindowExposed(&window), name + QStringLiteral(": window not shown"));
    save(window.grab(), name);
}

void Grabber::require(bool ok, const QString &what) const
{
    if (!ok)
        throw Failed(what.toStdString());
}

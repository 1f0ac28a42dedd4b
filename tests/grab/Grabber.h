#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

class QPixmap;
class QWidget;

// What a grab is given: the language it runs in (the default locale is set to
// it already) and the folder its pictures go to.
class Grabber
{
public:
    // Stops one grab; the tool reports it and goes on with the next.
    class Failed : public std::runtime_error
    {
    public:
        using std::runtime_error::runtime_error;
    };

    Grabber(QString folder, QString language);

    const QString &language() const { return m_language; }
    bool german() const { return m_language == QLatin1String("de"); }

    // Writes <folder>/<name>-<language>.png.
    void save(const QPixmap &picture, const QString &name);
    // Shows the window, waits until it is on the (offscreen) screen, saves it.
    void save(QWidget &window, const QString &name);
    // Stops the grab with what went wrong unless ok.
    void require(bool ok, const QString &what) const;

    const QStringList &written() const { return m_written; }

private:
    QString m_folder;
    QString m_language;
    QStringList m_written;
};

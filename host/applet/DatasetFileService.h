#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class DeviceDescription;
class ItemStore;

// The applet's dataset file commands: open, save and save as, with the file
// chooser and the user told of every failure. The current file name lives in
// "&&private_PM&&FileName"; a loaded file makes "&&private&&CurrentSource" 1.
class DatasetFileService : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *Filter = "Datasets (*.vexds);;All files (*)";

    DatasetFileService(std::shared_ptr<const DeviceDescription> description, ItemStore &store,
                       QObject *parent = nullptr);

    qint32 loadFromFile();
    qint32 loadFile(const QString &path);
    qint32 save();
    qint32 saveAs();
    qint32 saveFile(const QString &path);
    QString fileName() const;
    // The unknown items a load left out, as the user is told of them.
    static QString skippedSummary(const QStringList &names);

private:
    // A file name for a dataset that has none yet: its tag.
    QString suggestedName() const;
    void setText(const QString &item, const QString &value);

    std::shared_ptr<const DeviceDescription> m_description;
    ItemStore &m_store;
};

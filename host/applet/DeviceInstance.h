#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <memory>

class ConfigurationWatch;
class ConnectionController;
class DatasetFileService;
class DeviceDescription;
class HartLink;
class HartMaster;
class SequenceEngine;
class VexAppletItemManager;
class View;

// One open device: the item store and manager over the description, the
// HART master on the given link, the sequence engine, the connection and the
// dataset files, and the views started by programmatic identifier.
class DeviceInstance : public QObject
{
    Q_OBJECT

public:
    DeviceInstance(const DeviceDescription &description, HartLink *link, QObject *parent = nullptr);
    ~DeviceInstance() override;

    const std::shared_ptr<VexAppletItemManager> &manager() const { return m_manager; }
    const DeviceDescription &description() const { return *m_description; }
    HartMaster &master() const { return *m_master; }
    SequenceEngine &engine() const { return *m_engine; }
    ConnectionController &connection() const { return *m_connection; }
    DatasetFileService &files() const { return *m_files; }
    // Keeps the values as read the device's when another master changes it
    // (ConfigurationWatch).
    void watchConfiguration();

    // Creates the view registered under progId, attaches it and shows it.
    qint32 startView(const QString &progId);
    int startedViewCount() const { return int(m_views.size()); }
    // Destroys the started views, the latest first, and disconnects.
    void close();

    // An object of this instance that fncCreateObject hands out by its
    // programmatic identifier ahead of the program-wide ones; it lives as
    // long as the instance.
    void addObject(const QString &progId, std::shared_ptr<QObject> object);
    std::shared_ptr<QObject> object(const QString &progId) const;

    // Sets a host item from its string form (command-line options, the frame).
    bool setItemText(const QString &name, const QString &value);

    // Copies the files that come with the description (report templates,
    // default datasets) into a folder the program may write to, and makes it
    // "&&private_PM&&VexDPath".
    bool prepareDescriptionFolder(const QString &folder, QString *error);

private:
    void viewLeft(View *view);

    std::shared_ptr<const DeviceDescription> m_description;
    std::shared_ptr<VexAppletItemManager> m_manager;
    std::unique_ptr<HartMaster> m_master;
    std::unique_ptr<SequenceEngine> m_engine;
    std::unique_ptr<ConnectionController> m_connection;
    std::unique_ptr<DatasetFileService> m_files;
    std::unique_ptr<ConfigurationWatch> m_configurationWatch;
    QList<std::shared_ptr<View>> m_views;
    // Last, so that they go first: they may hold on to the parts above.
    QHash<QString, std::shared_ptr<QObject>> m_objects;
    bool m_closed = false;
};

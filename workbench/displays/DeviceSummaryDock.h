#pragma once

#include <QDockWidget>
#include <array>

class QFormLayout;
class QLabel;
class VexaAppItem;
class ctlDeviceStatus;
class ctlFixedDigitalDisplay;

// What an engineer checks first, docked at the main window's side: tag and
// descriptor, device type and revisions, the range, the live pressure, loop
// current and percent of range, the device's health, and where the dataset
// came from and whether it matches the device. Connected, every line is the
// device's as read since it connected; without a device, the dataset's,
// under a heading that says so. A device of another maker or type is named
// by what it answered to command 0, and none of the lines is filled for it.
//
// Its item controls and displays are registered with the main window's own
// (the dock is part of that window); its place is kept per user.
class DeviceSummaryDock : public QDockWidget
{
    Q_OBJECT

public:
    explicit DeviceSummaryDock(QWidget *mainWindow);

    // The lines as shown, for tests: a key ("heading" for the line above
    // them all) and its text.
    QString lineText(const QString &key) const;
    bool isStale() const { return !m_connected; }
    bool showsForeignDevice() const { return m_foreign; }
    // Whether the live values are shown (only while a device is connected).
    bool showsLiveValues() const;
    ctlDeviceStatus *deviceStatus() const { return m_status; }
    ctlFixedDigitalDisplay *display(int i) const { return m_displays[size_t(i)]; }

    // The dock's place and visibility as the user left them, and back.
    void restorePlacement();
    void savePlacement() const;

protected:
    void changeEvent(QEvent *event) override;

private:
    // A control bound to the item's dataset value, or with device to the
    // value read from the device (kept under name + "@").
    void addLiveLines(QFormLayout *form);
    void bindItems();
    VexaAppItem *item(const char *name, const char *itemName, bool device = false);
    QLabel *addLine(const QString &key, qint16 textId);
    void refresh();
    void showRange(const QString &waiting);
    void showHealth();
    void showDataset();
    void showSource();
    void showForeignDevice();
    void applyTexts();

    QWidget *m_body;
    QHash<QString, QLabel *> m_values;
    QHash<QString, QLabel *> m_keys;
    QHash<QString, VexaAppItem *> m_items;
    std::array<ctlFixedDigitalDisplay *, 3> m_displays{};
    std::array<QLabel *, 3> m_noValues{};
    ctlDeviceStatus *m_status;
    QLabel *m_stale;
    bool m_connected = false;
    bool m_foreign = false;
    QString m_foreignText; // who answers, as the host named it
    bool m_restoring = false;
    bool m_refreshing = false;
};

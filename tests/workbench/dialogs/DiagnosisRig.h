#pragma once

#include "IViewEx.h"
#include "TestHost.h"

#include <QWidget>
#include <memory>

class VexAppletItemManager;
class clsVexaForm;

// A device dialog as the program shows it, on the real host and the
// simulated transmitter of the built-in description: a main window for the
// busy state, the dialog opened with a view on the host. Periodic reads come
// every 20 ms instead of every second.
class DiagnosisRig
{
public:
    static constexpr int UpdateUnitMs = 20;

    DiagnosisRig();
    ~DiagnosisRig();

    VexAppletItemManager &manager() const;
    SimulatedTransmitter &device() const { return m_host->device(); }
    TestHost &host() const { return *m_host; }
    IViewEx *view() const { return m_view.get(); }
    QWidget &main() { return m_main; }

    bool connect();
    // Waits until no sequence runs.
    bool idle() const;
    // Opens a dialog of type T as the main window's commands do.
    template <class T> T *open()
    {
        auto *dialog = new T;
        show(dialog);
        return dialog;
    }
    // Both copies, as an upload leaves them (not modified).
    void setItem(const QString &name, const QString &value) const;
    void setShadow(const QString &name, const QString &value) const;
    QString text(const QString &name, bool shadow = false) const;
    bool modified(const QString &name) const;
    int updateInterval(const QString &name) const;

private:
    void show(clsVexaForm *dialog);

    std::unique_ptr<TestHost> m_host;
    std::unique_ptr<IViewEx> m_view;
    QWidget m_main;
    std::unique_ptr<clsVexaForm> m_dialog;
};

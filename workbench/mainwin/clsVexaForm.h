#pragma once

#include "IVexaForm.h"

#include <QWidget>

class QTabWidget;
class VexaControlItemHandler;

// The frame of every device dialog: a dialog derived from it builds its
// controls (inside a container named "fraGroupAll", or a tab widget named
// "tbsOptions" whose pages are the option pages) and reacts to them; the
// frame does the rest. Load (first show after construction or after a
// close): container hidden, texts applied, position restored. Activation:
// the item controls bound once, container shown. Close: position stored,
// items unbound; the next show loads again.
class clsVexaForm : public QWidget, public IVexaForm
{
    Q_OBJECT
    Q_PROPERTY(bool IsInitialized READ IsInitialized WRITE setIsInitialized)

public:
    explicit clsVexaForm(QWidget *parent = nullptr);
    ~clsVexaForm() override;

    IViewEx *viewRef() const override { return m_view; }
    void setViewRef(IViewEx *view) override { m_view = view; }
    // The text of the id, or empty when the id is in no table.
    QString GetTextFromResource(qint16 &iTextID) const override;
    void UpdateVexaControls() override;

    bool IsInitialized() const { return m_initialized; }
    void setIsInitialized(bool initialized) { m_initialized = initialized; }
    VexaControlItemHandler *VexaControlItemHandler1() const { return m_handler; }
    // "fraGroupAll" or "tbsOptions"; null for a dialog without either.
    QWidget *container() const;

    // The common steps; the frame runs them from the window's events.
    void CommonLoad();
    // True when the items were bound now.
    bool CommonActivate();
    void CommonUnload();
    void CommonTabChange(int previousTab);

protected:
    // Hooks for the dialog, after the frame's own part of each step.
    virtual void FormLoad() {}
    virtual void FormActivated() {}
    virtual void FormUnload() {}

    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QTabWidget *tabs() const;
    void watchTabs();

    VexaControlItemHandler *m_handler;
    IViewEx *m_view = nullptr;
    bool m_initialized = false;
    bool m_loaded = false;
    bool m_tabsWatched = false;
    int m_currentTab = 0;
};

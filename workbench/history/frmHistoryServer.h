#pragma once

#include <QDialog>
#include <memory>

class HistoryUplink;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

// Device > History server: whether the history goes to a team's PostgreSQL
// server and which, kept for the next start (no password: libpq takes it
// from ~/.pgpass or a service file); a test of the connection, and this
// computer's whole history sent to the server once.
class frmHistoryServer : public QDialog
{
    Q_OBJECT

public:
    // localPath: the file whose history a take-over sends.
    explicit frmHistoryServer(const QString &localPath, QWidget *parent = nullptr);
    ~frmHistoryServer() override;

    // The location the fields make; empty when the server is off.
    QString location() const;
    void testConnection();
    void sendLocalHistory();
    bool save();

    QGroupBox *grpServer;
    QLineEdit *txtHost;
    QSpinBox *spnPort;
    QLineEdit *txtDatabase;
    QLineEdit *txtUser;
    QComboBox *cmbSslMode;
    QLabel *lblResult;
    QPushButton *cmdTest;
    QPushButton *cmdSend;
    QProgressBar *prgSend;

private:
    void load(const QString &location);
    void showProgress(int sent, int total);
    void sendEnded(bool complete);

    QString m_localPath;
    std::unique_ptr<HistoryUplink> m_takeOver;
};

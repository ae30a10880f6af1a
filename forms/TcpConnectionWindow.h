#ifndef ZENDRIK_FORMS_TCPCONNECTIONWINDOW_H
#define ZENDRIK_FORMS_TCPCONNECTIONWINDOW_H

#include <QDialog>
#include <QString>
#include <cstdint>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTcpSocket;
class QTimer;
struct AppContext;

// "Connect TCP": a raw TCP test that sends "*IDN?" and shows every line that comes back.
class TcpConnectionWindow : public QDialog {
    Q_OBJECT
public:
    explicit TcpConnectionWindow(AppContext& app);
    ~TcpConnectionWindow() override;

    void Button1Click(); // "connect"
    void Button2Click(); // "disconnect"
    void Button3Click(); // "send"
    void Timer1Timer();

    QPlainTextEdit* Memo1 = nullptr;
    QLineEdit* Edit1 = nullptr; // tick counter
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QTimer* Timer1 = nullptr;
    QTcpSocket* IdTCPClient1 = nullptr;

    // The peer; tests point it at a server of their own.
    QString Host = QStringLiteral("127.0.0.1");
    uint16_t Port = 5555;
    // How long "connect" waits for the peer.
    int ConnectTimeoutMs = 3000;

private:
    bool IsConnected() const;
    void UpdateSendButton();

    AppContext& app_;
    int64_t ticks_ = 0;
};

#endif

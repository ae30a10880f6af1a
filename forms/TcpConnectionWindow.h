#ifndef ZENDRIK_FORMS_TCPCONNECTIONWINDOW_H
#define ZENDRIK_FORMS_TCPCONNECTIONWINDOW_H

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class TcpIdentifyLink;
struct AppContext;

// "Connect TCP": a raw TCP test that asks the device to identify itself and shows every line
// that comes back.
class TcpConnectionWindow : public QDialog {
    Q_OBJECT
public:
    explicit TcpConnectionWindow(AppContext& app);
    ~TcpConnectionWindow() override;

    void connectTcp();              // "connect"
    void disconnectTcp();           // "disconnect"
    void sendIdentificationQuery(); // "send"
    void showReceivedLines();       // every tick of the read timer

    // The peer; tests point it at a server of their own.
    QString Host = QStringLiteral("127.0.0.1");
    uint16_t Port = 5555;
    // How long "connect" waits for the peer.
    int ConnectTimeoutMs = 3000;

private:
    // Controls; each objectName is the designer's name.
    QPlainTextEdit* replyMemo = nullptr;     // Memo1, what was sent and what came back
    QLineEdit* tickCounterEdit = nullptr;    // Edit1, ticks of the read timer
    QPushButton* connectButton = nullptr;    // Button1 "connect"
    QPushButton* disconnectButton = nullptr; // Button2 "disconnect"
    QPushButton* sendButton = nullptr;       // Button3 "send"
    QTimer* readTimer = nullptr;             // Timer1, 100 ms

    void UpdateSendButton();

    std::unique_ptr<TcpIdentifyLink> tcpClient; // IdTCPClient1
    AppContext& app_;
    int64_t ticks_ = 0;
};

#endif

// The socket side of a network game: which copy listens and which connects, the client's
// knocking until the other copy listens, the single attached peer, reconnecting after a reset,
// and the loss of the connection.
//
// The object never shows a window. It asks its one question (two copies with the same address)
// through the confirmer and reports everything else through signals:
//
//   attemptStarted(remote)   tryConnect has decided the role; the window shows "Network Meldora"
//   peerAccepted()           the server's only client is attached (isConnected() is now true):
//                            show the chat, zero the scores, send the handshake
//   connectedToServer()      the client's socket is connected; the handshake is awaited and
//                            markConnected() is called when the server's PLAYERID arrives
//   bytesReceived(bytes)     raw bytes from the peer, split or joined as they came
//   reconnecting()           the connection was reset by the peer: it has been disconnected and
//                            tryConnect runs again with the same two addresses
//   networkFailure(code, systemText)  any other socket error that is not a client's knock
//   connectionLost()         the peer closed the connection; it has been disconnected
//   disconnected(peerWasAttached)     disconnectPeer ran (free the chat and rule windows when a
//                            peer was attached, read the rules back, restore the level)
//   stateChanged(state)      the network state shown in the status bar
//
// Socket errors carry the Windows Sockets codes the game branches on: 10061 refused, 10060 timed
// out, 10065 host or network unreachable, 10054 reset by the peer; any other error is 10000 plus
// Qt's QAbstractSocket::SocketError number.
//
// Everything runs on the thread that owns the object. Reactions to socket errors and closes are
// handled after the socket's own event has returned, so a modal box raised by a slot never runs
// inside Qt's socket code.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <QTimer>
#include <functional>

#include "net/connection/reset_probe.h"

class QTcpSocket;

namespace meldora {

enum class NetworkRole { Client = 0, Server = 1, None = 2 };
enum class ConnectionState { NotConnected = 0, Waiting = 1, Established = 2 };

// The TCP port of both copies: 31415, or MELDORA_PORT when that holds a port number (1..65535).
quint16 networkPort();

// Whether the copy with address text `local` listens, facing `remote`: the texts are compared
// character by character, so "10.0.0.10" listens facing "10.0.0.9". Equal texts listen only when
// this copy's user answered Yes to the same-address question.
bool listensFacing(const QString& local, const QString& remote, bool answeredServerYes);

class NetworkConnection : public QObject {
    Q_OBJECT
public:
    // Asked with a Yes/No question; returns true for Yes.
    using Confirmer = std::function<bool(const QString& question)>;

    static constexpr int ConnectionRefused = 10061;
    static constexpr int TimedOut = 10060;
    static constexpr int HostUnreachable = 10065;
    static constexpr int ConnectionReset = 10054;

    explicit NetworkConnection(QObject* parent = nullptr);
    ~NetworkConnection() override;

    // Without a confirmer the same-address question is answered No.
    void setConfirmer(Confirmer confirmer);

    // Decides the role against the opponent's address and starts listening or connecting.
    void tryConnect(const QString& localAddress, const QString& remoteAddress);
    void becomeServer();
    void becomeClient(const QString& remoteAddress);

    // The menu's "Disconnect" after the window's confirmation: stops listening and disconnects.
    void stopWaiting();
    // Drops every socket, role None, state NotConnected, no peer; emits disconnected().
    void disconnectPeer();

    // The client's side of the handshake: the server's PLAYERID has arrived.
    void markConnected();
    // Writes to the attached peer; nothing happens while no peer is attached.
    void send(const QByteArray& bytes);

    NetworkRole role() const { return role_; }
    ConnectionState state() const { return state_; }
    void setState(ConnectionState state);
    bool isConnected() const { return connected_; }
    bool trying() const { return trying_; }
    void setTrying(bool trying) { trying_ = trying; }
    QString localAddress() const { return localAddress_; }
    QString remoteAddress() const { return remoteAddress_; }
    // The address last handed to the client socket, cut to 20 characters.
    QString lastAddressTried() const { return lastAddressTried_; }

signals:
    void attemptStarted(const QString& remoteAddress);
    void peerAccepted();
    void connectedToServer();
    void bytesReceived(const QByteArray& bytes);
    void reconnecting();
    void networkFailure(int code, const QString& systemText);
    void connectionLost();
    void disconnected(bool peerWasAttached);
    void stateChanged(meldora::ConnectionState state);

private:
    void acceptPendingClients();
    void watchSocket(QTcpSocket* socket);
    void dropSocket(QPointer<QTcpSocket>& socket);
    void onSocketError(QTcpSocket* socket);
    void onSocketClosed(QTcpSocket* socket);
    void handleSocketError(int code, const QString& systemText);
    void handlePeerClosed();
    void postForThisAttempt(std::function<void()> reaction);
    void knockAgain();

    QTcpServer server_;
    QPointer<QTcpSocket> client_;
    QPointer<QTcpSocket> peer_;
    ResetProbe resetProbe_;
    QTimer knockTimer_;
    Confirmer confirmer_;
    NetworkRole role_ = NetworkRole::None;
    ConnectionState state_ = ConnectionState::NotConnected;
    bool connected_ = false;
    bool trying_ = false;
    bool disconnectGuard_ = true;
    // Counts the sockets started and dropped, so that a reaction posted for an earlier socket
    // does nothing once the user or the reconnect has moved on.
    quint64 attempt_ = 0;
    QString localAddress_;
    QString remoteAddress_;
    QString lastAddressTried_;
};

}  // namespace meldora

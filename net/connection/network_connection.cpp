#include "net/connection/network_connection.h"

#include <QCoreApplication>
#include <QTcpSocket>
#include <algorithm>

namespace meldora {

namespace {

constexpr quint16 DefaultPort = 31415;
constexpr int AddressTriedLength = 20;
// A refused knock on the same machine comes back at once; knocking again without a pause
// would keep a core busy for as long as the other copy is not listening.
constexpr int KnockIntervalMs = 200;

const char* const SameAddressQuestion =
    "You and your opponent have the same IP address. Should this instance of Meldora be the server?\r\n"
    "Note: this means that your opponent must choose 'No' here.";

// Qt words a failed connect by errno inside one NetworkError; its own words tell them apart.
bool saysNativeError(const QString& text, const char* nativeWords)
{
    return text == QCoreApplication::translate("QNativeSocketEngine", nativeWords);
}

int windowsSocketsCode(QAbstractSocket::SocketError error, const QString& text, bool reset)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return NetworkConnection::ConnectionRefused;
    case QAbstractSocket::SocketTimeoutError:
        return NetworkConnection::TimedOut;
    case QAbstractSocket::RemoteHostClosedError:
        if (reset)
            return NetworkConnection::ConnectionReset;
        break;
    case QAbstractSocket::NetworkError:
        if (saysNativeError(text, "Connection timed out"))
            return NetworkConnection::TimedOut;
        if (saysNativeError(text, "Host unreachable") || saysNativeError(text, "Network unreachable"))
            return NetworkConnection::HostUnreachable;
        break;
    default:
        break;
    }
    return 10000 + static_cast<int>(error);
}

bool isKnockError(int code)
{
    return code == NetworkConnection::ConnectionRefused || code == NetworkConnection::TimedOut ||
           code == NetworkConnection::HostUnreachable;
}

}  // namespace

quint16 networkPort()
{
    bool isNumber = false;
    const QString text = qEnvironmentVariable("MELDORA_PORT");
    const uint port = text.toUInt(&isNumber);
    const bool onlyDigits = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= u'0' && c <= u'9';
    });
    if (isNumber && onlyDigits && port >= 1 && port <= 65535)
        return static_cast<quint16>(port);
    return DefaultPort;
}

bool listensFacing(const QString& local, const QString& remote, bool answeredServerYes)
{
    const int order = QString::compare(local, remote, Qt::CaseSensitive);
    return order < 0 || (order == 0 && answeredServerYes);
}

NetworkConnection::NetworkConnection(QObject* parent) : QObject(parent), server_(this)
{
    knockTimer_.setSingleShot(true);
    knockTimer_.setInterval(KnockIntervalMs);
    connect(&knockTimer_, &QTimer::timeout, this, &NetworkConnection::knockAgain);
    connect(&server_, &QTcpServer::newConnection, this, &NetworkConnection::acceptPendingClients);
    connect(&server_, &QTcpServer::acceptError, this, [this](QAbstractSocket::SocketError error) {
        const int code = windowsSocketsCode(error, server_.errorString(), false);
        postForThisAttempt([this, code, text = server_.errorString()] { handleSocketError(code, text); });
    });
}

NetworkConnection::~NetworkConnection()
{
    disconnectGuard_ = false;
    dropSocket(client_);
    dropSocket(peer_);
}

void NetworkConnection::setConfirmer(Confirmer confirmer)
{
    confirmer_ = std::move(confirmer);
}

void NetworkConnection::tryConnect(const QString& localAddress, const QString& remoteAddress)
{
    localAddress_ = localAddress;
    remoteAddress_ = remoteAddress;
    bool answeredServerYes = false;
    if (localAddress == remoteAddress && confirmer_)
        answeredServerYes = confirmer_(QString::fromLatin1(SameAddressQuestion));
    emit attemptStarted(remoteAddress);
    if (listensFacing(localAddress, remoteAddress, answeredServerYes))
        becomeServer();
    else
        becomeClient(remoteAddress);
}

void NetworkConnection::becomeServer()
{
    ++attempt_;
    role_ = NetworkRole::Server;
    knockTimer_.stop();
    dropSocket(client_);
    dropSocket(peer_);
    server_.close();
    if (!server_.listen(QHostAddress::AnyIPv4, networkPort())) {
        const int code = windowsSocketsCode(server_.serverError(), server_.errorString(), false);
        postForThisAttempt([this, code, text = server_.errorString()] { handleSocketError(code, text); });
    }
}

void NetworkConnection::becomeClient(const QString& remoteAddress)
{
    ++attempt_;
    role_ = NetworkRole::Client;
    knockTimer_.stop();
    server_.close();
    dropSocket(peer_);
    dropSocket(client_);
    lastAddressTried_ = remoteAddress.left(AddressTriedLength);
    client_ = new QTcpSocket(this);
    watchSocket(client_);
    connect(client_, &QTcpSocket::connected, this, [this] {
        if (client_->localPort() == client_->peerPort() && client_->localAddress() == client_->peerAddress()) {
            // Knocking at a port of its own machine's ephemeral range can connect the socket
            // to itself; nobody listens there, so it counts as refused.
            client_->disconnect(this);
            postForThisAttempt([this] { handleSocketError(ConnectionRefused, QString()); });
            return;
        }
        resetProbe_.watch(client_->socketDescriptor());
        emit connectedToServer();
    });
    client_->connectToHost(remoteAddress, networkPort());
}

void NetworkConnection::acceptPendingClients()
{
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        if (role_ != NetworkRole::Server || peer_) {
            // A third copy knocking while a game runs is sent away; the game goes on.
            socket->close();
            socket->deleteLater();
            continue;
        }
        peer_ = socket;
        watchSocket(peer_);
        resetProbe_.watch(peer_->socketDescriptor());
        connected_ = true;
        emit peerAccepted();
    }
}

void NetworkConnection::watchSocket(QTcpSocket* socket)
{
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { emit bytesReceived(socket->readAll()); });
    connect(socket, &QTcpSocket::errorOccurred, this, [this, socket] { onSocketError(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] { onSocketClosed(socket); });
}

void NetworkConnection::dropSocket(QPointer<QTcpSocket>& socket)
{
    if (!socket)
        return;
    // The probe's descriptor would keep the connection open after the socket's own is closed.
    resetProbe_.release();
    socket->disconnect(this);
    if (socket->state() != QAbstractSocket::UnconnectedState) {
        // What the game wrote last (a farewell, a refusal) still leaves before the close.
        socket->flush();
        socket->abort();
    }
    socket->deleteLater();
    socket.clear();
}

void NetworkConnection::onSocketError(QTcpSocket* socket)
{
    const QAbstractSocket::SocketError error = socket->error();
    const bool reset = resetProbe_.connectionWasReset();
    // The peer's orderly close also arrives as RemoteHostClosedError; disconnected() follows it.
    if (error == QAbstractSocket::RemoteHostClosedError && !reset)
        return;
    socket->disconnect(this);
    const int code = windowsSocketsCode(error, socket->errorString(), reset);
    postForThisAttempt([this, code, text = socket->errorString()] { handleSocketError(code, text); });
}

void NetworkConnection::onSocketClosed(QTcpSocket* socket)
{
    socket->disconnect(this);
    postForThisAttempt([this] { handlePeerClosed(); });
}

void NetworkConnection::postForThisAttempt(std::function<void()> reaction)
{
    QMetaObject::invokeMethod(
        this,
        [this, attempt = attempt_, reaction = std::move(reaction)] {
            if (attempt == attempt_)
                reaction();
        },
        Qt::QueuedConnection);
}

void NetworkConnection::handleSocketError(int code, const QString& systemText)
{
    const bool stillKnocking =
        state_ == ConnectionState::NotConnected || (state_ == ConnectionState::Waiting && role_ == NetworkRole::Client);
    if (isKnockError(code) && stillKnocking) {
        dropSocket(client_);
        knockTimer_.start();
        return;
    }
    trying_ = false;
    if (disconnectGuard_)
        disconnectPeer();
    if (code == ConnectionReset) {
        emit reconnecting();
        tryConnect(localAddress_, remoteAddress_);
    } else {
        emit networkFailure(code, systemText);
    }
}

void NetworkConnection::handlePeerClosed()
{
    if (!disconnectGuard_)
        return;
    disconnectPeer();
    emit connectionLost();
}

void NetworkConnection::knockAgain()
{
    becomeClient(remoteAddress_);
}

void NetworkConnection::stopWaiting()
{
    // disconnectPeer closes the listening socket too.
    disconnectPeer();
}

void NetworkConnection::disconnectPeer()
{
    disconnectGuard_ = false;
    ++attempt_;
    knockTimer_.stop();
    dropSocket(client_);
    dropSocket(peer_);
    // A copy without a role keeps no open port: a later knock would find nobody to play.
    server_.close();
    role_ = NetworkRole::None;
    setState(ConnectionState::NotConnected);
    const bool peerWasAttached = connected_;
    connected_ = false;
    emit disconnected(peerWasAttached);
    disconnectGuard_ = true;
}

void NetworkConnection::markConnected()
{
    connected_ = true;
}

void NetworkConnection::send(const QByteArray& bytes)
{
    if (!connected_)
        return;
    QTcpSocket* socket = role_ == NetworkRole::Client ? client_.data()
                         : role_ == NetworkRole::Server ? peer_.data()
                                                        : nullptr;
    if (socket && socket->state() == QAbstractSocket::ConnectedState)
        socket->write(bytes);
}

void NetworkConnection::setState(ConnectionState state)
{
    state_ = state;
    emit stateChanged(state);
}

}  // namespace meldora

#include "table/network_play.h"

#include <QAction>
#include <QKeyEvent>

#include "core/game.h"
#include "core/rule_options.h"
#include "net/windows/chat_window.h"
#include "net/windows/connect_dialog.h"
#include "net/windows/connecting_window.h"
#include "net/windows/rule_differences_window.h"
#include "settings/setting_keys.h"
#include "table/prompts.h"

namespace meldora {

namespace {

QString fromStd(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }

// The settings layout version doubles as the version the mismatch box names.
const QString VersionMismatchText =
    QStringLiteral("You have version %1 and your opponent has another version. Please use the same version.")
        .arg(SettingsVersion);

}  // namespace

NetworkPlay::NetworkPlay(QWidget& window, CanastaGame& game, SettingsAccess& settings)
    : QObject(&window), window_(window), game_(game), settings_(settings), session_(game, *this)
{
    connection_.setConfirmer([this](const QString& question) { return prompts::confirm(&window_, question); });
    connect(&connection_, &NetworkConnection::attemptStarted, this, &NetworkPlay::onAttemptStarted);
    connect(&connection_, &NetworkConnection::peerAccepted, this, &NetworkPlay::onPeerAccepted);
    connect(&connection_, &NetworkConnection::connectedToServer, this, [this] {
        if (connectingWindow_)
            connectingWindow_->stopProgress();
    });
    connect(&connection_, &NetworkConnection::bytesReceived, this,
            [this](const QByteArray& bytes) { session_.Receive(std::string_view(bytes.constData(), bytes.size())); });
    connect(&connection_, &NetworkConnection::networkFailure, this, [this](int code, const QString& systemText) {
        closeConnectingWindow();
        prompts::warning(&window_, QStringLiteral("Network Failure:  %1\n%2").arg(code).arg(systemText));
    });
    connect(&connection_, &NetworkConnection::connectionLost, this, [this] {
        closeConnectingWindow();
        prompts::warning(&window_, QStringLiteral("Connection to %1 lost. The network game has terminated.")
                                       .arg(opponentText()));
    });
    connect(&connection_, &NetworkConnection::disconnected, this, &NetworkPlay::onDisconnected);
    connect(&connection_, &NetworkConnection::stateChanged, this, &NetworkPlay::onStateChanged);
}

NetworkPlay::~NetworkPlay()
{
    // Quietly: the program is closing and nobody is there to be told.
    connection_.blockSignals(true);
    connection_.disconnectPeer();
    delete chat_;
    delete rulesWindow_;
    delete connectingWindow_;
}

void NetworkPlay::setMenuActions(const MenuActions& actions)
{
    menu_ = actions;
    menu_.chatOnTop->setCheckable(true);
    menu_.chatOnTop->setChecked(Read(settings_, keys::ChatOnTop));
    enableMenu(false);
}

bool NetworkPlay::isNetworkGame() const
{
    return session_.IsConnected() ||
           (connection_.role() != NetworkRole::None && session_.OpponentName() != net::NoOpponentName);
}

void NetworkPlay::enableMenu(bool connectionStarted)
{
    if (!menu_.connect)
        return;
    menu_.connect->setEnabled(!connectionStarted);
    menu_.disconnect->setEnabled(connectionStarted);
    menu_.chatOnTop->setEnabled(connectionStarted);
    menu_.ruleDifferences->setEnabled(connectionStarted);
}

// ---- Starting and ending a connection ----------------------------------------------------

void NetworkPlay::connectToOpponent(const QString& playerName)
{
    connection_.setTrying(true);
    ConnectDialog dialog(settings_, playerName, &window_);
    connect(&dialog, &ConnectDialog::helpRequested, this, &NetworkPlay::helpRequested);
    if (dialog.exec() == QDialog::Accepted && connection_.trying())
        beginConnection(dialog);
    else
        connection_.disconnectPeer();
}

void NetworkPlay::connectFromCommandLine(const QString& address, const QString& playerName)
{
    connection_.setTrying(true);
    ConnectDialog dialog(settings_, playerName, &window_);
    if (dialog.connectWithoutShowing(address) && connection_.trying())
        beginConnection(dialog);
    else
        connection_.disconnectPeer();
}

void NetworkPlay::beginConnection(ConnectDialog& dialog)
{
    ownName_ = dialog.announcedName();
    session_.SetOwnName(ownName_.toStdString());
    session_.ExpectNewOpponent();
    connection_.tryConnect(dialog.localAddress(), dialog.remoteAddress());
    if (connection_.role() == NetworkRole::None)
        return;
    connection_.setState(ConnectionState::Waiting);
    enableMenu(true);
}

void NetworkPlay::stopWaiting()
{
    if (connection_.isConnected() &&
        !prompts::confirm(&window_, QStringLiteral("Are you sure you want to disconnect?")))
        return;
    closeConnectingWindow();
    connection_.stopWaiting();
}

bool NetworkPlay::mayClose()
{
    return connection_.state() != ConnectionState::Established ||
           prompts::confirm(&window_, QStringLiteral("You have a network game running. Are you sure you want to quit?"));
}

void NetworkPlay::onAttemptStarted(const QString& remoteAddress)
{
    closeConnectingWindow();
    connectingWindow_ = new ConnectingWindow(remoteAddress, &window_);
    connect(connectingWindow_, &ConnectingWindow::cancelled, this, [this] {
        closeConnectingWindow();
        connection_.stopWaiting();
    });
    connectingWindow_->show();
}

void NetworkPlay::closeConnectingWindow()
{
    if (connectingWindow_)
        connectingWindow_->deleteLater();
    connectingWindow_ = nullptr;
}

void NetworkPlay::onPeerAccepted()
{
    if (connectingWindow_)
        connectingWindow_->stopProgress();
    createChatWindow();
    game_.StartNetworkMatch();
    session_.PartnerAccepted();
}

void NetworkPlay::onDisconnected(bool peerWasAttached)
{
    session_.ConnectionClosed();
    enableMenu(false);
    if (peerWasAttached) {
        delete chat_;
        delete rulesWindow_;
    }
    // Rules adopted for the connection end with it.
    game_.SetRules(LoadRuleOptions(settings_));
    emit tableChanged();
}

void NetworkPlay::onStateChanged(ConnectionState state)
{
    switch (state) {
    case ConnectionState::NotConnected:
        emit stateTextChanged(QStringLiteral("Not connected"));
        break;
    case ConnectionState::Waiting:
        emit stateTextChanged(QStringLiteral("Waiting for connection..."));
        break;
    case ConnectionState::Established:
        emit stateTextChanged(QStringLiteral("Connection established with ") + opponentText());
        break;
    }
}

// ---- The windows of a connection -------------------------------------------------------------

void NetworkPlay::createChatWindow()
{
    if (chat_)
        return;
    chat_ = new ChatWindow(settings_, ownName_, &window_);
    chat_->setAlwaysOnTop(menu_.chatOnTop ? menu_.chatOnTop->isChecked() : true);
    connect(chat_, &ChatWindow::lineEntered, this, [this](const QString& line) {
        if (connection_.role() != NetworkRole::None)
            session_.SendChat(line.toStdString());
    });
    chat_->show();
}

void NetworkPlay::toggleChatOnTop()
{
    if (!connection_.isConnected()) {
        menu_.chatOnTop->setChecked(!menu_.chatOnTop->isChecked());
        return;
    }
    const bool onTop = menu_.chatOnTop->isChecked();
    if (chat_)
        chat_->setAlwaysOnTop(onTop);
    Write(settings_, keys::ChatOnTop, onTop);
}

bool NetworkPlay::forwardKeyToChat(const QKeyEvent* event)
{
    if (!chat_ || !isNetworkGame() || event->text().isEmpty() || event->text().at(0).unicode() < 33)
        return false;
    chat_->typeIntoInput(event);
    return true;
}

void NetworkPlay::showRuleDifferences() { session_.CompareWithOpponentRules(); }

void NetworkPlay::rulesChanged()
{
    session_.SendRules();
    session_.CompareWithOpponentRules();
}

// ---- What the protocol asks of the program ---------------------------------------------------

void NetworkPlay::WriteToConnection(const std::string& bytes)
{
    connection_.send(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

void NetworkPlay::PartnerIdentified(const std::string&, const std::string& greeting)
{
    if (!isServer()) {
        connection_.markConnected();
        createChatWindow();
    }
    connection_.setState(ConnectionState::Established);
    if (chat_)
        chat_->addChatLine(fromStd(greeting));
    closeConnectingWindow();
    emit tableChanged();
}

void NetworkPlay::VersionMismatch()
{
    prompts::information(&window_, VersionMismatchText);
    connection_.disconnectPeer();
    closeConnectingWindow();
}

void NetworkPlay::ChatLineReceived(const std::string& line)
{
    if (chat_)
        chat_->addIncomingLine(fromStd(line));
}

void NetworkPlay::RuleDifferencesFound(const std::vector<net::RuleDifference>& rows)
{
    if (rows.empty()) {
        delete rulesWindow_;
        return;
    }
    if (!rulesWindow_) {
        rulesWindow_ = new RuleDifferencesWindow(&window_);
        connect(rulesWindow_, &RuleDifferencesWindow::useOpponentRulesClicked, this, [this] {
            session_.AdoptOpponentRules();
            if (rulesWindow_)
                rulesWindow_->hide();
            emit tableChanged();
        });
    }
    std::vector<RuleDifference> shown;
    for (const auto& row : rows)
        shown.push_back({fromStd(row.Rule), fromStd(row.YourSetting), fromStd(row.OpponentSetting)});
    rulesWindow_->showDifferences(shown);
}

void NetworkPlay::UnknownToken(const std::string& token)
{
    // A partner that sends many of them gets one box at a time, not a screen full.
    if (unknownTokenBoxOpen_)
        return;
    unknownTokenBoxOpen_ = true;
    prompts::warning(&window_, QStringLiteral("Unknown token: ") + fromStd(token));
    unknownTokenBoxOpen_ = false;
}

void NetworkPlay::ProtocolFault(const std::string& description)
{
    const QString opponent = opponentText();
    connection_.disconnectPeer();
    closeConnectingWindow();
    prompts::warning(&window_, QStringLiteral("The connection to %1 was closed: a message from %1 could not be "
                                              "followed (%2). The game stays as it was before that message.")
                                   .arg(opponent == QLatin1String(net::NoOpponentName) ? QStringLiteral("the opponent")
                                                                                        : opponent,
                                        fromStd(description)));
}

}  // namespace meldora

// The network game as the main window runs it: the connection and its windows
// (Connect dialog, "Network Meldora", chat, rule differences), the Network
// menu's commands, and the protocol session that sends this copy's moves and
// replays the partner's on the game.
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <string>

#include "net/connection/network_connection.h"
#include "net/protocol/partner_session.h"
#include "net/windows/chat_window.h"
#include "net/windows/connecting_window.h"
#include "net/windows/rule_differences_window.h"

class QAction;
class QKeyEvent;
class QWidget;

namespace meldora {

class CanastaGame;
class ConnectDialog;
class SettingsAccess;

class NetworkPlay : public QObject, public net::PartnerSessionHost {
    Q_OBJECT

public:
    NetworkPlay(QWidget& window, CanastaGame& game, SettingsAccess& settings);
    ~NetworkPlay() override;

    // The Network menu's entries this object enables and disables.
    struct MenuActions {
        QAction* connect = nullptr;
        QAction* ruleDifferences = nullptr;
        QAction* disconnect = nullptr;
        QAction* chatOnTop = nullptr;
    };
    void setMenuActions(const MenuActions& actions);

    // A network game runs: a partner has identified itself and the connection is
    // wanted (a reset on the way to a reconnect still counts).
    bool isNetworkGame() const;
    bool isServer() const { return connection_.role() == NetworkRole::Server; }
    std::string opponentName() const { return session_.OpponentName(); }
    void send(const std::string& token, const std::string& payload) { session_.Send(token, payload); }
    void dispatchHeldMessages() { session_.DispatchMessages(); }

    // "Connect to Opponent...": the Connect dialog, then the role decision.
    void connectToOpponent(const QString& playerName);
    // "/ip:ADDRESS" on the command line: as if the address had been typed in the dialog.
    void connectFromCommandLine(const QString& address, const QString& playerName);
    // "Disconnect": asks first while a partner is attached.
    void stopWaiting();
    void showRuleDifferences();
    void toggleChatOnTop();
    // The Rules dialog was closed with OK: the partner hears of the new rules.
    void rulesChanged();
    // Closing during a network game asks first; true when the program may close.
    bool mayClose();
    // A key typed on the table while a network game runs goes to the chat input.
    bool forwardKeyToChat(const QKeyEvent* event);

    NetworkConnection& connection() { return connection_; }
    net::PartnerSession& session() { return session_; }
    ChatWindow* chatWindow() const { return chat_; }
    RuleDifferencesWindow* ruleDifferencesWindow() const { return rulesWindow_; }

    // net::PartnerSessionHost
    void WriteToConnection(const std::string& bytes) override;
    bool IsServer() const override { return isServer(); }
    void PartnerIdentified(const std::string& opponentName, const std::string& greeting) override;
    void VersionMismatch() override;
    void ChatLineReceived(const std::string& line) override;
    void RuleDifferencesFound(const std::vector<net::RuleDifference>& rows) override;
    void UnknownToken(const std::string& token) override;
    void ProtocolFault(const std::string& description) override;

signals:
    // The network state for the status line.
    void stateTextChanged(const QString& text);
    // The table must be repainted (rules adopted, the table's owner changed).
    void tableChanged();
    // A help page with an anchor, from the Connect dialog.
    void helpRequested(const QString& pageAndAnchor);

private:
    void beginConnection(ConnectDialog& dialog);
    void enableMenu(bool connectionStarted);
    void createChatWindow();
    void closeConnectingWindow();
    void onAttemptStarted(const QString& remoteAddress);
    void onPeerAccepted();
    void onDisconnected(bool peerWasAttached);
    void onStateChanged(ConnectionState state);
    QString opponentText() const { return QString::fromStdString(session_.OpponentName()); }

    QWidget& window_;
    CanastaGame& game_;
    SettingsAccess& settings_;
    NetworkConnection connection_;
    net::PartnerSession session_;
    MenuActions menu_;
    QString ownName_;
    QPointer<ChatWindow> chat_;
    QPointer<RuleDifferencesWindow> rulesWindow_;
    QPointer<ConnectingWindow> connectingWindow_;
    bool unknownTokenBoxOpen_ = false;
};

}  // namespace meldora

// The "Connect to Opponent" dialog: chooses LAN or Internet play, lists this machine's own
// addresses, keeps the last ten opponent addresses, and on "Connect" decides the local and the
// remote address that the role decision compares.
//
// Use from the Network menu:
//     ConnectDialog dialog(settings, currentPlayerName, mainWindow);
//     connect(&dialog, &ConnectDialog::helpRequested, ...);   // open the help page
//     if (dialog.exec() == QDialog::Accepted) { use localAddress(), remoteAddress(), ... }
// Every close (OK or Cancel) writes "Network\LANorInternet", "Network\LANAddress",
// "Network\ID Server" and the history "Network\LANHist"0..9 (the typed address at the top).
//
// Use for "/ip:ADDRESS" on the command line: connectWithoutShowing(address) runs the same
// Connect logic with "Internet" chosen, without showing the dialog and without writing the
// settings (the dialog is never closed).
//
// Message boxes (bad characters, an unresolved name, no own address) go through prompts.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace meldora {

class SettingsAccess;

class ConnectDialog : public QDialog {
    Q_OBJECT

public:
    // Gives this machine's IPv4 addresses, unsorted (both private and public ones).
    using AddressSource = std::function<QStringList()>;
    // Gives a host name's first IPv4 address as dotted text, or an empty text when it has none.
    using NameResolver = std::function<QString(const QString& hostName)>;

    // playerName: the current player's name, announced to the opponent; empty gives "Opponent".
    // The address source defaults to the network interfaces, the resolver to the system's
    // host-name lookup; tests pass their own.
    ConnectDialog(SettingsAccess& settings, const QString& playerName, QWidget* parent = nullptr,
                  AddressSource addressSource = {}, NameResolver resolver = {});

    // The result after an accepted Connect. The local address is the first own address listed,
    // or "127.0.0.1" when the remote address is a loopback address or the user chose to play
    // against a copy on this computer; the remote address is the typed one or the address its
    // host name resolved to.
    QString localAddress() const { return localAddress_; }
    QString remoteAddress() const { return remoteAddress_; }
    // The own-address list as it stood when Connect was pressed.
    QStringList localAddresses() const { return localAddresses_; }
    // The name to announce to the opponent (the player's name, or "Opponent").
    QString announcedName() const { return announcedName_; }

    // The command-line start: types the address in, chooses "Internet" and presses Connect.
    // True when the addresses were decided (the same as the dialog accepting); false after a
    // refusal, which was explained in a message box.
    bool connectWithoutShowing(const QString& address);

    // Writes the settings of every close, after OK and Cancel alike.
    void done(int result) override;

signals:
    // F1 on a control or the "&Help" button: a help page with the anchor of the topic,
    // for example "network.html#lan". The main window shows it in its help window.
    void helpRequested(const QString& pageAndAnchor);

private:
    QGroupBox* buildPlayOverGroup();
    QGroupBox* buildOwnAddressGroup();
    QGroupBox* buildOpponentGroup();
    void fillHistory();
    void refreshOwnAddresses();
    void copyOwnAddress();
    void pasteOpponentAddress();
    void updateConnectButton();
    void connectClicked();
    bool decideAddresses();
    void requestHelpFor(QWidget* widget);
    void saveOnClose();

    SettingsAccess& settings_;
    AddressSource addressSource_;
    NameResolver resolver_;
    QString announcedName_;
    QString localAddress_;
    QString remoteAddress_;
    QStringList localAddresses_;
    bool saved_ = false;

    QRadioButton* lanButton_;
    QRadioButton* internetButton_;
    QListWidget* ownAddresses_;
    QComboBox* opponentAddress_;
    QGroupBox* idServerGroup_;
    QLineEdit* idServer_;
    QPushButton* connectButton_;
    QPushButton* helpButton_;
};

}  // namespace meldora

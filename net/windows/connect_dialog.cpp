#include "net/windows/connect_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHostAddress>
#include <QHostInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

#include "net/windows/own_addresses.h"
#include "settings/setting_keys.h"
#include "table/prompts.h"

namespace meldora {

namespace {

constexpr int HistoryLength = 10;
// A text the program keeps is at most 255 characters long.
constexpr int MaxTextLength = 255;
const QString LoopbackAddress = QStringLiteral("127.0.0.1");

// The help topics of the dialog's controls, each explained at one anchor of the help page.
QString helpAnchor(int topic)
{
    switch (topic) {
    case 1096: return QStringLiteral("play-over");
    case 1097:
    case 1113: return QStringLiteral("lan");
    case 1099:
    case 1112: return QStringLiteral("internet");
    case 1098:
    case 1114: return QStringLiteral("opponent-address");
    case 1101:
    case 1102:
    case 1109: return QStringLiteral("own-addresses");
    case 1103: return QStringLiteral("connecting");
    default: return QStringLiteral("connect-dialog");
    }
}

void setHelpTopic(QWidget* widget, int topic) { widget->setProperty("HelpContext", topic); }

// A button beside an address that must not take Enter from the dialog's Connect.
QPushButton* sideButton(const QString& text, const QString& objectName, int helpTopic, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    setHelpTopic(button, helpTopic);
    return button;
}

// The system's lookup: the first IPv4 address of the name, blocking while it runs.
QString lookUpHostName(const QString& hostName)
{
    const QHostInfo info = QHostInfo::fromName(hostName);
    if (info.error() != QHostInfo::NoError)
        return {};
    for (const QHostAddress& address : info.addresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            return address.toString();
    return {};
}

bool isAsciiLetter(QChar c) { return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')); }

bool isAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool onlyLettersDigitsAndDots(const QString& text)
{
    for (QChar c : text)
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != QLatin1Char('.'))
            return false;
    return true;
}

bool containsLetter(const QString& text) { return std::any_of(text.begin(), text.end(), isAsciiLetter); }

// Every address 127.x.x.x is this computer.
bool isLoopback(const QString& address) { return address.startsWith(QLatin1String("127.")); }

QString historyKey(int n) { return QString::fromLatin1(keys::LANHistoryPrefix) + QString::number(n); }

// The busy cursor for as long as the object lives.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

ConnectDialog::ConnectDialog(SettingsAccess& settings, const QString& playerName, QWidget* parent,
                             AddressSource addressSource, NameResolver resolver)
    : QDialog(parent),
      settings_(settings),
      addressSource_(addressSource ? std::move(addressSource) : AddressSource(ownIpv4Addresses)),
      resolver_(resolver ? std::move(resolver) : NameResolver(lookUpHostName)),
      announcedName_(playerName.isEmpty() ? QStringLiteral("Opponent") : playerName)
{
    BusyCursor busy;
    setObjectName(QStringLiteral("fmConnect"));
    setWindowTitle(QStringLiteral("Connect to Opponent"));
    setModal(true);

    QGroupBox* playOver = buildPlayOverGroup();
    QGroupBox* ownAddresses = buildOwnAddressGroup();
    QGroupBox* opponent = buildOpponentGroup();

    idServerGroup_ = new QGroupBox(QStringLiteral("Internet Identification Server"), this);
    idServer_ = new QLineEdit(idServerGroup_);
    idServer_->setObjectName(QStringLiteral("edIDServer"));
    idServer_->setMaxLength(MaxTextLength);
    (new QVBoxLayout(idServerGroup_))->addWidget(idServer_);
    setHelpTopic(idServerGroup_, 1110);
    setHelpTopic(idServer_, 1110);
    idServerGroup_->hide();

    connectButton_ = new QPushButton(QStringLiteral("Connect"), this);
    connectButton_->setObjectName(QStringLiteral("bnConnect"));
    connectButton_->setDefault(true);
    setHelpTopic(connectButton_, 1103);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("bnCancel"));
    setHelpTopic(cancelButton, 1020);
    helpButton_ = new QPushButton(QStringLiteral("&Help"), this);
    helpButton_->setObjectName(QStringLiteral("bnHelp"));
    helpButton_->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(connectButton_);
    buttons->addWidget(cancelButton);
    buttons->addWidget(helpButton_);

    auto* left = new QVBoxLayout;
    left->addWidget(playOver);
    left->addWidget(opponent);
    left->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(ownAddresses);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(idServerGroup_);
    layout->addLayout(buttons);

    fillHistory();
    opponentAddress_->setEditText(QString::fromStdString(Read(settings_, keys::LANAddress)));
    idServer_->setText(QString::fromStdString(Read(settings_, keys::IDServer)));
    const bool lan = Read(settings_, keys::LANorInternet);
    (lan ? lanButton_ : internetButton_)->setChecked(true);
    refreshOwnAddresses();
    updateConnectButton();

    connect(lanButton_, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            refreshOwnAddresses();
    });
    connect(internetButton_, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            refreshOwnAddresses();
    });
    connect(opponentAddress_, &QComboBox::editTextChanged, this, &ConnectDialog::updateConnectButton);
    connect(connectButton_, &QPushButton::clicked, this, &ConnectDialog::connectClicked);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton_, &QPushButton::clicked, this, [this] {
        emit helpRequested(QStringLiteral("network.html#") + helpAnchor(internetButton_->isChecked() ? 1112 : 1113));
    });
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, [this] { requestHelpFor(QApplication::focusWidget()); });
}

QGroupBox* ConnectDialog::buildPlayOverGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Play over"), this);
    group->setObjectName(QStringLiteral("rgPlayOver"));
    setHelpTopic(group, 1096);
    lanButton_ = new QRadioButton(QStringLiteral("LAN"), group);
    lanButton_->setObjectName(QStringLiteral("rbLAN"));
    setHelpTopic(lanButton_, 1097);
    internetButton_ = new QRadioButton(QStringLiteral("Internet"), group);
    internetButton_->setObjectName(QStringLiteral("rbInternet"));
    setHelpTopic(internetButton_, 1099);
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(lanButton_);
    layout->addWidget(internetButton_);
    layout->addStretch();
    return group;
}

QGroupBox* ConnectDialog::buildOwnAddressGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Your own IP Numbers"), this);
    setHelpTopic(group, 1101);
    ownAddresses_ = new QListWidget(group);
    ownAddresses_->setObjectName(QStringLiteral("lbOwnAddresses"));
    setHelpTopic(ownAddresses_, 1101);
    ownAddresses_->setMaximumHeight(ownAddresses_->fontMetrics().lineSpacing() * 6);
    auto* refresh = sideButton(QStringLiteral("Refresh"), QStringLiteral("bnRefresh"), 1102, group);
    auto* copy = sideButton(QStringLiteral("Copy to clipboard"), QStringLiteral("bnCopy"), 1109, group);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(ownAddresses_);
    layout->addWidget(refresh);
    layout->addWidget(copy);
    connect(refresh, &QPushButton::clicked, this, &ConnectDialog::refreshOwnAddresses);
    connect(copy, &QPushButton::clicked, this, &ConnectDialog::copyOwnAddress);
    return group;
}

QGroupBox* ConnectDialog::buildOpponentGroup()
{
    auto* group = new QGroupBox(QStringLiteral("IP number of your opponent"), this);
    opponentAddress_ = new QComboBox(group);
    opponentAddress_->setObjectName(QStringLiteral("cbOpponentAddress"));
    opponentAddress_->setEditable(true);
    opponentAddress_->setInsertPolicy(QComboBox::NoInsert);
    opponentAddress_->setMaxVisibleItems(HistoryLength);
    opponentAddress_->setMinimumContentsLength(15);
    opponentAddress_->lineEdit()->setMaxLength(MaxTextLength);
    setHelpTopic(opponentAddress_, 1098);
    auto* paste = sideButton(QStringLiteral("Paste from clipboard"), QStringLiteral("bnPaste"), 1114, group);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(opponentAddress_);
    layout->addWidget(paste);
    connect(paste, &QPushButton::clicked, this, &ConnectDialog::pasteOpponentAddress);
    return group;
}

void ConnectDialog::fillHistory()
{
    // A store edited by hand may hold more than ten; only ten are ever kept.
    for (int n = 0; n < HistoryLength; ++n) {
        const QString address = QString::fromStdString(settings_.ReadString(historyKey(n).toStdString(), ""));
        if (address.isEmpty())
            break;
        opponentAddress_->addItem(address);
    }
}

void ConnectDialog::refreshOwnAddresses()
{
    BusyCursor busy;
    const QStringList all = addressSource_();
    ownAddresses_->clear();
    ownAddresses_->addItems(addressesForNetwork(all, lanButton_->isChecked()));
    if (all.isEmpty())
        prompts::information(this, QStringLiteral("Meldora did not detect an IP address. Please connect to the network first"));
}

void ConnectDialog::copyOwnAddress()
{
    if (ownAddresses_->count() == 1)
        ownAddresses_->setCurrentRow(0);
    const QListWidgetItem* selected = ownAddresses_->currentItem();
    if (selected && selected->isSelected())
        QApplication::clipboard()->setText(selected->text());
}

void ConnectDialog::pasteOpponentAddress()
{
    // A copied address often brings a line break or spaces along.
    opponentAddress_->setEditText(QApplication::clipboard()->text().trimmed());
}

void ConnectDialog::updateConnectButton() { connectButton_->setEnabled(!opponentAddress_->currentText().isEmpty()); }

void ConnectDialog::connectClicked()
{
    connectButton_->setEnabled(false);
    const bool decided = decideAddresses();
    updateConnectButton();
    if (decided)
        accept();
}

bool ConnectDialog::decideAddresses()
{
    const QString typed = opponentAddress_->currentText();
    if (!onlyLettersDigitsAndDots(typed)) {
        prompts::warning(this, QStringLiteral("The IP Number of your opponent may only contain letters, digits and dots."));
        return false;
    }
    if (typed.isEmpty())
        return false;
    QStringList listed;
    for (int row = 0; row < ownAddresses_->count(); ++row)
        listed.append(ownAddresses_->item(row)->text());

    QString remote = typed;
    if (containsLetter(typed)) {
        BusyCursor busy;
        remote = resolver_(typed);
        if (remote.isEmpty() || remote == QLatin1String("0.0.0.0")) {
            prompts::information(this, QStringLiteral("Meldora could not resolve the opponent name."));
            return false;
        }
    }

    QString local;
    if (isLoopback(remote)) {
        // The opponent is a copy on this computer: both copies must compare the same pair of
        // addresses, so that the same-address question decides who listens.
        local = LoopbackAddress;
        remote = LoopbackAddress;
    } else if (listed.isEmpty()) {
        if (!prompts::confirm(this, QStringLiteral("Meldora did not detect an IP address. Do you want to connect to "
                                                   "another instance of Meldora on your computer?")))
            return false;
        local = LoopbackAddress;
        remote = LoopbackAddress;
    } else {
        local = listed.first();
    }
    localAddresses_ = listed;
    localAddress_ = local;
    remoteAddress_ = remote;
    return true;
}

bool ConnectDialog::connectWithoutShowing(const QString& address)
{
    opponentAddress_->setEditText(address);
    internetButton_->setChecked(true);
    connectButton_->setEnabled(false);
    const bool decided = decideAddresses();
    updateConnectButton();
    return decided;
}

void ConnectDialog::requestHelpFor(QWidget* widget)
{
    int topic = 0;
    for (QWidget* w = widget; w && w != this && topic == 0; w = w->parentWidget())
        topic = w->property("HelpContext").toInt();
    emit helpRequested(QStringLiteral("network.html#") + helpAnchor(topic));
}

void ConnectDialog::done(int result)
{
    saveOnClose();
    QDialog::done(result);
}

void ConnectDialog::saveOnClose()
{
    if (saved_)
        return;
    saved_ = true;
    const QString typed = opponentAddress_->currentText();
    Write(settings_, keys::LANorInternet, lanButton_->isChecked());
    Write(settings_, keys::LANAddress, typed.toStdString());
    Write(settings_, keys::IDServer, idServer_->text().toStdString());
    if (!typed.isEmpty() && opponentAddress_->findText(typed, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0)
        opponentAddress_->insertItem(0, typed);
    while (opponentAddress_->count() > HistoryLength)
        opponentAddress_->removeItem(opponentAddress_->count() - 1);
    for (int n = 0; n < opponentAddress_->count(); ++n)
        settings_.WriteValue(historyKey(n).toStdString(), opponentAddress_->itemText(n).toStdString());
}

}  // namespace meldora

#include "net/outside/listing_request_form.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "net/outside/background_job.h"
#include "net/outside/icq_registration.h"
#include "net/outside/outside_addresses.h"
#include "settings/setting_keys.h"
#include "table/prompts.h"

namespace meldora {

namespace {

enum Request { AddMe, ChangeListing, RemoveMe };

QLabel* boldLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

}  // namespace

ListingRequestForm::ListingRequestForm(SettingsAccess& settings, const QString& nickName, const QStringList& icqNumbers,
                                       QWidget* parent, std::chrono::milliseconds timeout)
    : QDialog(parent),
      settings_(settings),
      timeout_(timeout),
      mailing_(new BackgroundJob(this)),
      issued_(Read(settings, keys::PLRequestIssued))
{
    setObjectName(QStringLiteral("fmPLRequest"));
    setWindowTitle(QStringLiteral("Request Internet Player Listing"));

    nickName_ = new QLineEdit(nickName, this);
    nickName_->setObjectName(QStringLiteral("edNickName"));
    emailAddress_ = new QLineEdit(this);
    emailAddress_->setObjectName(QStringLiteral("edEmail"));
    icqNumber_ = new QComboBox(this);
    icqNumber_->setObjectName(QStringLiteral("cbUIN"));
    icqNumber_->setEditable(true);
    icqNumber_->addItems(icqNumbers);
    icqNumber_->setCurrentIndex(icqNumbers.isEmpty() ? -1 : 0);
    auto* you = new QFormLayout;
    you->addRow(boldLabel(QStringLiteral("Your (nick) name:"), this), nickName_);
    you->addRow(boldLabel(QStringLiteral("Your email address:"), this), emailAddress_);
    you->addRow(new QLabel(QStringLiteral("Your ICQ number (UIN):"), this), icqNumber_);

    QGroupBox* requestGroup = radioGroup(QStringLiteral("Your request"), "rgRequest",
                                         {QStringLiteral("Add me to the list"), QStringLiteral("Change my listing"),
                                          QStringLiteral("Remove me from the list")},
                                         request_);
    request_->button(issued_ ? ChangeListing : AddMe)->setChecked(true);
    listGroup_ = radioGroup(QStringLiteral("Which list?"), "rgList",
                            {QStringLiteral("Recreational"), QStringLiteral("Competition")}, list_);
    list_->button(0)->setChecked(true);
    connect(request_, &QButtonGroup::idToggled, this, &ListingRequestForm::updateListGroup);
    auto* choices = new QHBoxLayout;
    choices->addWidget(requestGroup);
    choices->addWidget(listGroup_);

    auto* serverGroup = new QGroupBox(QStringLiteral("Send message using this email server"), this);
    smtpServer_ = new QLineEdit(QStringLiteral("mail"), serverGroup);
    smtpServer_->setObjectName(QStringLiteral("edSMTPServer"));
    password_ = new QLineEdit(serverGroup);
    password_->setObjectName(QStringLiteral("edPassword"));
    password_->setEchoMode(QLineEdit::Password);
    auto* server = new QFormLayout(serverGroup);
    server->addRow(boldLabel(QStringLiteral("SMTP server:"), serverGroup), smtpServer_);
    server->addRow(new QLabel(QStringLiteral("Password:"), serverGroup), password_);

    const QString listPage = outsideAddresses().playerListPage.toHtmlEscaped();
    auto* explanation = new QLabel(
        QStringLiteral("The request is mailed to the player-list service; the lists are published at "
                       "<a href=\"%1\">%1</a>")
            .arg(listPage),
        this);
    explanation->setObjectName(QStringLiteral("lbExplanation"));
    explanation->setWordWrap(true);
    explanation->setOpenExternalLinks(true);

    sendButton_ = new QPushButton(QStringLiteral("Send Request"), this);
    sendButton_->setObjectName(QStringLiteral("bnSend"));
    sendButton_->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("bnCancel"));
    connect(sendButton_, &QPushButton::clicked, this, &ListingRequestForm::sendRequest);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(sendButton_);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(you);
    layout->addLayout(choices);
    layout->addWidget(serverGroup);
    layout->addWidget(explanation);
    layout->addLayout(buttons);
    updateListGroup();
}

bool ListingRequestForm::isSending() const { return mailing_->isRunning(); }

QGroupBox* ListingRequestForm::radioGroup(const QString& title, const char* name, const QStringList& captions,
                                          QButtonGroup*& group)
{
    auto* box = new QGroupBox(title, this);
    box->setObjectName(QLatin1String(name));
    group = new QButtonGroup(box);
    auto* column = new QVBoxLayout(box);
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i], box);
        group->addButton(button, i);
        column->addWidget(button);
    }
    return box;
}

void ListingRequestForm::updateListGroup() { listGroup_->setEnabled(request_->checkedId() != RemoveMe); }

void ListingRequestForm::sendRequest()
{
    if (nickName_->text().isEmpty() || emailAddress_->text().isEmpty() || smtpServer_->text().isEmpty()) {
        prompts::warning(this, QStringLiteral("Please fill out the bold fields."));
        return;
    }
    sendButton_->setEnabled(false);

    Mail mail;
    mail.server = smtpServer_->text().trimmed().toStdString();
    mail.password = password_->text().toStdString();
    mail.from = emailAddress_->text().trimmed().toStdString();
    mail.to = outsideAddresses().listingMailAddress.toStdString();
    mail.subject = "Meldora Player List Request";
    mail.bodyLines = {"Action=" + request_->checkedButton()->text().toStdString(),
                      "Nickname=" + nickName_->text().toStdString(),
                      "Email=" + emailAddress_->text().toStdString(),
                      "List=" + list_->checkedButton()->text().toStdString(),
                      "UIN=" + icqNumber_->currentText().toStdString()};

    auto outcome = std::make_shared<MailOutcome>(MailOutcome::ConnectionFailed);
    mailing_->start([mail = std::move(mail), timeout = timeout_,
                     outcome](const std::atomic<bool>& cancel) { *outcome = sendMail(mail, timeout, &cancel); },
                    [this, outcome] { showOutcome(*outcome); });
}

void ListingRequestForm::showOutcome(MailOutcome outcome)
{
    issued_ = outcome == MailOutcome::Sent;
    emit sendFinished();
    if (issued_) {
        prompts::information(this, QStringLiteral("The request was sent successfully."));
        accept();
        return;
    }
    sendButton_->setEnabled(true);
    prompts::information(this, QStringLiteral("Could not establish connection to SMTP server. "
                                              "Verify your SMTP server and user id settings."));
}

void ListingRequestForm::done(int result)
{
    Write(settings_, keys::PLRequestIssued, issued_);
    QDialog::done(result);
}

void showListingRequest(QWidget* parent, SettingsAccess& settings, SettingsStore* store, const QString& nickName)
{
    QStringList numbers;
    if (store)
        for (const std::string& number : icqUserNumbers(*store))
            numbers << QString::fromStdString(number);
    ListingRequestForm(settings, nickName, numbers, parent).exec();
}

}  // namespace meldora

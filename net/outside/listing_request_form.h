// The request to be listed on (or removed from) the public list of players, sent as a mail
// to the list's service. The mail goes out from a worker thread, so the form stays
// responsive; the busy cursor shows meanwhile.
#pragma once

#include <QDialog>
#include <chrono>

#include "net/outside/smtp_mail.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace meldora {

class BackgroundJob;
class SettingsAccess;
class SettingsStore;

class ListingRequestForm : public QDialog {
    Q_OBJECT
public:
    // nickName is the current player's name (empty without one); icqNumbers fill the UIN list.
    ListingRequestForm(SettingsAccess& settings, const QString& nickName, const QStringList& icqNumbers,
                       QWidget* parent = nullptr, std::chrono::milliseconds timeout = std::chrono::seconds(30));

    bool isSending() const;

    // Every close keeps whether the request went out, for the next opening.
    void done(int result) override;

signals:
    void sendFinished();

private:
    QGroupBox* radioGroup(const QString& title, const char* name, const QStringList& captions, QButtonGroup*& group);
    void updateListGroup();
    void sendRequest();
    void showOutcome(MailOutcome outcome);

    SettingsAccess& settings_;
    std::chrono::milliseconds timeout_;
    QLineEdit* nickName_;
    QLineEdit* emailAddress_;
    QComboBox* icqNumber_;
    QButtonGroup* request_;
    QButtonGroup* list_;
    QGroupBox* listGroup_;
    QLineEdit* smtpServer_;
    QLineEdit* password_;
    QPushButton* sendButton_;
    BackgroundJob* mailing_;
    bool issued_;
};

// The form for the menu: the UIN list from the messenger's keys in store (none without a store).
void showListingRequest(QWidget* parent, SettingsAccess& settings, SettingsStore* store, const QString& nickName);

}  // namespace meldora

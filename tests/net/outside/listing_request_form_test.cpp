// The player-list request form, mailing to an SMTP server of the test's own on 127.0.0.1.
#include "net/outside/listing_request_form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <fstream>
#include <gtest/gtest.h>

#include "settings/setting_keys.h"
#include "settings/settings_store.h"
#include "support/gui_app.h"
#include "support/local_smtp_server.h"
#include "support/memory_settings.h"
#include "support/scripted_prompts.h"
#include "support/temp_home.h"

using namespace meldora;
using test::LocalSmtpServer;

namespace {

const QString Failed =
    QStringLiteral("Could not establish connection to SMTP server. Verify your SMTP server and user id settings.");

class ListingRequestFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::EnsureGuiApplication();
        qputenv("MELDORA_LISTING_MAIL", "players@list.test");
    }
    void TearDown() override { qunsetenv("MELDORA_LISTING_MAIL"); }

    static QLineEdit* field(QDialog& form, const char* name) { return form.findChild<QLineEdit*>(QLatin1String(name)); }

    static QRadioButton* choice(QDialog& form, const QString& caption)
    {
        for (QRadioButton* button : form.findChildren<QRadioButton*>())
            if (button->text() == caption)
                return button;
        return nullptr;
    }

    // Fills the required fields for a server on 127.0.0.1, sends and waits for the outcome.
    static void send(ListingRequestForm& form, const std::string& server, const QString& password = {})
    {
        field(form, "edEmail")->setText(QStringLiteral("ann@home.test"));
        field(form, "edSMTPServer")->setText(QString::fromStdString(server));
        field(form, "edPassword")->setText(password);
        QSignalSpy finished(&form, &ListingRequestForm::sendFinished);
        form.findChild<QPushButton*>(QStringLiteral("bnSend"))->click();
        EXPECT_TRUE(finished.wait(10000));
    }

    static std::string body(const test::ReceivedMail& mail) { return mail.data.substr(mail.data.find("\r\n\r\n") + 4); }

    MemorySettings settings;
    test::ScriptedPrompts prompts_;
};

TEST_F(ListingRequestFormTest, OpeningTakesTheNameTheEarlierRequestAndTheFirstUserNumber)
{
    Write(settings, keys::PLRequestIssued, true);
    ListingRequestForm form(settings, QStringLiteral("Ann"), {QStringLiteral("1234"), QStringLiteral("5678")});
    EXPECT_EQ(field(form, "edNickName")->text(), QStringLiteral("Ann"));
    EXPECT_TRUE(choice(form, QStringLiteral("Change my listing"))->isChecked());
    EXPECT_EQ(form.findChild<QComboBox*>(QStringLiteral("cbUIN"))->currentText(), QStringLiteral("1234"));

    // Which list is asked only while adding or changing.
    auto* listGroup = form.findChild<QGroupBox*>(QStringLiteral("rgList"));
    choice(form, QStringLiteral("Remove me from the list"))->click();
    EXPECT_FALSE(listGroup->isEnabled());
    choice(form, QStringLiteral("Change my listing"))->click();
    EXPECT_TRUE(listGroup->isEnabled());
}

TEST_F(ListingRequestFormTest, EmptyBoldFieldIsRefusedAndNothingIsSent)
{
    const LocalSmtpServer server;
    ListingRequestForm form(settings, {}, {});
    field(form, "edEmail")->setText(QStringLiteral("ann@home.test"));
    field(form, "edSMTPServer")->setText(QString::fromStdString(server.HostAndPort()));
    form.findChild<QPushButton*>(QStringLiteral("bnSend"))->click();
    EXPECT_EQ(prompts_.texts(), QStringList{QStringLiteral("Please fill out the bold fields.")});
    EXPECT_FALSE(form.isSending());
    EXPECT_TRUE(server.Mails().empty());
}

TEST_F(ListingRequestFormTest, RequestArrivesAsTheExactMailAndIsNotedAsIssued)
{
    const LocalSmtpServer server;
    ListingRequestForm form(settings, QStringLiteral("Ann"), {QStringLiteral("1234")});
    choice(form, QStringLiteral("Competition"))->click();
    choice(form, QStringLiteral("Remove me from the list"))->click();
    QSignalSpy accepted(&form, &QDialog::accepted);
    send(form, server.HostAndPort());

    const auto mails = server.Mails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].from, "ann@home.test");
    EXPECT_EQ(mails[0].to, std::vector<std::string>{"players@list.test"});
    EXPECT_NE(mails[0].data.find("\r\nSubject: Meldora Player List Request\r\n"), std::string::npos);
    EXPECT_EQ(body(mails[0]),
              "Action=Remove me from the list\r\nNickname=Ann\r\nEmail=ann@home.test\r\nList=Competition\r\nUIN=1234\r\n");
    EXPECT_EQ(prompts_.texts(), QStringList{QStringLiteral("The request was sent successfully.")});
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_TRUE(Read(settings, keys::PLRequestIssued));
}

TEST_F(ListingRequestFormTest, RefusedLoginKeepsTheFormOpenAndNotesNothingIssued)
{
    Write(settings, keys::PLRequestIssued, true);
    const LocalSmtpServer server("right password");
    ListingRequestForm form(settings, QStringLiteral("Ann"), {});
    send(form, server.HostAndPort(), QStringLiteral("wrong password"));
    EXPECT_EQ(prompts_.texts(), QStringList{Failed});
    EXPECT_TRUE(server.Mails().empty());
    EXPECT_TRUE(form.findChild<QPushButton*>(QStringLiteral("bnSend"))->isEnabled());
    form.reject();
    EXPECT_FALSE(Read(settings, keys::PLRequestIssued));
}

TEST_F(ListingRequestFormTest, NoServerOrABadServerNameFails)
{
    std::string closedServer;
    {
        const LocalSmtpServer gone;
        closedServer = gone.HostAndPort();
    }
    for (const std::string& server : {closedServer, std::string("mail/../evil?x")}) {
        prompts_.asked.clear();
        ListingRequestForm form(settings, QStringLiteral("Ann"), {});
        send(form, server);
        EXPECT_EQ(prompts_.texts(), QStringList{Failed}) << server;
    }
}

TEST_F(ListingRequestFormTest, ThePasswordLogsInAndIsNeverStored)
{
    test::TempHome home;
    const std::filesystem::path database = home.Dir / "meldora.db";
    {
        SettingsStore store(database.string());
        const LocalSmtpServer server("Secret-Pa55");
        ListingRequestForm form(store, QStringLiteral("Ann"), {});
        send(form, server.HostAndPort(), QStringLiteral("Secret-Pa55"));
        EXPECT_EQ(server.Mails().size(), 1u);
        EXPECT_TRUE(Read(store, keys::PLRequestIssued));
    }
    for (const auto& file : std::filesystem::directory_iterator(home.Dir))
        EXPECT_EQ(test::ReadFile(file.path()).find("Secret-Pa55"), std::string::npos) << file.path();
}

}  // namespace

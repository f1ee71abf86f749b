// The Connect dialog and the own-address ranges: what the user may type, what a close keeps,
// and which addresses a connection is started with.
#include "net/windows/connect_dialog.h"

#include <QClipboard>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "net/windows/own_addresses.h"
#include "settings/setting_keys.h"
#include "support/gui_app.h"
#include "support/memory_settings.h"
#include "support/scripted_prompts.h"
#include "support/widgets.h"

using namespace meldora;

namespace {

TEST(PrivateAddress, RangesTheirEdgesAndTextsThatAreNoAddress)
{
    for (const char* text : {"10.255.255.255", "192.168.1.20", "172.16.0.1", "172.31.255.255", "169.254.3.4"})
        EXPECT_TRUE(isPrivateAddress(QString::fromLatin1(text))) << text;
    for (const char* text : {"11.0.0.1", "192.169.0.1", "172.32.0.1", "8.8.8.8", "10.0.0", "10.0.0.256", "10.0.0.1.5",
                             "10.a.0.1", "10..0.1", ""})
        EXPECT_FALSE(isPrivateAddress(QString::fromLatin1(text))) << text;
}

class ConnectDialogTest : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureGuiApplication(); }

    std::unique_ptr<ConnectDialog> makeDialog(QStringList addresses = {QStringLiteral("192.168.0.7"),
                                                                       QStringLiteral("81.2.3.4")})
    {
        return std::make_unique<ConnectDialog>(
            settings, QStringLiteral("Ann"), nullptr, [addresses] { return addresses; },
            [this](const QString& name) {
                resolved.append(name);
                return resolvedAddress;
            });
    }

    static QComboBox* opponent(ConnectDialog& d) { return d.findChild<QComboBox*>(QStringLiteral("cbOpponentAddress")); }
    static QPushButton* button(ConnectDialog& d, const char* name) { return d.findChild<QPushButton*>(QLatin1String(name)); }
    static QStringList listed(ConnectDialog& d)
    {
        return test::ItemTexts(d.findChild<QListWidget*>(QStringLiteral("lbOwnAddresses")));
    }
    std::string history(int n) { return settings.ReadString("Network\\LANHist" + std::to_string(n), ""); }

    MemorySettings settings;
    test::ScriptedPrompts prompts_;
    QString& answer = prompts_.answer;
    QStringList resolved;
    QString resolvedAddress;
};

TEST_F(ConnectDialogTest, ConnectNeedsAnAddressAndAHyphenIsRefused)
{
    auto dialog = makeDialog();
    EXPECT_FALSE(button(*dialog, "bnConnect")->isEnabled());
    opponent(*dialog)->setEditText(QStringLiteral("card-table.example"));
    button(*dialog, "bnConnect")->click();
    EXPECT_EQ(prompts_.texts(), QStringList{QStringLiteral("The IP Number of your opponent may only contain letters, digits and dots.")});
    EXPECT_TRUE(resolved.isEmpty());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(button(*dialog, "bnConnect")->isEnabled());
}

TEST_F(ConnectDialogTest, LanListsPrivateAddressesAndConnectTakesTheFirst)
{
    Write(settings, keys::LANorInternet, true);
    auto dialog = makeDialog({QStringLiteral("81.2.3.4"), QStringLiteral("10.1.1.1"), QStringLiteral("192.168.0.7")});
    EXPECT_EQ(listed(*dialog), (QStringList{QStringLiteral("10.1.1.1"), QStringLiteral("192.168.0.7")}));
    dialog->findChild<QRadioButton*>(QStringLiteral("rbInternet"))->setChecked(true);
    EXPECT_EQ(listed(*dialog), QStringList{QStringLiteral("81.2.3.4")});
    dialog->findChild<QRadioButton*>(QStringLiteral("rbLAN"))->setChecked(true);

    opponent(*dialog)->setEditText(QStringLiteral("10.0.0.9"));
    button(*dialog, "bnConnect")->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->localAddress(), QStringLiteral("10.1.1.1"));
    EXPECT_EQ(dialog->remoteAddress(), QStringLiteral("10.0.0.9"));
    EXPECT_EQ(dialog->localAddresses(), listed(*dialog));
}

// A start from the command line: a host name is resolved, the Internet address is used
// whatever the stored choice, nothing is written, and a loopback opponent needs no address.
TEST_F(ConnectDialogTest, CommandLineStartResolvesTheNameAndChoosesInternetWithoutWritingSettings)
{
    Write(settings, keys::LANorInternet, true);
    auto dialog = makeDialog();
    resolvedAddress = QStringLiteral("0.0.0.0");
    EXPECT_FALSE(dialog->connectWithoutShowing(QStringLiteral("partner.lan")));
    EXPECT_EQ(prompts_.texts(), QStringList{QStringLiteral("Meldora could not resolve the opponent name.")});

    resolvedAddress = QStringLiteral("82.1.1.1");
    EXPECT_TRUE(dialog->connectWithoutShowing(QStringLiteral("partner.lan")));
    EXPECT_EQ(dialog->localAddress(), QStringLiteral("81.2.3.4"));
    EXPECT_EQ(dialog->remoteAddress(), QStringLiteral("82.1.1.1"));
    EXPECT_TRUE(settings.Values().find("network\\lanaddress") == settings.Values().end());

    EXPECT_TRUE(dialog->connectWithoutShowing(QStringLiteral("127.0.0.1")));
    EXPECT_EQ(dialog->localAddress(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(prompts_.asked.size(), 1u);

    auto noAddress = makeDialog({});
    EXPECT_EQ(prompts_.texts().last(), QStringLiteral("Meldora did not detect an IP address. Please connect to the network first"));
}

TEST_F(ConnectDialogTest, NoOwnAddressOffersTheSameComputer)
{
    Write(settings, keys::LANorInternet, true);
    auto dialog = makeDialog({QStringLiteral("81.2.3.4")});
    EXPECT_TRUE(listed(*dialog).isEmpty());
    answer = QStringLiteral("no");
    opponent(*dialog)->setEditText(QStringLiteral("10.0.0.5"));
    button(*dialog, "bnConnect")->click();
    EXPECT_EQ(prompts_.texts(), QStringList{QStringLiteral("Meldora did not detect an IP address. Do you want to connect to another "
                                                "instance of Meldora on your computer?")});
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(button(*dialog, "bnConnect")->isEnabled());

    answer = QStringLiteral("yes");
    button(*dialog, "bnConnect")->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->localAddress(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(dialog->remoteAddress(), QStringLiteral("127.0.0.1"));
}

TEST_F(ConnectDialogTest, CancelStillKeepsTheTypedAddressOnTopOfTenAtMost)
{
    for (int n = 0; n < 10; ++n)
        settings.WriteValue("Network\\LANHist" + std::to_string(n), "10.0.0." + std::to_string(n));
    auto dialog = makeDialog();
    EXPECT_EQ(opponent(*dialog)->count(), 10);
    opponent(*dialog)->setEditText(QStringLiteral("10.9.9.9"));
    button(*dialog, "bnCancel")->click();

    EXPECT_EQ(history(0), "10.9.9.9");
    EXPECT_EQ(history(1), "10.0.0.0");
    EXPECT_EQ(history(9), "10.0.0.8");
    EXPECT_EQ(history(10), "");
    EXPECT_EQ(Read(settings, keys::LANAddress), "10.9.9.9");

    // Typed again, an address already in the history is not added twice.
    auto reopened = makeDialog();
    EXPECT_EQ(opponent(*reopened)->currentText(), QStringLiteral("10.9.9.9"));
    opponent(*reopened)->setEditText(QStringLiteral("10.0.0.3"));
    reopened->reject();
    EXPECT_EQ(history(0), "10.9.9.9");
    EXPECT_EQ(history(4), "10.0.0.3");
    EXPECT_EQ(history(9), "10.0.0.8");
}

TEST_F(ConnectDialogTest, CopyTakesTheOnlyAddressAndPasteDropsTheLineBreak)
{
    auto dialog = makeDialog({QStringLiteral("81.2.3.4")});
    QApplication::clipboard()->clear();
    button(*dialog, "bnCopy")->click();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("81.2.3.4"));
    QApplication::clipboard()->setText(QStringLiteral("10.0.0.9\n"));
    button(*dialog, "bnPaste")->click();
    EXPECT_EQ(opponent(*dialog)->currentText(), QStringLiteral("10.0.0.9"));
}

}  // namespace

// Two copies of the program in one process, connected over 127.0.0.1 as two
// users would connect them: the handshake and deal, moves and chat both ways,
// a faulty message, and the end of the connection.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTcpServer>
#include <QTest>

#include "net/protocol/framing.h"
#include "table/network_play.h"
#include "table/main_window_fixture.h"
#include "tools/netsim/network_match.h"

namespace meldora::test {
namespace {

class NetworkPlayTest : public MainWindowTest {
protected:
    std::unique_ptr<MainWindow> other;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        qputenv("MELDORA_PORT", QByteArray::number(probe.serverPort()));
        probe.close();
        // The first copy to ask becomes the server, the second the client; later questions are Yes.
        scripted.answers = {QStringLiteral("yes"), QStringLiteral("no")};
        scripted.answer = QStringLiteral("yes");
    }
    void TearDown() override
    {
        other.reset();
        MainWindowTest::TearDown();
        qunsetenv("MELDORA_PORT");
    }

    // Both copies started on "/ip:127.0.0.1" and connected.
    void ConnectTwoCopies()
    {
        Create(QStringLiteral("/ip:127.0.0.1"));
        StartUp();
        other = std::make_unique<MainWindow>(QStringLiteral("/ip:127.0.0.1"), 1024);
        other->show();
        other->onSplashTimer();
        QTRY_VERIFY_WITH_TIMEOUT(window->network().session().IsConnected() && other->network().session().IsConnected() &&
                                     window->game().Stock.Count == other->game().Stock.Count,
                                 10000);
    }
    void ExpectSameTable()
    {
        QTRY_VERIFY_WITH_TIMEOUT(netsim::CompareMirroredTables(window->game(), other->game()).empty(), 5000);
    }
    MainWindow& ToMove() { return window->game().Turn.ComputerTurn ? *other : *window; }
};

TEST_F(NetworkPlayTest, TwoCopiesDealPlayAndChatAsOneTable)
{
    ConnectTwoCopies();
    EXPECT_TRUE(window->network().isServer());
    EXPECT_FALSE(other->network().isServer());
    EXPECT_TRUE(window->IsNetworkGame());
    ExpectSameTable();
    EXPECT_NE(window->game().Turn.ComputerTurn, other->game().Turn.ComputerTurn) << "exactly one copy is to move";

    for (int turn = 0; turn < 4; ++turn) {
        MainWindow& mover = ToMove();
        mover.game().DrawFromStock();
        if (mover.game().Turn.Phase == TurnPhase::SecondCard)
            mover.game().DrawFromStock();
        ExpectSameTable();
        mover.game().DiscardCard(0);
        ExpectSameTable();
    }

    ASSERT_NE(other->network().chatWindow(), nullptr);
    QLineEdit* input = other->network().chatWindow()->input();
    input->setText(QStringLiteral("your turn"));
    QTest::keyClick(input, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(window->network().chatWindow()->historyLines().contains(QStringLiteral("Opponent: your turn")), 5000);

    // Closing during the game asks first; No keeps the program and the connection.
    asked.clear();
    scripted.answers = {QStringLiteral("no")};
    window->close();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, QStringLiteral("You have a network game running. Are you sure you want to quit?"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->IsNetworkGame());
}

TEST_F(NetworkPlayTest, AFaultyMessageEndsTheConnectionOnceAndKeepsTheTable)
{
    ConnectTwoCopies();
    const CardPile opponentHand = window->game().Computer().Hand;
    asked.clear();
    window->network().session().Receive(net::FrameMessage("MELD", "99") + net::FrameMessage("MELD", "98"));
    EXPECT_FALSE(window->IsNetworkGame());
    EXPECT_EQ(window->game().Computer().Hand, opponentHand);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].text.contains(QStringLiteral("Opponent")));
    EXPECT_TRUE(asked[0].text.contains(QStringLiteral("99")));
    // The other copy learns that the connection is gone.
    QTRY_VERIFY_WITH_TIMEOUT(!other->network().session().IsConnected(), 5000);
}

TEST_F(NetworkPlayTest, DisconnectingAsksFirstAndTheOtherCopyIsTold)
{
    ConnectTwoCopies();
    asked.clear();
    other->network().stopWaiting();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked[0].text, QStringLiteral("Are you sure you want to disconnect?"));
    EXPECT_FALSE(other->IsNetworkGame());
    QTRY_VERIFY_WITH_TIMEOUT(!window->IsNetworkGame(), 5000);
    bool told = false;
    for (const auto& request : asked)
        told = told || request.text == QStringLiteral("Connection to Opponent lost. The network game has terminated.");
    EXPECT_TRUE(told);
}

}  // namespace
}  // namespace meldora::test

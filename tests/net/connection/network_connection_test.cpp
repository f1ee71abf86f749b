// Two or three copies' connections in one process on 127.0.0.1, on a free port of their own.
#include "net/connection/network_connection.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/socket.h>

using namespace meldora;

namespace {

constexpr int WaitMs = 5000;

// Made before the copies it serves, once for the whole program.
struct Application {
    Application()
    {
        static int argc = 1;
        static char programName[] = "network_connection_test";
        static char* argv[] = {programName, nullptr};
        static QCoreApplication* app = new QCoreApplication(argc, argv);
        (void)app;
    }
};

// One copy of the program as the window sees it: its connection and what it was told.
struct Copy {
    NetworkConnection connection;
    QSignalSpy accepted{&connection, &NetworkConnection::peerAccepted};
    QSignalSpy connectedToServer{&connection, &NetworkConnection::connectedToServer};
    QSignalSpy failures{&connection, &NetworkConnection::networkFailure};
    QSignalSpy lost{&connection, &NetworkConnection::connectionLost};
    QSignalSpy reconnecting{&connection, &NetworkConnection::reconnecting};
    QSignalSpy disconnected{&connection, &NetworkConnection::disconnected};
    QByteArray received;

    Copy()
    {
        QObject::connect(&connection, &NetworkConnection::bytesReceived,
                         [this](const QByteArray& bytes) { received += bytes; });
    }
};

void resetAndClose(QTcpSocket* socket)
{
    const linger abortive{1, 0};
    ::setsockopt(static_cast<int>(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    socket->close();
}

class NetworkConnectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port_ = probe.serverPort();
        qputenv("MELDORA_PORT", QByteArray::number(port_));
    }

    // A listens ("127.0.0.1" is the smaller text), B knocks at 127.0.0.1.
    void startServer() { a_.connection.tryConnect("127.0.0.1", "127.0.0.2"); }
    void startClient() { b_.connection.tryConnect("127.0.0.2", "127.0.0.1"); }

    void pairUp()
    {
        const qsizetype pairingsBefore = a_.accepted.count();
        startServer();
        startClient();
        ASSERT_TRUE(QTest::qWaitFor([&] { return b_.connectedToServer.count() == a_.accepted.count() &&
                                                 a_.accepted.count() > pairingsBefore; },
                                    WaitMs));
        b_.connection.markConnected();
    }

    bool refusesNewcomers()
    {
        QTcpSocket newcomer;
        newcomer.connectToHost(QHostAddress::LocalHost, port_);
        return !newcomer.waitForConnected(WaitMs);
    }

    Application application_;
    quint16 port_ = 0;
    Copy a_;
    Copy b_;
};

}  // namespace

TEST(RoleDecisionTest, AddressTextsCompareCharacterByCharacter)
{
    EXPECT_FALSE(listensFacing("10.0.0.9", "10.0.0.10", false));
    EXPECT_TRUE(listensFacing("10.0.0.10", "10.0.0.9", false));
    EXPECT_TRUE(listensFacing("127.0.0.1", "127.0.0.1", true));
    EXPECT_FALSE(listensFacing("127.0.0.1", "127.0.0.1", false));
}

TEST(RoleDecisionTest, OnlyAPortNumberInTheEnvironmentChangesThePort)
{
    for (const char* invalid : {"", "0", "65536", "12ab", "-5", " 4000"}) {
        qputenv("MELDORA_PORT", invalid);
        EXPECT_EQ(networkPort(), 31415) << invalid;
    }
    qputenv("MELDORA_PORT", "4000");
    EXPECT_EQ(networkPort(), 4000);
}

TEST_F(NetworkConnectionTest, SameAddressClientStartedFirstKnocksQuietlyUntilTheCopyAnsweringYesListens)
{
    b_.connection.tryConnect("127.0.0.1", "127.0.0.1");
    QTest::qWait(700);
    EXPECT_EQ(b_.connection.role(), NetworkRole::Client);
    EXPECT_EQ(b_.lost.count() + b_.failures.count(), 0);

    int asked = 0;
    a_.connection.setConfirmer([&](const QString&) { return ++asked > 0; });
    a_.connection.tryConnect("127.0.0.1", "127.0.0.1");
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return b_.connectedToServer.count() == 1; }, WaitMs));
    EXPECT_TRUE(a_.connection.isConnected());
}

TEST_F(NetworkConnectionTest, PairTalksOnlyOnceAttachedWhileAThirdCopyIsSentAway)
{
    startServer();
    startClient();
    ASSERT_TRUE(b_.connectedToServer.wait(WaitMs));
    b_.connection.send("before the handshake");
    b_.connection.markConnected();
    Copy third;
    third.connection.tryConnect("127.0.0.3", "127.0.0.1");
    EXPECT_TRUE(third.lost.wait(WaitMs));

    b_.connection.send("PLAY");
    b_.connection.send("ER");
    const QByteArray large(300000, 'x');
    a_.connection.send(large);
    a_.connection.send("end");
    EXPECT_TRUE(QTest::qWaitFor([&] { return b_.received.size() == large.size() + 3; }, WaitMs));
    EXPECT_EQ(b_.received, large + "end");
    EXPECT_TRUE(QTest::qWaitFor([&] { return a_.received.size() >= 6; }, WaitMs));
    EXPECT_EQ(a_.received, "PLAYER");
    EXPECT_EQ(a_.accepted.count(), 1);
    EXPECT_EQ(a_.lost.count(), 0);
}

TEST_F(NetworkConnectionTest, EitherSideClosingEndsTheGameOnTheOtherAndStopsListening)
{
    pairUp();
    b_.connection.disconnectPeer();
    ASSERT_TRUE(a_.lost.wait(WaitMs));
    EXPECT_FALSE(a_.connection.isConnected());
    EXPECT_TRUE(a_.disconnected.at(0).at(0).toBool());
    EXPECT_TRUE(refusesNewcomers());

    pairUp();
    a_.connection.send("farewell");
    a_.connection.stopWaiting();
    ASSERT_TRUE(b_.lost.wait(WaitMs));
    EXPECT_EQ(b_.received, "farewell");
    EXPECT_EQ(a_.failures.count() + b_.failures.count() + b_.reconnecting.count(), 0);
    EXPECT_TRUE(refusesNewcomers());
}

TEST_F(NetworkConnectionTest, ServerWhoseClientWasResetListensAgainForTheNextOne)
{
    startServer();
    QTcpSocket resetting;
    resetting.connectToHost(QHostAddress::LocalHost, port_);
    ASSERT_TRUE(a_.accepted.wait(WaitMs));
    resetAndClose(&resetting);

    ASSERT_TRUE(a_.reconnecting.wait(WaitMs));
    EXPECT_EQ(a_.lost.count() + a_.failures.count(), 0);
    startClient();
    ASSERT_TRUE(QTest::qWaitFor([&] { return a_.accepted.count() == 2; }, WaitMs));
    a_.connection.send("again");
    EXPECT_TRUE(QTest::qWaitFor([&] { return b_.received == "again"; }, WaitMs));
}

TEST_F(NetworkConnectionTest, ClientWhoseConnectionWasResetKnocksAgain)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, port_));
    startClient();
    ASSERT_TRUE(server.waitForNewConnection(WaitMs));
    ASSERT_TRUE(b_.connectedToServer.wait(WaitMs));
    resetAndClose(server.nextPendingConnection());

    ASSERT_TRUE(b_.reconnecting.wait(WaitMs));
    EXPECT_EQ(b_.lost.count() + b_.failures.count(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return b_.connectedToServer.count() == 2; }, WaitMs));
}

TEST_F(NetworkConnectionTest, PortTakenIsAFailureThatLeavesNoRole)
{
    QTcpServer squatter;
    ASSERT_TRUE(squatter.listen(QHostAddress::AnyIPv4, port_));
    a_.connection.setTrying(true);
    startServer();
    ASSERT_TRUE(a_.failures.wait(WaitMs));
    EXPECT_EQ(a_.failures.at(0).at(0).toInt(), 10000 + QAbstractSocket::AddressInUseError);
    EXPECT_FALSE(a_.connection.trying());
    EXPECT_EQ(a_.connection.role(), NetworkRole::None);
}

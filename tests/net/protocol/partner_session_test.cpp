// The receiving end of the network protocol: reads split and joined, faults
// that close the connection with the table intact, and the handshake.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/protocol/framing.h"
#include "net/protocol/partner_session.h"
#include "support/table_builder.h"

namespace meldora::net {
namespace {

using test::AddToDiscardPile;
using test::AddToHand;
using test::CardId;

struct RecordingSessionHost : PartnerSessionHost {
    std::string Written;
    bool Server = true;
    std::vector<std::string> Faults, Unknown, Chat;
    std::vector<std::vector<RuleDifference>> Differences;
    int Mismatches = 0;
    void WriteToConnection(const std::string& bytes) override { Written += bytes; }
    bool IsServer() const override { return Server; }
    void PartnerIdentified(const std::string&, const std::string& greeting) override { Chat.push_back(greeting); }
    void VersionMismatch() override { ++Mismatches; }
    void ChatLineReceived(const std::string& line) override { Chat.push_back(line); }
    void RuleDifferencesFound(const std::vector<RuleDifference>& rows) override { Differences.push_back(rows); }
    void UnknownToken(const std::string& token) override { Unknown.push_back(token); }
    void ProtocolFault(const std::string& description) override { Faults.push_back(description); }
};

std::string Msg(const std::string& token, const std::string& payload = "")
{
    return FrameMessage(token, payload);
}

struct SessionFixture : test::TableFixture {
    RecordingSessionHost link;
    PartnerSession session{game, link};
    SessionFixture()
    {
        host.Network = true;
        session.PartnerAccepted();
        link.Written.clear();
        game.Turn.ComputerTurn = true;
    }
};

TEST(PartnerSessionTest, MessagesSplitOrJoinedAreDispatchedOnceEachInOrder)
{
    SessionFixture f;
    test::AddToStock(f.game, CardId(test::Heart, 5));
    test::AddToStock(f.game, CardId(test::Heart, 6));
    const std::string draw = Msg("DRAWNEW");
    f.session.Receive(draw.substr(0, 4));
    EXPECT_EQ(f.game.Computer().Hand.Count, 0);
    f.session.Receive(draw.substr(4));
    EXPECT_EQ(f.game.Computer().Hand.Count, 1);

    f.session.Receive(Msg("MELD", std::to_string(CardId(test::Heart, 6))) + Msg("CHAT", "Ann: hi"));
    EXPECT_EQ(f.game.Computer().Melds.Count, 1);
    ASSERT_EQ(f.link.Chat.size(), 1u);
    EXPECT_EQ(f.link.Chat[0], "Ann: hi");
    EXPECT_TRUE(f.link.Faults.empty());
}

TEST(PartnerSessionTest, ImpossibleMessagesCloseTheConnectionAndLeaveTheTableAlone)
{
    const std::string notAPermutation = std::string("1") + std::string(108, '\x05');
    const std::vector<std::string> bad{
        Msg("MELD", "abc"),                                   // not a number
        Msg("MELD", "54"),                                    // not a card
        Msg("MELD", std::to_string(CardId(test::Spade, 9))),  // not in the hand
        Msg("UNDO", JoinFields({"14", "5"})),                 // not a column
        Msg("UNDO", JoinFields({"5", "5"})),                  // nothing in that meld
        Msg("MELDWILDCARD", JoinFields({std::to_string(CardId(test::Heart, 7)), "7"})),  // not wild
        Msg("DRAWNEW"),                                       // empty stock
        Msg("DRAWPILETOP"),                                   // empty pile
        Msg("UNDOPILE"),                                      // no take to undo
        Msg("HANDOVER"),                                      // the stock is not exhausted here
        Msg("DEAL", "2" + std::string(108, '\x01')),
        Msg("DEAL", notAPermutation),
        Msg("melD", "5"),                                     // not a message name
        Msg("RULES", "T"),                                    // too few rule fields
        std::string(300, 'A'),                                // no end within 255 bytes
    };
    for (const std::string& message : bad) {
        SessionFixture f;
        AddToHand(f.game, CardId(test::Heart, 7));
        if (message == Msg("HANDOVER"))
            test::AddToStock(f.game, CardId(test::Heart, 8));
        else
            f.game.Stock = CardPile{};
        const CardPile handBefore = f.game.Computer().Hand;
        const CardPile stockBefore = f.game.Stock;
        f.session.Receive(message + Msg("CHAT", "after"));
        EXPECT_EQ(f.link.Faults.size(), 1u) << message;
        EXPECT_FALSE(f.session.IsConnected()) << message;
        EXPECT_TRUE(f.link.Chat.empty()) << "nothing after a fault is read: " << message;
        EXPECT_EQ(f.game.Computer().Hand, handBefore) << message;
        EXPECT_EQ(f.game.Stock, stockBefore) << message;
    }
}

TEST(PartnerSessionTest, AnUnknownNameIsReportedAndItsFieldsSkipped)
{
    SessionFixture f;
    f.session.Receive(Msg("PING", "12") + Msg("CHAT", "still here"));
    EXPECT_EQ(f.link.Unknown, std::vector<std::string>{"PING"});
    EXPECT_TRUE(f.link.Faults.empty());
    EXPECT_EQ(f.link.Chat, std::vector<std::string>{"still here"});
}

TEST(PartnerSessionTest, MessagesWaitWhileAHandEndsAndRulesAreComparedAfterwards)
{
    SessionFixture f;
    RuleOptions other = f.game.Rules;
    other.NumberOfCards = 2;
    f.game.Turn.HandEnding = true;
    f.session.Receive(Msg("RULES", BuildRulesPayload(other)));
    EXPECT_TRUE(f.link.Differences.empty());
    f.game.Turn.HandEnding = false;
    f.session.DispatchMessages();
    ASSERT_EQ(f.link.Differences.size(), 1u);
    ASSERT_EQ(f.link.Differences[0].size(), 1u);
    EXPECT_EQ(f.link.Differences[0][0].Rule, "Number of Cards drawn each turn");
    EXPECT_EQ(f.link.Differences[0][0].YourSetting, "One");
    EXPECT_EQ(f.link.Differences[0][0].OpponentSetting, "Two");

    f.session.AdoptOpponentRules();
    EXPECT_EQ(f.game.Rules.NumberOfCards, 2);
    EXPECT_EQ(f.link.Written, Msg("RULES", BuildRulesPayload(other)));
}

TEST(PartnerSessionTest, TheClientAnswersTheHandshakeAndAnotherVersionDisconnects)
{
    test::TableFixture table;
    RecordingSessionHost link;
    link.Server = false;
    PartnerSession session(table.game, link);
    session.SetOwnName("Bea");
    session.Receive(Msg("PLAYERID", JoinFields({"Ann", ProtocolVersion})));
    EXPECT_TRUE(session.IsConnected());
    EXPECT_EQ(session.OpponentName(), "Ann");
    EXPECT_EQ(link.Written.substr(0, link.Written.find(MessageEnd) + 1), Msg("PLAYERID", JoinFields({"Bea", "413"})));

    RecordingSessionHost otherLink;
    PartnerSession other(table.game, otherLink);
    other.Receive(Msg("PLAYERID", JoinFields({"Cy", "412"})));
    EXPECT_EQ(otherLink.Mismatches, 1);
    EXPECT_FALSE(other.IsConnected());
    EXPECT_TRUE(otherLink.Written.empty());
}

TEST(FramingTest, ALongChatLineIsCutAtACharacterAndStillEnds)
{
    std::string line;
    for (int i = 0; i < 200; ++i)
        line += "\xC3\xA9";  // two bytes each
    const std::string message = FrameMessage("CHAT", line);
    EXPECT_LE(message.size(), MaxMessageBytes);
    EXPECT_EQ(message.back(), MessageEnd);
    const std::string payload = message.substr(5, message.size() - 6);
    EXPECT_EQ(payload.size() % 2, 0u) << "no character is cut in half";
}

}  // namespace
}  // namespace meldora::net

#include "tools/netsim/network_match.h"

#include <algorithm>
#include <array>
#include <memory>
#include <sstream>

#include "core/game.h"
#include "tools/netsim/network_copy.h"
#include "tools/netsim/scripted_player.h"

namespace meldora::netsim {

namespace {

constexpr std::size_t FindingsKept = 20;
constexpr int MovesPerHandCap = 3000;

std::vector<int> SortedIds(const CardPile& pile)
{
    std::vector<int> ids;
    for (int i = 0; i < pile.Count; ++i)
        ids.push_back(pile.Cards[i].Id);
    std::sort(ids.begin(), ids.end());
    return ids;
}

std::vector<int> IdsInOrder(const CardPile& pile)
{
    std::vector<int> ids;
    for (int i = 0; i < pile.Count; ++i)
        ids.push_back(pile.Cards[i].Id);
    return ids;
}

// The melds column by column, each column's ids sorted.
std::array<std::vector<int>, ColumnCount> MeldColumns(const CanastaGame& game, const CardPile& melds)
{
    std::array<std::vector<int>, ColumnCount> columns;
    for (int i = 0; i < melds.Count; ++i) {
        const int column = game.ColumnOf(melds.Cards[i]);
        if (column >= 0 && column < ColumnCount)
            columns[column].push_back(melds.Cards[i].Id);
    }
    for (auto& column : columns)
        std::sort(column.begin(), column.end());
    return columns;
}

void CompareSide(const CanastaGame& a, Side sideInA, const CanastaGame& b, const std::string& name,
                 std::vector<std::string>& differences)
{
    const Seat& own = a.SeatOf(sideInA);
    const Seat& mirrored = b.SeatOf(Opponent(sideInA));
    if (SortedIds(own.Hand) != SortedIds(mirrored.Hand))
        differences.push_back(name + " hand");
    if (MeldColumns(a, own.Melds) != MeldColumns(b, mirrored.Melds))
        differences.push_back(name + " melds");
    if (own.Canastas.Count != mirrored.Canastas.Count || own.Canastas.Kind != mirrored.Canastas.Kind)
        differences.push_back(name + " canastas");
    if (own.Score != mirrored.Score)
        differences.push_back(name + " score " + std::to_string(own.Score) + " against " +
                              std::to_string(mirrored.Score));
}

}  // namespace

std::vector<std::string> CompareMirroredTables(const CanastaGame& a, const CanastaGame& b)
{
    std::vector<std::string> differences;
    CompareSide(a, Side::Human, b, "server's player:", differences);
    CompareSide(a, Side::Computer, b, "client's player:", differences);
    if (IdsInOrder(a.DiscardPile) != IdsInOrder(b.DiscardPile))
        differences.push_back("discard pile");
    if (IdsInOrder(a.Stock) != IdsInOrder(b.Stock))
        differences.push_back("stock");
    if (a.Turn.DiscardFrozen != b.Turn.DiscardFrozen)
        differences.push_back("frozen pile");
    return differences;
}

NetworkReport RunNetworkGames(const NetworkRunOptions& options)
{
    NetworkReport report;
    LoopbackLink link;
    std::array<std::unique_ptr<NetworkCopy>, 2> copies{
        std::make_unique<NetworkCopy>(link, 0, "Server", options.Rules, options.Seed * 2 + 1),
        std::make_unique<NetworkCopy>(link, 1, "Client", options.Rules, options.Seed * 2 + 2)};
    std::size_t problemsSeen[2] = {0, 0};

    auto note = [&](const std::string& finding) {
        if (report.Findings.size() < FindingsKept)
            report.Findings.push_back("seed " + std::to_string(options.Seed) + ", hand " +
                                      std::to_string(report.Hands + 1) + ", move " + std::to_string(report.Moves) +
                                      ": " + finding);
    };
    // Delivers every byte in flight, both ways, until neither copy has more to say.
    auto deliver = [&] {
        for (int round = 0; round < 100; ++round) {
            const long before = copies[0]->Session().DispatchedCount() + copies[1]->Session().DispatchedCount();
            copies[0]->ReceivePending();
            copies[1]->ReceivePending();
            if (copies[0]->Session().DispatchedCount() + copies[1]->Session().DispatchedCount() == before)
                break;
        }
        for (int c = 0; c < 2; ++c) {
            const auto& problems = copies[c]->Problems();
            for (; problemsSeen[c] < problems.size(); ++problemsSeen[c]) {
                ++report.Problems;
                note((c == 0 ? "server: " : "client: ") + problems[problemsSeen[c]]);
            }
        }
    };
    auto afterMove = [&] {
        ++report.Moves;
        deliver();
        const std::vector<std::string> differences = CompareMirroredTables(copies[0]->Game(), copies[1]->Game());
        if (!differences.empty()) {
            ++report.Disagreements;
            std::string all;
            for (const auto& d : differences)
                all += (all.empty() ? "" : ", ") + d;
            note("the copies disagree on " + all);
        }
    };
    std::array<ScriptedPlayer, 2> players{ScriptedPlayer(options.Seed * 7 + 1, afterMove),
                                          ScriptedPlayer(options.Seed * 7 + 2, afterMove)};

    copies[0]->Session().PartnerAccepted();
    deliver();
    afterMove();

    int movesThisHand = 0;
    int handsSeen = 0;
    while (report.Hands < options.Hands && report.Disagreements == 0) {
        const int hands = std::min(copies[0]->HandsScored(), copies[1]->HandsScored());
        if (hands != handsSeen) {
            handsSeen = hands;
            report.Hands = hands;
            movesThisHand = 0;
            continue;
        }
        int toMove = -1;
        for (int c = 0; c < 2; ++c) {
            const CanastaGame& game = copies[c]->Game();
            if (!game.Turn.ComputerTurn && game.Turn.Phase != TurnPhase::HandOver)
                toMove = c;
        }
        if (toMove < 0 || ++movesThisHand > MovesPerHandCap) {
            ++report.StuckTurns;
            note("neither copy can move");
            break;
        }
        if (!players[toMove].PlayTurn(copies[toMove]->Game())) {
            ++report.StuckTurns;
            const CanastaGame& game = copies[toMove]->Game();
            note(std::string(toMove == 0 ? "server" : "client") + ": no discard was possible (" +
                 std::to_string(game.Human().Hand.Count) + " cards in hand, phase " +
                 std::to_string(static_cast<int>(game.Turn.Phase)) + ", " + game.Turn.MeldCheckReason + ")");
            break;
        }
    }
    report.Messages = copies[0]->Session().DispatchedCount() + copies[1]->Session().DispatchedCount();
    for (const auto& copy : copies)
        for (const auto& [token, count] : copy->SentByToken())
            report.SentByToken[token] += count;
    return report;
}

std::string ReportJson(const NetworkReport& report, const NetworkRunOptions& options)
{
    std::ostringstream json;
    json << "{\n  \"rules\": \"" << options.RulesName << "\",\n  \"seed\": " << options.Seed
         << ",\n  \"hands\": " << report.Hands << ",\n  \"moves\": " << report.Moves
         << ",\n  \"messages\": " << report.Messages << ",\n  \"disagreements\": " << report.Disagreements
         << ",\n  \"problems\": " << report.Problems << ",\n  \"stuck_turns\": " << report.StuckTurns
         << ",\n  \"sent_by_token\": {";
    bool first = true;
    for (const auto& [token, count] : report.SentByToken) {
        json << (first ? "" : ", ") << '"' << token << "\": " << count;
        first = false;
    }
    json << "},\n  \"findings\": [";
    for (std::size_t i = 0; i < report.Findings.size(); ++i) {
        json << (i ? ",\n    \"" : "\n    \"");
        for (char c : report.Findings[i]) {
            if (c == '"' || c == '\\')
                json << '\\';
            json << c;
        }
        json << '"';
    }
    json << (report.Findings.empty() ? "]" : "\n  ]") << "\n}";
    return json.str();
}

}  // namespace meldora::netsim

#include "core/scoring.h"

#include "core/game.h"
#include "core/table_host.h"

namespace meldora {

namespace {

int CanastaBonus(std::uint8_t kind)
{
    switch (kind) {
    case MixedCanasta: return MixedCanastaBonus;
    case NaturalCanasta: return NaturalCanastaBonus;
    case WildcardCanasta: return WildcardCanastaBonus;
    default: return 0;
    }
}

// A pile's red threes, and the points of its other cards.
struct PileCount {
    int RedThrees = 0;
    int Points = 0;
};

PileCount CountRedThreesAndPoints(const CardPile& pile)
{
    PileCount count;
    for (int i = 0, cards = pile.Count; i < cards; ++i) {
        const CardRecord& card = pile.Cards[i];
        if (IsRedThree(card.Id))
            ++count.RedThrees;
        else
            count.Points += card.Points;
    }
    return count;
}

}  // namespace

SideScore ScoreSide(const SideAtHandEnd& side, const RuleOptions& rules)
{
    SideScore score;
    auto& rows = score.Rows;

    if (side.WentOut)
        rows[RowFinish].Value = side.MeldedNothingBefore ? ConcealedGoingOutBonus : GoingOutBonus;

    // Each pile is counted once, and the rows are written at the end.
    const PileCount table = CountRedThreesAndPoints(side.Melds);
    const PileCount hand = CountRedThreesAndPoints(side.Hand);
    const int redThreesOnTable = table.RedThrees;
    const int redThreesInHand = hand.RedThrees;

    // A side that melded nothing but red threes has nothing to show for them,
    // unless it went out; with CanastaRequired a side short of canastas is
    // treated the same way.
    score.Penalised = (rules.CanastaRequired && side.Canastas.Count < rules.NumberOfCanastas) ||
                      (!side.WentOut && side.Melds.Count == redThreesOnTable);

    const int sign = score.Penalised ? -1 : 1;
    if (!score.Penalised) {
        for (int column = 1; column < ColumnCount; ++column) {
            const int bonus = CanastaBonus(side.Canastas.Kind[column]);
            if (bonus > 0) {
                rows[RowCanastas].Value += bonus;
                ++rows[RowCanastas].Number;
            }
        }
    }
    rows[RowRedThrees].Number = redThreesOnTable + redThreesInHand;
    rows[RowRedThrees].Value = sign * redThreesOnTable * RedThreeOnTable + redThreesInHand * RedThreeInHand;
    rows[RowTable].Number = side.Melds.Count - redThreesOnTable;
    rows[RowTable].Value = sign * table.Points;
    rows[RowHand].Number = side.Hand.Count - redThreesInHand;
    rows[RowHand].Value = -hand.Points;

    for (int row = RowTable; row < RowTotal; ++row)
        rows[RowTotal].Value += rows[row].Value;
    return score;
}

bool MatchIsOver(std::int32_t humanScore, std::int32_t computerScore)
{
    return humanScore >= MatchTarget || computerScore >= MatchTarget;
}

std::string MatchComment(std::int32_t d, const std::string& playerName, const std::string& opponent)
{
    if (d > 0) {
        std::string comment = "Congratulations " + playerName + "! ";
        if (d > 2500)
            return comment + "You crushed " + opponent + ".";
        if (d > 1800)
            return comment + "You defeated " + opponent + ".";
        if (d > 500)
            return comment + "You beat " + opponent + ".";
        if (d > 200)
            return comment + "You won.";
        return comment + "You won, but it was pretty close!";
    }
    if (d < 0) {
        std::string comment = "Too bad, " + playerName + ", ";
        if (d < -2500)
            return comment + opponent + " crushed you.";
        if (d < -1800)
            return comment + opponent + " defeated you.";
        if (d < -500)
            return comment + opponent + " beat you.";
        if (d < -200)
            return comment + "you lost.";
        return comment + "you lost but it was pretty close.";
    }
    return "It's a draw!";
}

namespace {

std::string PlayerNameOf(const TableHost& host)
{
    std::string name = host.SelectedPlayerName();
    return name.empty() ? "Player" : name;
}

}  // namespace

void CanastaGame::ScoreHand()
{
    TableHost& host = Host();
    HandScore score;
    score.Human = ScoreSide({Human().Melds, Human().Hand, Human().Canastas, Match.WentOut == HumanWentOut, Human().MeldedBefore == 0},
                            Rules);
    score.Computer = ScoreSide(
        {Computer().Melds, Computer().Hand, Computer().Canastas, Match.WentOut == ComputerWentOut, Computer().MeldedBefore == 0}, Rules);
    score.PlayerName = PlayerNameOf(host);
    score.OpponentName = host.IsNetworkGame() ? host.OpponentName() : "Computer";

    Human().HandScore = score.Human.Total();
    Computer().HandScore = score.Computer.Total();

    host.PlaySound(Human().HandScore >= Computer().HandScore ? SoundEvent::WinHand : SoundEvent::LoseHand);
    Human().Score += Human().HandScore;
    Computer().Score += Computer().HandScore;
    host.RepaintTable();
    host.ShowHandScore(score);
    host.OfferHandHighscore(score.Difference());
}

bool CanastaGame::EndMatchIfOver()
{
    if (!MatchIsOver(Human().Score, Computer().Score))
        return false;

    TableHost& host = Host();
    const bool network = host.IsNetworkGame();
    MatchResult result;
    result.HumanScore = Human().Score;
    result.ComputerScore = Computer().Score;
    result.OpponentName = network ? host.OpponentName() : "Computer";
    const int d = result.Difference();

    host.OfferMatchHighscore(d);
    host.AddMatchHistory(Human().Score, Computer().Score, result.OpponentName);

    if (d > 0) {
        host.RecordMatchResult(true);
        host.PlaySound(SoundEvent::WinMatch);
    } else if (d < 0) {
        host.RecordMatchResult(false);
        host.PlaySound(SoundEvent::LoseMatch);
    }
    result.Comment = MatchComment(d, PlayerNameOf(host), network ? host.OpponentName() : "the computer");

    if (!host.ShowGameOver(result)) {
        Match.AutoSaveOff = true;
        Match.QuitRequested = true;
        host.DeleteAutoSave();
        host.QuitProgram();
        return true;
    }

    Human().Score = 0;
    Computer().Score = 0;
    Match.GameInProgress = false;
    if (d >= 0)
        host.SendMessage("NEWGAME", "");
    return true;
}

}  // namespace meldora

#include "ai/expert.h"

#include "core/silent_host.h"

#include <memory>
#include <random>
#include <vector>

namespace meldora::ai {

void PlayExpertTurn(CanastaGame& game, const ComputerSettings& settings)
{
    ExpertTurn turn(game, settings);
    turn.Play();
}

void ExpertTurn::Play()
{
    BeginTurn();
    // An ended hand has already dealt the next one, whose first turn may be the
    // computer's own: finishing this turn would hand that deal to the human.
    if (TakeOrDraw() == HandEnded)
        return;
    MeldPhase();
    DiscardStep([this] { return ChooseDiscard(); });
    FinishTurn();
}

void ExpertTurn::DrawAggressiveTurn()
{
    // The fuller the stock, the rarer an aggressive turn; an empty stock always gives one.
    int draw = 0;
    if (StockSize() > 0)
        draw = std::uniform_int_distribution<int>(0, StockSize() - 1)(Game.Random);
    Memory.AggressiveTurn = draw < 0.6 * Settings.Aggression + 10;
}

int ExpertTurn::TakeOrDraw()
{
    // The turn's beginning has counted the table, and nothing has moved since.
    DrawAggressiveTurn();
    ComputerMemory& memory = Memory;
    if (PileSize() == 1) {
        memory.ThreeDiscardMode = memory.ThreeDiscardMode && Threes() >= 2;
        memory.PlannedDiscardRank = 0;
    }
    const int onTable = StockSize() + PileSize();
    OpponentHoarding = onTable < 62 && HCards() + HMeldCards() >= (77 - onTable) / 2 + 21 && !Opened();

    if (ShouldTakePile() && TakeReachesMinimum()) {
        TakePile();
        return TookPile;
    }
    if (!StockEmpty()) {
        DrawCards();
        return Drew;
    }
    if (OwnForcedToTake()) {
        const CardRecord top = TakeTopCard();
        MeldRank(top.Rank, 1);
        return TookPile;
    }
    EndHandForEmptyStock();
    return HandEnded;
}

void ExpertTurn::TakePile()
{
    Memory.PlannedDiscardRank = 0;
    MeldTakenTopCard(TakeTopCard().Rank);
    Memory.PileMakesCanasta = false;
    RepaintHandRow();
    TakeRestOfPile();
    Game.Turn.DiscardFrozen = false;
    Recount();
}

void ExpertTurn::MeldTakenTopCard(int r)
{
    Recount();
    if (Melds(r) < 3) {
        if (!Opened()) {
            // The top card and one natural: MeldRank completes them with a wild card.
            if (Hand(r) == 2)
                --Memory.OpeningWildcards;
            MeldRank(r, 0);
            CompleteOpening();
        } else {
            MeldRank(r, 3);
        }
    } else if (Frozen() || (Game.Rules.NaturalPair && Game.Rules.AddExistingMeld)) {
        MeldRank(r, 3);
    } else {
        MeldRank(r, 1);
    }
}

bool ExpertTurn::TakeReachesMinimum()
{
    // The opening is planned by counting; melding it may come out lower (a wild
    // card counted twice, or one that finds no meld to go on).
    if (Opened())
        return true;
    return Rehearse([](ExpertTurn& trial) {
        trial.MeldTakenTopCard(trial.TakeTopCard().Rank);
        return trial.InitialMeldStands(trial.OwnMinimumMeld);
    });
}

namespace {

// What one rehearsal plays on: a copy of the game and of the memory, with a
// host that shows and asks nothing, so the table the player sees never changes.
struct RehearsalTable {
    explicit RehearsalTable(const CanastaGame& game) : Game(game, Host) {}
    SilentHost Host;
    CanastaGame Game;
    ComputerMemory Memory;
};

// A turn rehearses many times, and a rehearsal may rehearse in turn: each depth
// keeps its table, and a new rehearsal overwrites only the cards in play there.
thread_local std::vector<std::unique_ptr<RehearsalTable>> rehearsalTables;
thread_local std::size_t rehearsalDepth = 0;

class RehearsalLevel {
public:
    RehearsalLevel() { ++rehearsalDepth; }
    ~RehearsalLevel() { --rehearsalDepth; }
    RehearsalLevel(const RehearsalLevel&) = delete;
    RehearsalLevel& operator=(const RehearsalLevel&) = delete;
};

}  // namespace

bool ExpertTurn::Rehearse(const std::function<bool(ExpertTurn&)>& part)
{
    const std::size_t depth = rehearsalDepth;
    RehearsalLevel level;
    if (rehearsalTables.size() <= depth)
        rehearsalTables.push_back(std::make_unique<RehearsalTable>(Game));
    else
        rehearsalTables[depth]->Game.CopyTableFrom(Game);
    RehearsalTable& table = *rehearsalTables[depth];
    table.Memory = Memory;
    ComputerSettings unseen = Settings;
    unseen.Animate = false;
    unseen.Memory = &table.Memory;
    ExpertTurn trial(table.Game, unseen);
    trial.OwnMinimumMeld = OwnMinimumMeld;
    trial.OpponentHoarding = OpponentHoarding;
    trial.StartFromCountsOf(*this);
    trial.Recount();
    return part(trial);
}

void ExpertTurn::MeldRank(int rank, int max)
{
    MeldLastCardsOfRank(rank, max);
    if (rank >= 3 && Melds(rank) == 2) {
        AddWildcardToMeld(rank);
        Recount();
    }
}

}  // namespace meldora::ai

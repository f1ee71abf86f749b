// The one game: the table state of both sides and the operations of the rules.
// The main window owns exactly one CanastaGame for the life of the program; it
// reaches the window (flights, sounds, boxes, the computer's turn) only through
// TableHost.
//
// The operations are grouped by rule area, one source file each:
//   game_state.cpp   deck, columns, snapshot, meld value
//   game_flow.cpp    new game, deal, draw, discard, forced pass, end of hand
//   melds.cpp        melding, canastas, the meld check
//   discard_pile.cpp freezing, taking the pile, blocking red three
//   undo.cpp         undo stack, undo of melds
//   scoring.cpp      hand and match scoring
//   saved_game.cpp   saved-game files
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/card.h"
#include "core/game_random.h"
#include "core/layout.h"
#include "core/rule_options.h"
#include "core/table_host.h"
#include "core/turn_types.h"

namespace meldora {

class TableHost;
class SettingsAccess;

enum WentOutSide : std::int32_t { HumanWentOut = 0, ComputerWentOut = 1, NobodyWentOut = 2 };

// A pile taken with more cards than this has a sound of its own.
inline constexpr int HugePileSize = 12;
// Points a side loses for taking back a take of the discard pile.
inline constexpr int UndoTakePenalty = 50;

enum class MeldRankMode { All, UpToThree };
enum class WildMeldMode { One, UpToThree, UpToSeven };

using ColumnCounts = std::array<std::int32_t, ColumnCount>;

// One side of the table: its cards, its canastas and what is reckoned from them.
// The game holds two, one per Side; every rule that applies to both sides takes
// the side and works on its seat.
struct Seat {
    CardPile Hand, Melds;
    CanastaState Canastas;
    // Per rank (the hand) and per column (the melds): recomputed by RecountColumns;
    // the meld check recounts its side's meld columns alone.
    ColumnCounts HandCount{};
    ColumnCounts MeldCount{};
    std::int32_t Score = 0;       // the match score
    std::int32_t HandScore = 0;   // the last hand's score
    // The running total of points melded this hand, kept by the computer
    // player's card operations. The human's value is reckoned from the table
    // (MeldValueOnTable), since the human can take melds back within the turn.
    std::int32_t MeldValue = 0;
    // The meld value at the end of the side's previous turn: 0 until the side has melded.
    std::int32_t MeldedBefore = 0;
    // The points the first meld of the hand must reach.
    std::int32_t MinimumMeld = 50;
};

// What the computer player remembers between its turns. A deal clears
// ThreeDiscardMode and PlannedDiscardRank; the rest keep their values until rewritten.
struct ComputerMemory {
    bool ThreeDiscardMode = false;
    bool PileMakesCanasta = false;
    std::uint8_t PlannedDiscardRank = 0;
    std::int32_t OpeningWildcards = 0;
    std::int32_t OpeningPlan = 0;
    bool AggressiveTurn = false;
    bool StrongHand = false;
    // The human's cards the computer has seen go into the human's hand (taken
    // with the discard pile) and not yet seen leave it.
    CardPile KnownOpponentCards;
};

// The human's side and the discard pile as they stood at the start of the turn.
struct TurnSnapshot {
    CardPile DiscardPile, Hand, Melds;
    CanastaState Canastas;

    // The same as assigning an empty snapshot, without building its piles first.
    void Clear()
    {
        DiscardPile.Clear();
        Hand.Clear();
        Melds.Clear();
        Canastas = CanastaState{};
    }
};

// Whose turn it is and how far it has got.
struct TurnState {
    bool ComputerTurn = false;
    bool MustDraw = true;
    bool HasDrawn = false;
    std::uint8_t CardsDrawn = 0;
    bool DiscardFrozen = true;
    bool BlackThreesAllowed = false;
    bool StockExhausted = false;
    bool EndHandRequested = false;
    bool HandEnding = false;
    TurnPhase Phase = TurnPhase::Draw;
    // The reason of the last failed meld check, for the status line and error 4.
    std::string MeldCheckReason;
};

// A take of the discard pile whose top card still waits to be melded.
struct PendingTake {
    bool Pending = false;
    bool TopCardOnTable = false;
    CardRecord TopCard;
    std::uint8_t TopCardRank = 0;
    std::int32_t ColumnBefore = 0;
    std::int32_t NaturalsBefore = 0;
    bool NeedsNaturalPair = false;
};

// The network partner's turn as this copy follows it: a take of the pile whose
// top card is melded but whose rest is not yet picked up, and the partner's
// side and the pile as they stood before that take, for its undo.
struct PartnerTurn {
    bool TakePending = false;
    TurnSnapshot BeforeTake;

    void Clear()
    {
        TakePending = false;
        BeforeTake.Clear();
    }
};

struct MatchState {
    bool DrawFirst = true;
    bool GameInProgress = false;
    std::int32_t WentOut = NobodyWentOut;
    // The deal string of the last deal, for the network partner.
    std::string DealString;
    // Set when the player declined another match: the automatic save file is
    // gone and closing must not write it again in this run.
    bool AutoSaveOff = false;
    // Set when the player declined another match and the program is closing:
    // no further hand is dealt.
    bool QuitRequested = false;
};

// How the table shows itself; saved games store it.
struct TablePresentation {
    bool ComputerHandRevealed = false;
    std::uint8_t ComputerHandSpacing = 10;
    bool DiscardSpread = false;
    // Set by loading a saved game and cleared at the next deal: while set the
    // computer's hand is painted face down whatever its FaceUp flags say, so a
    // loaded file cannot be used to look at the opponent's cards.
    bool RevealBlocked = false;
};

struct UndoEntry {
    CardRecord Card;
    int ColumnPitch = 0;
};

// Cards melded by the human this turn, most recent last.
struct UndoRecord {
    std::vector<UndoEntry> Stack;
    bool Running = false;
};

class CanastaGame {
public:
    CanastaGame(TableHost& host, SettingsAccess* settings);
    // A copy of the table that reaches another host: moves tried out on the
    // copy show and ask nothing through the real window.
    CanastaGame(const CanastaGame& other, TableHost& host);
    CanastaGame(const CanastaGame&) = default;
    // Makes this game a copy of other's table, keeping its own host: a copy kept
    // for trying moves out again and again is overwritten, not made anew.
    void CopyTableFrom(const CanastaGame& other);

    TableHost& Host() { return *host_; }
    SettingsAccess* Settings() { return settings_; }

    // ---- Table state -------------------------------------------------------
    Seat& SeatOf(Side side) { return seats_[static_cast<int>(side)]; }
    const Seat& SeatOf(Side side) const { return seats_[static_cast<int>(side)]; }
    Seat& Human() { return SeatOf(Side::Human); }
    const Seat& Human() const { return SeatOf(Side::Human); }
    Seat& Computer() { return SeatOf(Side::Computer); }
    const Seat& Computer() const { return SeatOf(Side::Computer); }

    CardPile Stock, DiscardPile;
    TurnState Turn;
    PendingTake Take;
    MatchState Match;
    TurnSnapshot Snapshot;
    UndoRecord Undo;
    ComputerMemory Memory;
    PartnerTurn Partner;
    TablePresentation Presentation;
    RuleOptions Rules;
    TableLayout Layout;

    // One generator for shuffles and the computer's chance decisions. The program
    // re-seeds it from the clock at every deal; tests and the simulator seed it.
    GameRandom Random;
    void Seed(std::uint32_t seed);

    // ---- Deck, columns, snapshot (game_state.cpp) --------------------------
    void MakeDeck();
    void RecountColumns();
    // The counts of one side alone, for a rule that reads no other.
    void RecountColumns(Side side);
    void TakeSnapshot();
    void RestoreSnapshot();
    // The points of the side's melds, red threes left out; allColumns false
    // counts only columns of three or more cards.
    int MeldValueOnTable(Side side, bool allColumns) const;
    int ColumnOf(const CardRecord& card) const { return Layout.ColumnOf(card.X); }
    int CanastaCount(Side side) const;

    // ---- Where each side keeps its cards (seat_cards.cpp) -------------------
    // Lays a card into the side's hand at its place, face up for the human and
    // as the reveal key says for the computer.
    void PutInHand(Side side, CardRecord& card);
    // Takes a card out of the side's hand and closes the gap it leaves.
    CardRecord TakeFromHand(Side side, int index);
    // Gives a card that has left a hand its place on the side's meld in that
    // column, which held before cards; the card is not added to the melds.
    void PlaceOnMeld(Side side, CardRecord& card, int column, int before);
    // The direction a side's meld columns grow in: +1 down, -1 up.
    static int MeldDirection(Side side);
    // Cards in a column of the side's melds, counted from the table.
    int ColumnSize(Side side, int column) const;
    // The part of the table a side's hand is painted in.
    TableRect HandArea(Side side) const;

    // Takes a card from the side's hand onto the discard pile once the side's
    // table passes the meld check as it will stand after the discard; a discard
    // the rules forbid throws RuleRefusal and leaves the table as it was.
    CardRecord DiscardFromHand(Side side, int handIndex);
    // Lays a card that has left a hand or a meld on top of the discard pile.
    void LayOnDiscardPile(CardRecord& card);
    // Takes a red three back from the side's melds onto the discard pile, which
    // it freezes; the caller has judged the table first.
    CardRecord BlockPileWithMeldedRedThree(Side side, int meldIndex);

    // ---- Game flow (game_flow.cpp) ----------------------------------------
    void NewGame();
    void DealHand(bool shuffleSound);
    // Deals from a stock already filled (by a shuffle or the partner's deal); the
    // partner's deal reaches this copy with the two hands exchanged.
    void DealFromStock(bool shuffleSound, Side dealtFirst = Side::Computer);
    void DrawFromStock();
    void DiscardCard(int handIndex);
    void CheckForcedPass();
    void EndHandClick();
    bool CheckEndOfHand();
    void SetPhase(TurnPhase phase);
    void ShowInputError(InputError error);
    void SetStockExhausted(bool exhausted);
    // Hands the turn to the opponent: the computer's turn, or waiting for the partner.
    void PassTurnToOpponent();

    // ---- Melds and the meld check (melds.cpp) ------------------------------
    void MeldCard(int handIndex);
    void MeldRank(int handIndex, MeldRankMode mode);
    void AddWildCard(int column);
    void FillCanasta(int column);
    void MeldWildcards(WildMeldMode mode);
    void CheckCanasta(Side side, int column);
    // The check of a side's table that ends every turn, whoever plays the side;
    // handReduction 1 judges the table as it would stand after a discard. Stores
    // the reason of a failure in MeldCheckReason.
    bool ValidateMelds(Side side, int handReduction = 0, bool ignorePendingTopCard = false);
    void UpdateBlackThreesAllowed();
    // Whether a black three of the human's hand may be melded now (what the update would allow).
    bool BlackThreesMayBeMelded() const;

    // ---- Discard pile (discard_pile.cpp) -----------------------------------
    bool IsPileFrozen(Side side) const;
    bool DiscardFreezeRule(const CardRecord& card);
    // Whether the rules let the side take the discard pile now; includeForced
    // counts the take an exhausted stock forces.
    bool CanTakePile(Side side, bool includeForced);
    // Takes the top card of the discard pile for a side the rules let take it;
    // a take they forbid throws RuleRefusal and leaves the pile as it was.
    CardRecord TakePileTop(Side side);
    bool ForcedToTake(int handCount, const ColumnCounts& meldCounts) const;
    void TakePile();
    void CompleteTake();
    void UndoTake();
    void BlockWithRedThree(int meldIndex);

private:
    // Moves the rest of the discard pile into the hand (red threes to the melds).
    void PickUpPile(bool completingTake);
    // Finds the pending top card in the human's melds; -1 when it is not there.
    int FindTopCardInMelds() const;

public:

    // ---- Undo (undo.cpp) ---------------------------------------------------
    void PushUndo(const CardRecord& card);
    UndoEntry PopUndo();
    void ClearUndo();
    void UndoMeld();
    void UndoAll();

private:
    // Before a card leaves a canasta of exactly seven, the canasta is broken and
    // its column laid out as an ordinary meld again; true when it was broken.
    bool BreakCanastaOfSeven(Side side, int column);

public:

    // ---- Scoring (scoring.cpp) ---------------------------------------------
    // Scores the ended hand, shows the result and adds it to the match totals.
    void ScoreHand();
    // Ends the match when a side has reached the target; true when it ended.
    bool EndMatchIfOver();

    // ---- The network partner's moves (partner_moves.cpp) --------------------
    // The partner plays the opponent's seat. Its copy judged each move by the
    // rules in force there, which may differ from ours, so this copy does not
    // judge again; it only checks that the move can be made on its table and
    // throws ImpossibleMove, leaving the table unchanged, when it cannot.
    // Cards are named by id; of two cards with one id the later one is taken.
    void DealFromPartner(const std::string& deal);
    void PartnerDraws();
    void PartnerTakesPileTop();
    void PartnerTakesPileRest();
    void PartnerUndoesTake();
    void PartnerMelds(int cardId);
    void PartnerMeldsWildCard(int cardId, int column);
    void PartnerUndoesMeld(int column, int cardId);
    void PartnerDiscards(int cardId);
    void PartnerBlocksWithRedThree(int cardId);
    void PartnerPasses();
    void PartnerEndsHand();
    // A network match starts: both scores back to zero, no game under way yet.
    void StartNetworkMatch();
    // Whether the partner's table, as it stands, lets the partner go out.
    bool PartnerMayGoOut();

private:
    // The partner's discard, block or pass hands the turn to this copy's player.
    void BeginOwnTurnAfterPartner();
    // A card of the partner's hand laid on its meld in that column; the hand may end.
    void PartnerMeldsFromHand(int handIndex, int column);

public:

    // ---- Commands the window gives (window_commands.cpp) ----
    // The window reads the game freely but changes it only through these and the moves.
    // Decides at random who draws first in the match (once, as the program starts).
    void ChooseFirstDrawerAtRandom();
    // The table's geometry for a size class and the client width the window has.
    void SetTableSize(int sizeIndex, int clientWidth);
    // A new size class chosen during play: every card on the table keeps its column
    // and its place in the column; the stock and the discard pile keep their rows.
    void ChangeTableSize(int sizeIndex, int clientWidth);
    // Rule options read from the settings, taken as they are.
    void SetRules(const RuleOptions& rules);
    // Rule options the player chose; when the initial block changed, the pile's
    // freeze follows it. True when the table must be repainted.
    bool ChangeRules(const RuleOptions& rules);
    // The player has touched the stock, the pile or a hand card: a game is under way.
    void MarkGameInProgress();
    // Shows or hides the computer's hand, spacing it for reading or for overlap.
    void ToggleComputerHandReveal();
    // Closes the spread discard pile; true when it was spread.
    bool CollapseDiscardPile();

private:
    std::array<Seat, 2> seats_;
    // Copies everything, the host too: only CopyTableFrom assigns a game.
    CanastaGame& operator=(const CanastaGame&) = default;

    bool reseedAtDeal_ = true;
    TableHost* host_;
    SettingsAccess* settings_;
};

// The initial meld minimum for a side's match score; the computer asks it at every turn: kept inline.
inline int MinimumMeld(int score)
{
    if (score < 0)
        return 15;
    if (score < 1500)
        return 50;
    if (score < 3000)
        return 90;
    return 120;
}

}  // namespace meldora

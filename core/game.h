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
#include "core/layout.h"
#include "core/rule_options.h"

namespace meldora {

class TableHost;
class SettingsAccess;

enum class Side { Human = 0, Computer = 1 };

// The phase of the human's turn; selects the hint in the status line.
enum TurnPhase : std::uint8_t {
    PhaseDraw = 0,
    PhaseMeldDiscard = 1,
    PhaseMeldDiscardTwice = 2,
    PhaseTaking = 3,
    PhaseSecondCard = 4,
    PhaseOpponent = 8,
    PhaseHandOver = 9,
};

enum WentOutSide : std::int32_t { HumanWentOut = 0, ComputerWentOut = 1, NobodyWentOut = 2 };

enum class MeldRankMode { All, UpToThree };
enum class WildMeldMode { One, UpToThree, UpToSeven };

using ColumnCounts = std::array<std::int32_t, ColumnCount>;

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
};

struct UndoEntry {
    CardRecord Card;
    int ColumnPitch = 0;
};

class CanastaGame {
public:
    CanastaGame(TableHost& host, SettingsAccess* settings);

    TableHost& Host() { return host_; }
    SettingsAccess* Settings() { return settings_; }

    // ---- Table state -------------------------------------------------------
    CardPile Stock, DiscardPile, ComputerHand, HumanHand, ComputerMelds, HumanMelds, KnownHumanCards;
    CanastaState HumanCanastas, ComputerCanastas;

    // Turn snapshot.
    CardPile DiscardBackup, HumanHandBackup, HumanMeldsBackup;
    CanastaState HumanCanastasBackup;

    // Per column (melds) or rank (hands): recomputed by RecountColumns.
    ColumnCounts HumanMeldCount{};
    ColumnCounts HumanHandCount{};
    ColumnCounts ComputerHandCount{};
    ColumnCounts ComputerMeldCount{};
    ColumnCounts DiscardRankCount{};

    ComputerMemory Memory;

    std::int32_t HumanScore = 0;
    std::int32_t ComputerScore = 0;
    std::int32_t HumanMinimumMeld = 50;
    std::int32_t ComputerMeldValue = 0;
    std::int32_t HumanMeldedBefore = 0;
    std::int32_t ComputerMeldedBefore = 0;
    std::int32_t WentOut = NobodyWentOut;

    bool DrawFirst = true;
    bool ComputerTurn = false;
    bool GameInProgress = false;

    // Turn flags.
    bool MustDraw = true;
    bool HasDrawn = false;
    std::uint8_t CardsDrawn = 0;
    bool DiscardFrozen = true;
    bool TakingPile = false;
    bool TopCardOnTable = false;
    bool BlackThreesAllowed = false;
    bool StockExhausted = false;
    bool EndHandRequested = false;
    bool HandEnding = false;
    std::uint8_t Phase = PhaseDraw;

    // Take-pile record.
    CardRecord TopCard;
    std::uint8_t TopCardRank = 0;
    std::int32_t TakeColumnBefore = 0;
    std::int32_t TakeNaturalsBefore = 0;
    bool TakeNeedsNaturalPair = false;

    // Cards melded by the human this turn, most recent last.
    std::vector<UndoEntry> UndoStack;
    bool UndoRunning = false;

    RuleOptions Rules;
    TableLayout Layout;

    // Presentation state that travels with the game (saved games store it).
    bool ComputerHandRevealed = false;
    std::uint8_t ComputerHandSpacing = 10;
    bool DiscardSpread = false;

    // The reason of the last failed meld check, for the status line and error 4.
    std::string MeldCheckReason;

    // The deal string of the last deal, for the network partner.
    std::string DealString;

    // One generator for shuffles and the computer's chance decisions. The program
    // re-seeds it from the clock at every deal; tests and the simulator seed it.
    std::mt19937 Random;
    bool ReseedAtDeal = true;
    void Seed(std::uint32_t seed);

    // ---- Deck, columns, snapshot (game_state.cpp) --------------------------
    void MakeDeck();
    void RecountColumns();
    void TakeSnapshot();
    void RestoreSnapshot();
    int HumanMeldValue(bool allColumns) const;
    int ColumnOf(const CardRecord& card) const { return Layout.ColumnOf(card.X); }
    int CanastaCount(Side side) const;

    // ---- Game flow (game_flow.cpp) ----------------------------------------
    void NewGame();
    void DealHand(bool shuffleSound);
    void DrawFromStock();
    void DiscardCard(int handIndex);
    void CheckForcedPass();
    void EndHandClick();
    bool CheckEndOfHand();
    void SetPhase(int phase);
    void ShowInputError(int number);
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
    // The check of the human's table; handReduction 1 judges the table as it would
    // stand after a discard. Stores the reason of a failure in MeldCheckReason.
    bool ValidateHumanMelds(int handReduction = 0, bool ignorePendingTopCard = false);
    void UpdateBlackThreesAllowed();

    // ---- Discard pile (discard_pile.cpp) -----------------------------------
    bool IsPileFrozen(Side side) const;
    bool DiscardFreezeRule(const CardRecord& card);
    bool CanTakePile(bool includeForced);
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
    bool BreakCanastaOfSeven(int column);

public:

    // ---- Scoring (scoring.cpp) ---------------------------------------------
    // Scores the ended hand, shows the result and adds it to the match totals.
    void ScoreHand();
    // Ends the match when a side has reached the target; true when it ended.
    bool EndMatchIfOver();
    // The last hand's scores; in a network game their difference decides who deals next.
    std::int32_t HumanHandScore = 0;
    std::int32_t ComputerHandScore = 0;
    // Set when the player declined another match: the automatic save file is
    // gone and closing must not write it again in this run.
    bool AutoSaveOff = false;
    // Set when the player declined another match and the program is closing:
    // no further hand is dealt.
    bool QuitRequested = false;

    // ---- Saved games (saved_game.cpp) --------------------------------------
    // Set by loading a saved game and cleared at the next deal: while set the
    // computer's hand is painted face down whatever its FaceUp flags say, so a
    // loaded file cannot be used to look at the opponent's cards.
    bool RevealBlocked = false;

private:
    TableHost& host_;
    SettingsAccess* settings_;
};

// The initial meld minimum for a side's match score.
int MinimumMeld(int score);

}  // namespace meldora

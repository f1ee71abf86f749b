#include "tools/sim/match_runner.h"

#include <exception>

#include "core/saved_game.h"
#include "tools/sim/known_cards.h"

namespace meldora::sim {

namespace {

// Reports after this many go to the count only.
constexpr int MaxReportsShown = 100;

std::uint64_t SplitMix(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

int reportsShown = 0;

}  // namespace

std::uint32_t MatchSeed(std::uint32_t seed, int match)
{
    return static_cast<std::uint32_t>(SplitMix((std::uint64_t{seed} << 32) ^ static_cast<std::uint32_t>(match)));
}

std::uint32_t DealSeed(std::uint32_t matchSeed, int deal)
{
    return static_cast<std::uint32_t>(SplitMix((std::uint64_t{matchSeed} << 20) + static_cast<std::uint32_t>(deal)));
}

MatchRunner::MatchRunner(const SimOptions& options, std::ostream& log)
    : options_(options),
      log_(log),
      host_(options.Checks == TableChecks::AfterEveryMove ? watchingHost_ : quietHost_),
      settings_(options.Rules),
      game_(host_, &settings_),
      referee_(options.Rules)
{
    game_.Rules = options_.Rules;
    for (ai::ComputerSettings* seat : {&humanSeat_, &computerSeat_}) {
        seat->Aggression = options_.Aggression;
        seat->MeldDelay = 0;
        seat->Animate = false;
    }
    humanSeat_.Seat = Side::Human;
    humanSeat_.Memory = &humanSeatMemory_;
    // Only the strict mode looks at the table after every card move.
    if (options_.Checks == TableChecks::AfterEveryMove) {
        watchingHost_.OnTableChanged = [this] {
            ++operation_;
            if (playing_)
                CheckDuringTurn();
        };
    }
    host_.OnComputerTurn = [this] {
        if (playing_ && !matchOver_ && !stopped_)
            PlayComputerSeatTurn();
    };
    host_.OnHandScored = [this](const HandScore& score) { HandScored(score); };
    host_.OnGameOver = [this](const MatchResult& result) { GameOver(result); };
    host_.OnMessage = [this](MessageKind kind, const std::string& text) { Message(kind, text); };
}

// ---- Matches ------------------------------------------------------------------

void MatchRunner::BeginMatch(int matchNumber, std::uint32_t matchSeed, std::uint8_t humanLevel,
                             std::uint8_t computerLevel)
{
    outcome_ = MatchOutcome{};
    matchNumber_ = matchNumber;
    matchSeed_ = matchSeed;
    humanSeat_.Level = humanLevel;
    computerSeat_.Level = computerLevel;
    deal_ = 0;
    hand_ = 1;
    turnsInHand_ = 0;
    humanTurnsInHand_ = 0;
    operation_ = 0;
    move_ = "the deal";
    humanSeatMove_ = "the human side's turn (" + LevelName(humanLevel) + ")";
    computerSeatMove_ = "the computer side's turn (" + LevelName(computerLevel) + ")";
    checkedCounts_ = {};
    matchOver_ = false;
    stopped_ = false;
    expectedHumanScore_ = 0;
    expectedComputerScore_ = 0;
    referee_.BeginHand(0, 0, options_.Rules.InitialBlock);

    // Both seats start every match with a clear memory, so that the two plays
    // of a duplicate deal begin alike.
    humanSeatMemory_ = ComputerMemory{};
    game_.Memory = ComputerMemory{};
    // The last match ended with no further match wanted (see SilentHost): this one is.
    game_.Match.QuitRequested = false;
    game_.Match.AutoSaveOff = false;
    game_.Match.DrawFirst = (SplitMix(matchSeed) & 1) != 0;
    game_.Seed(DealSeed(matchSeed_, deal_));
}

MatchOutcome MatchRunner::PlayMatch(int matchNumber, std::uint32_t matchSeed, std::uint8_t humanLevel,
                                    std::uint8_t computerLevel)
{
    BeginMatch(matchNumber, matchSeed, humanLevel, computerLevel);
    return PlayGuarded([this] {
        game_.NewGame();
        PlayToEndOfMatch();
    });
}

MatchOutcome MatchRunner::PlaySavedMatch(const std::string& fileName, std::uint32_t matchSeed,
                                         std::uint8_t humanLevel, std::uint8_t computerLevel)
{
    BeginMatch(1, matchSeed, humanLevel, computerLevel);
    if (!LoadGame(game_, fileName)) {
        if (outcome_.FileProblem.empty())
            outcome_.FileProblem = "the saved game " + fileName + " could not be loaded";
        return outcome_;
    }
    if (game_.Turn.HasDrawn || game_.Take.Pending) {
        outcome_.FileProblem = "the saved game " + fileName +
                               " stops after the human's draw; a computer level can only take over a turn"
                               " from its beginning";
        return outcome_;
    }
    expectedHumanScore_ = game_.Human().Score;
    expectedComputerScore_ = game_.Computer().Score;
    referee_.BeginHand(expectedHumanScore_, expectedComputerScore_, game_.Turn.DiscardFrozen);
    return PlayGuarded([this, &fileName] {
        CheckTable("after loading " + fileName, true);
        PlayToEndOfMatch();
    });
}

// Plays until the match ends, is abandoned, or the game throws; a throw is a violation.
MatchOutcome MatchRunner::PlayGuarded(const std::function<void()>& play)
{
    playing_ = true;
    try {
        play();
    } catch (const Abandon&) {
    } catch (const std::exception& failure) {
        Report({std::string("the game failed: ") + failure.what()}, "");
    }
    playing_ = false;
    outcome_.Completed = matchOver_ && outcome_.Violations == 0;
    return outcome_;
}

void MatchRunner::PlayToEndOfMatch()
{
    while (!matchOver_ && !stopped_) {
        if (turnsInHand_ >= options_.HandTurnCap)
            Violated({"the hand did not end after " + std::to_string(turnsInHand_) + " turns"}, "");
        PlayHumanSeatTurn();
    }
}

// ---- Turns --------------------------------------------------------------------

void MatchRunner::PlayHumanSeatTurn()
{
    ++turnsInHand_;
    ++humanTurnsInHand_;
    operation_ = 0;
    move_ = humanSeatMove_;
    if (game_.Turn.ComputerTurn || game_.Turn.Phase != TurnPhase::Draw || game_.Turn.HasDrawn)
        Violated({"the human side's turn does not begin with its draw"}, "");

    if (!options_.SaveFile.empty() && hand_ == 1 && humanTurnsInHand_ == options_.SaveTurn) {
        outcome_.Saved = SaveHere();
        stopped_ = true;
        return;
    }
    if (OnHumanSeatTurn) {
        OnHumanSeatTurn(game_);
        referee_.TableChangedBetweenTurns();
    }

    game_.Match.GameInProgress = true;
    // The turn frame records both sides' meld values for the going-out bonus in
    // its own terms; what the game has kept for the human side stays in force.
    const std::int32_t humanMeldedBefore = game_.Human().MeldedBefore;
    const std::int32_t computerMeldedBefore = game_.Computer().MeldedBefore;
    referee_.BeginTurn(game_, Side::Human);
    // The human's own moves keep no running meld value; the level reads it.
    // The referee has just compared the side's melds card for card with those
    // it saw last: the value is asked of the game again only when they changed.
    const std::uint64_t meldsVersion = referee_.MeldsVersion(Side::Human);
    if (!humanMeldValue_ || humanMeldValue_->MeldsVersion != meldsVersion)
        humanMeldValue_ = HumanMeldValue{meldsVersion, game_.MeldValueOnTable(Side::Human, true)};
    game_.Human().MeldValue = humanMeldValue_->Value;
    // The end of the hand is judged once the turn is over, as after the human's
    // discard: with the phase at "hand over" the turn's own checks pass.
    game_.Turn.Phase = TurnPhase::HandOver;
    ai::RunComputerTurn(game_, humanSeat_);
    JudgeTurn("after the human side's turn");
    game_.Human().MeldedBefore = humanMeldedBefore;
    game_.Computer().MeldedBefore = computerMeldedBefore;
    // The referee's copy of the table as the turn began tells what was taken and melded.
    UpdateKnownCards(referee_.DiscardPileAtTurnStart(), referee_.MeldsAtTurnStart(), game_, Side::Human,
                     game_.Memory.KnownOpponentCards, referee_.PilesAlikeAfterTurn());

    // As the human's discard leaves it.
    game_.Turn.ComputerTurn = false;
    game_.Turn.MustDraw = true;
    game_.Turn.HasDrawn = false;
    game_.Turn.CardsDrawn = 0;
    game_.SetPhase(TurnPhase::Draw);
    CheckBetweenTurns("after the human side's turn");

    game_.PassTurnToOpponent();
    if (!matchOver_)
        CheckBetweenTurns("after the computer side's turn");
}

void MatchRunner::PlayComputerSeatTurn()
{
    if (turnsInHand_ >= options_.HandTurnCap)
        Violated({"the hand did not end after " + std::to_string(turnsInHand_) + " turns"}, "");
    ++turnsInHand_;
    operation_ = 0;
    move_ = computerSeatMove_;
    const int hand = hand_;
    // A turn that ends the hand is judged when the hand is scored, with the table as the turn left it.
    referee_.BeginTurn(game_, Side::Computer);
    ai::RunComputerTurn(game_, computerSeat_);
    if (hand_ == hand) {
        JudgeTurn("after the computer side's turn");
        UpdateKnownCards(referee_.DiscardPileAtTurnStart(), referee_.MeldsAtTurnStart(), game_, Side::Computer,
                         humanSeatMemory_.KnownOpponentCards, referee_.PilesAlikeAfterTurn());
    }
}

bool MatchRunner::SaveHere()
{
    const std::string file = options_.SaveFile;
    filing_ = true;
    const bool saved = SaveGame(game_, false, [&file] { return file; });
    filing_ = false;
    if (!saved) {
        if (outcome_.FileProblem.empty())
            outcome_.FileProblem = "the game could not be saved in " + file;
        return false;
    }
    return true;
}

// ---- What the game reports ----------------------------------------------------

void MatchRunner::HandScored(const HandScore& score)
{
    if (!playing_)
        return;
    ++outcome_.Hands;
    if (referee_.TurnOpen())
        JudgeTurn("at the end of the turn that ended the hand");
    const std::vector<std::string> disagreements = referee_.JudgeHandScore(game_, score);
    if (!disagreements.empty()) {
        outcome_.ScoreDisagreements += static_cast<int>(disagreements.size());
        if (reportsShown++ < MaxReportsShown) {
            log_ << "meldora-sim: hand score disagreement (" << Where() << "):\n";
            for (const std::string& text : disagreements)
                log_ << "  " << text << '\n';
        }
    }
    std::vector<std::string> faults = FindTableFaults(game_, CheckMoment::AfterCardMove);
    const std::vector<std::string> scoreFaults = FindHandScoreFaults(score, game_);
    faults.insert(faults.end(), scoreFaults.begin(), scoreFaults.end());
    if (game_.Human().Score != expectedHumanScore_ + score.Human.Total() ||
        game_.Computer().Score != expectedComputerScore_ + score.Computer.Total())
        faults.push_back("the match scores " + std::to_string(game_.Human().Score) + " : " +
                         std::to_string(game_.Computer().Score) + " are not the earlier totals plus the hand");
    if (!faults.empty())
        Violated(faults, "when the hand was scored");
    expectedHumanScore_ = game_.Human().Score;
    expectedComputerScore_ = game_.Computer().Score;
    referee_.BeginHand(expectedHumanScore_, expectedComputerScore_, options_.Rules.InitialBlock);

    // The next deal: shuffled from the match's own seed, with fresh knowledge.
    // After the match's last hand the game deals nothing (see SilentHost).
    ++deal_;
    if (!MatchIsOver(expectedHumanScore_, expectedComputerScore_))
        game_.Seed(DealSeed(matchSeed_, deal_));
    humanSeatMemory_.KnownOpponentCards = CardPile{};
    humanSeatMemory_.ThreeDiscardMode = false;
    humanSeatMemory_.PlannedDiscardRank = 0;
    ++hand_;
    turnsInHand_ = 0;
    humanTurnsInHand_ = 0;
}

void MatchRunner::GameOver(const MatchResult& result)
{
    if (!playing_)
        return;
    matchOver_ = true;
    outcome_.HumanScore = result.HumanScore;
    outcome_.ComputerScore = result.ComputerScore;
    if (result.HumanScore != expectedHumanScore_ || result.ComputerScore != expectedComputerScore_)
        Violated({"the match ended at " + std::to_string(result.HumanScore) + " : " +
                  std::to_string(result.ComputerScore) + " after hands adding up to " +
                  std::to_string(expectedHumanScore_) + " : " + std::to_string(expectedComputerScore_)},
                 "at the end of the match");
    // The next match starts from nothing.
    expectedHumanScore_ = 0;
    expectedComputerScore_ = 0;
}

void MatchRunner::Message(MessageKind kind, const std::string& text)
{
    if (filing_ || !playing_) {
        // Saving and loading explain their refusals in boxes.
        if (outcome_.FileProblem.empty())
            outcome_.FileProblem = text;
        return;
    }
    if (kind == MessageKind::Information)
        return;
    ++outcome_.ErrorMessages;
    if (reportsShown++ < MaxReportsShown)
        log_ << "meldora-sim: message box (" << Where() << "): " << text << '\n';
}

// ---- Checks -------------------------------------------------------------------

void MatchRunner::CheckDuringTurn()
{
    const std::array<std::uint8_t, 6> counts{game_.Stock.Count,     game_.DiscardPile.Count, game_.Human().Hand.Count,
                                             game_.Computer().Hand.Count, game_.Human().Melds.Count, game_.Computer().Melds.Count};
    if (counts == checkedCounts_)
        return;
    checkedCounts_ = counts;
    const std::vector<std::string> faults = FindTableFaults(game_, CheckMoment::AfterCardMove);
    if (!faults.empty())
        Violated(faults, "after table update " + std::to_string(operation_) + " of the turn");
}

void MatchRunner::CheckBetweenTurns(const char* when)
{
    const bool wholeTable = options_.Checks != TableChecks::AtHandEnd;
    // Without the whole table only the match scores are looked at: when they
    // hold there is nothing to report and no list of faults to make.
    if (!wholeTable && ScoresAsExpected())
        return;
    CheckTable(when, wholeTable);
}

bool MatchRunner::ScoresAsExpected() const
{
    return game_.Human().Score == expectedHumanScore_ && game_.Computer().Score == expectedComputerScore_;
}

void MatchRunner::CheckTable(std::string_view when, bool wholeTable)
{
    std::vector<std::string> faults;
    if (wholeTable) {
        faults = FindTableFaults(game_, CheckMoment::BetweenTurns);
        const auto known = FindKnownCardFaults(humanSeatMemory_.KnownOpponentCards, game_.Computer().Hand, "the human");
        faults.insert(faults.end(), known.begin(), known.end());
    }
    if (!ScoresAsExpected())
        faults.push_back("the match scores " + std::to_string(game_.Human().Score) + " : " +
                         std::to_string(game_.Computer().Score) + " differ from the hands' totals " +
                         std::to_string(expectedHumanScore_) + " : " + std::to_string(expectedComputerScore_));
    if (!faults.empty()) {
        checkMoment_ = std::string(when);
        move_ = checkMoment_;
        Violated(faults, "");
    }
}

void MatchRunner::JudgeTurn(const char* when)
{
    if (!referee_.TurnOpen())
        return;
    const std::vector<std::string> breaks = referee_.JudgeTurn(game_);
    if (!breaks.empty())
        ReportBreaks(breaks, when);
}

void MatchRunner::ReportBreaks(const std::vector<std::string>& breaks, const char* when)
{
    ++outcome_.RuleBreaks;
    if (reportsShown++ < MaxReportsShown) {
        log_ << "meldora-sim: rule broken (" << Where() << ", " << when << "):\n";
        for (const std::string& text : breaks)
            log_ << "  " << text << '\n';
    }
}

std::string MatchRunner::Where() const
{
    return "--seed " + std::to_string(options_.Seed) + ", match " + std::to_string(matchNumber_) + " (match seed " +
           std::to_string(matchSeed_) + "), hand " + std::to_string(hand_) + ", turn " +
           std::to_string(turnsInHand_) + ": " + std::string(move_);
}

void MatchRunner::Report(const std::vector<std::string>& faults, const std::string& when)
{
    outcome_.Violations += static_cast<int>(faults.size());
    if (reportsShown++ < MaxReportsShown) {
        log_ << "meldora-sim: invariant violation (" << Where() << (when.empty() ? "" : ", " + when) << "):\n";
        for (const std::string& fault : faults)
            log_ << "  " << fault << '\n';
    }
}

void MatchRunner::Violated(const std::vector<std::string>& faults, const std::string& when)
{
    Report(faults, when);
    // The table can no longer be trusted: the match is given up.
    throw Abandon{};
}

}  // namespace meldora::sim

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

#include "core/saved_game.h"
#include "support/table_builder.h"
#include "support/temp_home.h"

using namespace meldora;
using namespace meldora::test;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

// The file with one word of one line (both counted from 0) replaced.
std::string Altered(const std::string& text, int line, int word, const std::string& value)
{
    std::size_t start = 0;
    for (int i = 0; i < line; ++i)
        start = text.find("\r\n", start) + 2;
    const std::size_t end = std::min(text.find("\r\n", start), text.size());
    std::vector<std::string> words = Words(text.substr(start, end - start));
    words.at(word) = value;
    std::string rebuilt;
    for (const std::string& w : words)
        rebuilt += w + " ";
    return text.substr(0, start) + rebuilt + text.substr(end);
}

// Everything a saved game stores, copied out of a game for comparison.
struct StoredState {
    std::vector<CardPile> Piles;
    std::vector<CanastaState> Canastas;
    std::vector<long long> Numbers;

    explicit StoredState(const CanastaGame& g)
        : Piles{g.Stock, g.ComputerHand, g.DiscardPile, g.DiscardBackup, g.ComputerMelds,
                g.HumanHand, g.HumanMelds, g.HumanHandBackup, g.HumanMeldsBackup},
          Canastas{g.HumanCanastas, g.ComputerCanastas, g.HumanCanastasBackup},
          Numbers{g.DiscardFrozen, g.HasDrawn, g.TakingPile, g.TopCardOnTable, g.BlackThreesAllowed,
                  g.GameInProgress, g.ComputerHandRevealed, g.TakeColumnBefore, g.TakeNaturalsBefore,
                  g.TakeNeedsNaturalPair, g.ComputerHandSpacing, g.ComputerMeldValue, g.ComputerScore,
                  g.HumanScore, g.HumanMinimumMeld}
    {
    }
};

void ExpectSameState(const StoredState& expected, const StoredState& actual)
{
    for (std::size_t p = 0; p < expected.Piles.size(); ++p) {
        const CardPile& a = expected.Piles[p];
        const CardPile& b = actual.Piles[p];
        ASSERT_EQ(a.Count, b.Count) << "pile " << p;
        for (int i = 0; i < a.Count; ++i)
            EXPECT_EQ(a.Cards[i], b.Cards[i]) << "pile " << p << " card " << i;
        if (p >= 4) {  // the piles laid out in columns
            EXPECT_EQ(a.ColumnEnds, b.ColumnEnds) << "pile " << p;
        }
    }
    EXPECT_EQ(expected.Canastas, actual.Canastas);
    EXPECT_EQ(expected.Numbers, actual.Numbers);
}

class SavedGameTest : public ::testing::Test {
protected:
    TempHome home;
    TableFixture t;
    CanastaGame& game = t.game;

    // A failed read-only test must not leave a folder that cannot be removed.
    void TearDown() override { fs::permissions(home.Dir, fs::perms::owner_all); }

    // Something in every stored pile, a snapshot older than the table,
    // canastas on both sides and unusual values in every number.
    void BuildTable()
    {
        for (int id : {CardId(Heart, 9), Joker, CardId(Club, 4)})
            AddToStock(game, id, 1);
        for (int id : {CardId(Spade, 5), CardId(Diamond, 12), Joker})
            AddToComputerHand(game, id);
        AddToDiscardPile(game, CardId(Club, 7));
        for (int id : {CardId(Heart, 13), CardId(Spade, 13), CardId(Club, 13), CardId(Diamond, 2)})
            AddToHumanMelds(game, id);  // three aces and a red three
        for (int id : {CardId(Heart, 6), CardId(Spade, 6), CardId(Club, 10), Joker})
            AddToHumanHand(game, id, 1);
        for (int id : {CardId(Spade, 11), CardId(Heart, 11), CardId(Club, 11), CardId(Diamond, 1)})
            AddToComputerMelds(game, id);
        game.TakeSnapshot();
        AddToHumanMelds(game, CardId(Diamond, 13));
        AddToDiscardPile(game, CardId(Heart, 8));
        game.HumanCanastas.Count = 1;
        game.HumanCanastas.Kind[13] = MixedCanasta;
        game.HumanCanastas.NaturalCount[13] = 5;
        game.ComputerCanastas.Count = 2;
        game.ComputerCanastas.Kind[1] = WildcardCanasta;
        game.ComputerCanastas.Kind[11] = NaturalCanasta;
        game.ComputerCanastas.NaturalCount[11] = 7;
        game.DiscardFrozen = game.BlackThreesAllowed = game.GameInProgress = true;
        game.ComputerHandRevealed = game.TakeNeedsNaturalPair = true;
        game.TakeColumnBefore = 3;
        game.TakeNaturalsBefore = 2;
        game.ComputerHandSpacing = 12;
        game.ComputerMeldValue = 70;
        game.ComputerScore = -85;
        game.HumanScore = 1234;
    }

    bool SaveTo(const fs::path& path) { return SaveGame(game, false, [&] { return path.string(); }); }

    // A different table: the game that a refused load must keep.
    void PlayOtherGame()
    {
        ClearTable(game);
        AddToHumanHand(game, CardId(Spade, 3));
        AddToStock(game, CardId(Heart, 4));
        game.HumanScore = 40;
    }

    std::string LastMessage() const { return t.host.Messages.empty() ? "" : t.host.Messages.back().Text; }
};

TEST_F(SavedGameTest, SaveThenLoadRestoresTableScoresAndTurn)
{
    BuildTable();
    const StoredState saved(game);
    const fs::path file = home.Dir / "round.meldora";
    ASSERT_TRUE(SaveTo(file));

    PlayOtherGame();
    // Not stored: these keep what the game on the table had.
    game.DrawFirst = false;
    game.HumanMeldedBefore = 77;
    game.CardsDrawn = 1;
    game.WentOut = ComputerWentOut;
    AppendCard(game.KnownHumanCards, MakeCard(CardId(Club, 9), 0));
    game.UndoStack.push_back({MakeCard(CardId(Club, 9), 0), 45});
    game.DiscardSpread = game.ComputerTurn = game.EndHandRequested = true;

    ASSERT_TRUE(LoadGame(game, file.string()));
    EXPECT_TRUE(t.host.Messages.empty());
    ExpectSameState(saved, StoredState(game));
    EXPECT_FALSE(game.DrawFirst);
    EXPECT_EQ(game.HumanMeldedBefore, 77);
    EXPECT_EQ(game.CardsDrawn, 1);
    EXPECT_EQ(game.WentOut, ComputerWentOut);
    EXPECT_EQ(game.KnownHumanCards.Count, 1);

    // The human's turn goes on after the draw; the computer's cards stay hidden.
    EXPECT_FALSE(game.MustDraw);
    EXPECT_EQ(game.Phase, PhaseMeldDiscard);
    EXPECT_FALSE(game.ComputerTurn || game.EndHandRequested || game.StockExhausted || game.DiscardSpread);
    EXPECT_TRUE(game.UndoStack.empty());
    ASSERT_FALSE(t.host.UndoEnabledCalls.empty());
    EXPECT_FALSE(t.host.UndoEnabledCalls.back());
    EXPECT_TRUE(game.RevealBlocked);

    // Saved before the draw with an empty stock: the draw phase, End Hand shown.
    game.HasDrawn = false;
    game.Stock.Count = 0;
    ASSERT_TRUE(SaveTo(file));
    ASSERT_TRUE(LoadGame(game, file.string()));
    EXPECT_TRUE(game.MustDraw);
    EXPECT_EQ(game.Phase, PhaseDraw);
    EXPECT_TRUE(game.StockExhausted);
    EXPECT_EQ(t.host.StockExhaustedCalls.back(), true);
}

TEST_F(SavedGameTest, FileHasTheExactLayout)
{
    AddToStock(game, CardId(Heart, 12), 1);  // king of hearts: Id 51, rank 12
    game.HumanScore = 20;
    game.ComputerScore = -5;
    game.GameInProgress = true;
    const fs::path file = home.Dir / "small.meldora";
    ASSERT_TRUE(SaveTo(file));
    const std::string text = ReadFile(file);

    const std::vector<std::string> first = Words(text.substr(0, text.find("\r\n")));
    ASSERT_EQ(first.size(), 13u);
    const int k = std::stoi(first[2]);
    ASSERT_TRUE(k >= 0 && k <= 999);
    const int key = k + 399;
    const auto n = [](long long v) { return std::to_string(v) + " "; };
    const auto ends = [&](int base) {
        std::string all;
        for (int c = 0; c < ColumnCount; ++c)
            all += n(game.Layout.ColumnX(c)) + n(base);
        return all;
    };
    const TableLayout& l = game.Layout;
    const std::string columnEnds[] = {ends(l.ComputerMeldBase), ends(l.HumanHandBase), ends(l.HumanMeldBase),
                                      ends(l.HumanHandBase), ends(l.HumanMeldBase)};

    std::string expected = "MeldoraSavedGame 414 " + n(k) + "1 " + n(key / 52) + n(key / 13) + n(LeftMargin) +
                           n(l.StockTop) + "10 0 1 " + n(key % 52) + n(key % 13) + "\r\n";
    for (int line = 1; line < 9; ++line) {  // empty piles, each with a key of its own
        const std::size_t at = expected.size();
        const std::string pileKey = text.substr(at, text.find(' ', at) - at + 1);
        ASSERT_LE(std::stoi(pileKey), 999);
        expected += pileKey + "0 " + (line >= 4 ? columnEnds[line - 4] : "") + "\r\n";
    }
    std::string noCanastas;
    for (int i = 0; i < 27; ++i)
        noCanastas += "0 ";
    for (int line = 9; line < 12; ++line)
        expected += noCanastas + "\r\n";
    expected += "0 1 0 0 0 1 0 0 0 0 10 0 -5 20 50 0 ";
    EXPECT_EQ(text, expected);
}

TEST_F(SavedGameTest, LoadAtAnotherWindowSizeKeepsColumnsAndRows)
{
    game.Layout = ApplyLayout(0, 632);
    ClearTable(game);
    BuildTable();
    const TableLayout before = game.Layout;
    const StoredState saved(game);
    const fs::path file = home.Dir / "size.meldora";
    ASSERT_TRUE(SaveTo(file));

    const TableLayout after = ApplyLayout(2, 1016);
    game.Layout = after;
    ASSERT_TRUE(LoadGame(game, file.string()));
    const StoredState loaded(game);
    const int oldBases[] = {before.ComputerMeldBase, before.HumanHandBase, before.HumanMeldBase,
                            before.HumanHandBase, before.HumanMeldBase};
    const int newBases[] = {after.ComputerMeldBase, after.HumanHandBase, after.HumanMeldBase,
                            after.HumanHandBase, after.HumanMeldBase};
    for (std::size_t p = 4; p < 9; ++p) {
        const CardPile& a = saved.Piles[p];
        const CardPile& b = loaded.Piles[p];
        ASSERT_EQ(a.Count, b.Count);
        for (int i = 0; i < a.Count; ++i) {
            EXPECT_EQ(b.Cards[i].Id, a.Cards[i].Id);
            EXPECT_EQ(b.Cards[i].X, after.ColumnX(before.ColumnOf(a.Cards[i].X))) << "pile " << p;
            EXPECT_EQ(b.Cards[i].Y - newBases[p - 4], a.Cards[i].Y - oldBases[p - 4]) << "pile " << p;
        }
        for (int col = 0; col < ColumnCount; ++col) {
            EXPECT_EQ(b.ColumnEnds[col].X, after.ColumnX(col));
            EXPECT_EQ(b.ColumnEnds[col].Y - newBases[p - 4], a.ColumnEnds[col].Y - oldBases[p - 4]);
        }
    }
    for (int i = 0; i < game.Stock.Count; ++i)
        EXPECT_EQ(game.Stock.Cards[i].Y, after.StockTop);
    for (int i = 0; i < game.DiscardPile.Count; ++i)
        EXPECT_EQ(game.DiscardPile.Cards[i].Y, after.DiscardTop);
    EXPECT_TRUE(game.ValidateHumanMelds());
}

TEST_F(SavedGameTest, SavingIsRefusedDuringATakeAndWithAnIncorrectMeld)
{
    const fs::path file = home.Dir / "refused.meldora";
    int asked = 0;
    auto choose = [&] { ++asked; return file.string(); };

    game.TakingPile = game.TopCardOnTable = true;
    EXPECT_FALSE(SaveGame(game, false, choose));
    EXPECT_EQ(LastMessage(), "A game cannot be saved while taking the discard pile");
    EXPECT_EQ(t.host.Messages.back().Kind, MessageKind::Information);

    game.TakingPile = game.TopCardOnTable = false;
    for (int id : {CardId(Spade, 3), CardId(Heart, 3), CardId(Club, 3)})
        AddToHumanMelds(game, id);  // three fours: 15 points, below the first-meld minimum
    AddToHumanHand(game, CardId(Spade, 9));
    EXPECT_FALSE(SaveGame(game, false, choose));
    EXPECT_EQ(LastMessage(), "This game cannot be saved now because your meld is incorrect");
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(fs::exists(file));

    // Refused automatic saves say nothing and leave the previous automatic save alone.
    WriteFile(AutoSavePath(), "previous");
    EXPECT_FALSE(SaveGame(game, true));
    game.TakingPile = true;
    EXPECT_FALSE(SaveGame(game, true));
    EXPECT_EQ(t.host.Messages.size(), 2u);
    EXPECT_EQ(ReadFile(home.Dir / "autosave.meldora"), "previous");
}

TEST_F(SavedGameTest, WrongSignatureAndVersionAreRefused)
{
    BuildTable();
    const fs::path good = home.Dir / "good.meldora";
    ASSERT_TRUE(SaveTo(good));
    const std::string text = ReadFile(good);
    PlayOtherGame();
    const StoredState before(game);

    const fs::path old = home.Dir / "old.meldora";
    WriteFile(old, "MeldoraSavedGame 413" + text.substr(20));
    EXPECT_TRUE(IsSavedGame(t.host, old.string()));
    EXPECT_FALSE(LoadGame(game, old.string()));
    EXPECT_EQ(LastMessage(), "Version error. The file " + old.string() + " cannot be read by Meldora.");
    EXPECT_EQ(t.host.Messages.back().Kind, MessageKind::Error);

    const fs::path other = home.Dir / "Other.meldora";
    WriteFile(other, "MeldoraSavedGamf 414" + text.substr(20));
    std::string upper = other.string();
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_FALSE(IsSavedGame(t.host, other.string()));
    EXPECT_EQ(LastMessage(), upper + " : this file is not a Meldora saved game");
    EXPECT_FALSE(LoadGame(game, other.string()));
    EXPECT_EQ(LastMessage(), upper + " : this file is not a Meldora saved game");

    EXPECT_FALSE(IsSavedGame(t.host, (home.Dir / "missing.meldora").string()));
    EXPECT_EQ(t.host.Messages.size(), 3u);  // a missing file is not reported
    ExpectSameState(before, StoredState(game));
}

TEST_F(SavedGameTest, DamagedFilesLeaveThePreviousGameAndNameTheFile)
{
    BuildTable();
    const fs::path good = home.Dir / "good.meldora";
    ASSERT_TRUE(SaveTo(good));
    const std::string text = ReadFile(good);
    const long long idRemainder = std::stoll(Words(text)[11]);

    const std::vector<std::pair<std::string, std::string>> damaged = {
        {"truncated", text.substr(0, text.size() / 2)},
        {"last-line-short", text.substr(0, text.size() - 4)},
        {"zero-divisor", Altered(text, 0, 4, "0")},
        {"bad-card", Altered(text, 0, 11, std::to_string(idRemainder + 1))},
        {"count-109", Altered(text, 1, 1, "109")},
        {"canasta-kind", Altered(text, 9, 5, "7")},
        {"window-size", Altered(text, 12, 15, "4")},
        {"not-a-number", Altered(text, 5, 2, "x17")},
    };

    PlayOtherGame();
    const StoredState before(game);
    const std::uint8_t phase = game.Phase;
    for (const auto& [name, content] : damaged) {
        const fs::path file = home.Dir / (name + ".meldora");
        WriteFile(file, content);
        EXPECT_FALSE(LoadGame(game, file.string())) << name;
        const std::string message = LastMessage();
        EXPECT_EQ(message.rfind("The file " + file.string() + " is damaged and was not loaded (", 0), 0u) << message;
        EXPECT_NE(message.find("The game on the table is unchanged."), std::string::npos) << message;
        ExpectSameState(before, StoredState(game));
        EXPECT_EQ(game.Phase, phase);
        EXPECT_FALSE(game.RevealBlocked);
    }
    for (const fs::path& unreadable : {home.Dir / "missing.meldora", home.Dir}) {
        EXPECT_FALSE(LoadGame(game, unreadable.string()));
        EXPECT_EQ(LastMessage().rfind("The file " + unreadable.string() + " cannot be read: ", 0), 0u);
        ExpectSameState(before, StoredState(game));
    }
}

TEST_F(SavedGameTest, FailedWriteKeepsThePreviousFile)
{
    BuildTable();
    ASSERT_TRUE(SaveGame(game, true));
    EXPECT_EQ(AutoSavePath(), (home.Dir / "autosave.meldora").string());
    const std::string previous = ReadFile(AutoSavePath());
    game.HumanScore = 4999;

    // The disk fills up part-way through the new file.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = SaveGame(game, true);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(LastMessage().rfind("The game could not be saved in the file " + AutoSavePath() + ": ", 0), 0u);
    EXPECT_EQ(ReadFile(AutoSavePath()), previous);
    for (const auto& entry : fs::directory_iterator(home.Dir))
        EXPECT_EQ(entry.path().filename(), "autosave.meldora");  // no leftover partial file
}

TEST_F(SavedGameTest, ReadOnlyFolderKeepsThePreviousFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not bind the superuser";
    BuildTable();
    const fs::path file = home.Dir / "kept.meldora";
    ASSERT_TRUE(SaveTo(file));
    const std::string previous = ReadFile(file);
    fs::permissions(home.Dir, fs::perms::owner_read | fs::perms::owner_exec);
    game.HumanScore = 4999;
    EXPECT_FALSE(SaveTo(file));
    fs::permissions(home.Dir, fs::perms::owner_all);
    EXPECT_EQ(ReadFile(file), previous);
    EXPECT_EQ(LastMessage().rfind("The game could not be saved in the file " + file.string() + ": ", 0), 0u);
}

TEST(PlayerFileName, CleansTheNameIntoAUsableFileName)
{
    EXPECT_EQ(PlayerFileName("Anna"), "Anna.meldora");
    EXPECT_EQ(PlayerFileName("Jo: \"the\" best?*\\/"), "Jo the best.meldora");
    EXPECT_EQ(PlayerFileName(""), "player.meldora");
    EXPECT_EQ(PlayerFileName("?:*"), "player.meldora");
    EXPECT_EQ(PlayerFileName("..hidden"), "hidden.meldora");
    EXPECT_EQ(PlayerFileName("tab\there"), "tabhere.meldora");

    // A file name holds at most 255 bytes; a cut never splits a character.
    EXPECT_EQ(PlayerFileName(std::string(300, 'a')), std::string(247, 'a') + ".meldora");
    std::string accents;
    for (int i = 0; i < 200; ++i)
        accents += "\xC3\xA9";  // é
    EXPECT_EQ(PlayerFileName(accents), accents.substr(0, 246) + ".meldora");
}

}  // namespace

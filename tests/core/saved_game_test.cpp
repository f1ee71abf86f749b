#include <gtest/gtest.h>

#include <csignal>
#include <dlfcn.h>
#include <functional>
#include <filesystem>
#include <limits>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/saved_game.h"
#include "support/table_builder.h"
#include "support/temp_home.h"

using namespace meldora;
using namespace meldora::test;
namespace fs = std::filesystem;

// Every fsync the program makes is recorded by the path of what it synced.
std::vector<std::filesystem::path> SyncedPaths;

extern "C" int fsync(int fd)
{
    std::error_code ec;
    SyncedPaths.push_back(std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), ec));
    static const auto realFsync = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    return realFsync(fd);
}

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

// Everything a saved game stores, copied out of a game for comparison. The piles
// of a table built card by card hold nothing past their count, so whole piles compare.
struct StoredState {
    std::vector<CardPile> Piles;
    std::vector<CanastaState> Canastas;
    std::vector<long long> Numbers;

    explicit StoredState(const CanastaGame& g)
        : Piles{g.Stock, g.Computer().Hand, g.DiscardPile, g.Snapshot.DiscardPile, g.Computer().Melds,
                g.Human().Hand, g.Human().Melds, g.Snapshot.Hand, g.Snapshot.Melds},
          Canastas{g.Human().Canastas, g.Computer().Canastas, g.Snapshot.Canastas},
          Numbers{g.Turn.DiscardFrozen, g.Turn.HasDrawn, g.Take.Pending, g.Take.TopCardOnTable, g.Turn.BlackThreesAllowed,
                  g.Match.GameInProgress, g.Presentation.ComputerHandRevealed, g.Take.ColumnBefore, g.Take.NaturalsBefore,
                  g.Take.NeedsNaturalPair, g.Presentation.ComputerHandSpacing, g.Computer().MeldValue, g.Computer().Score,
                  g.Human().Score, g.Human().MinimumMeld}
    {
    }
    bool operator==(const StoredState&) const = default;
};

class SavedGameTest : public ::testing::Test, public TableFixture {
protected:
    TempHome home;

    // Something in every stored pile, a snapshot older than the table,
    // canastas on both sides and unusual values in every number.
    void BuildTable()
    {
        for (int id : {CardId(Heart, 9), JokerCard, CardId(Club, 4)})
            AddToStock(game, id, 1);
        AddToHand(game, {CardId(Spade, 5), CardId(Diamond, 12), JokerCard});
        AddToDiscardPile(game, CardId(Club, 7));
        for (int id : {CardId(Heart, 13), CardId(Spade, 13), CardId(Club, 13), CardId(Diamond, 2)})
            AddToHumanMelds(game, id);  // three aces and a red three
        for (int id : {CardId(Heart, 6), CardId(Spade, 6), CardId(Club, 10), JokerCard, CardId(Diamond, 13), CardId(Heart, 8)})
            AddToHumanHand(game, id, 1);
        for (int id : {CardId(Spade, 11), CardId(Heart, 11), CardId(Club, 11), CardId(Diamond, 1)})
            AddToComputerMelds(game, id);
        game.TakeSnapshot();
        for (int id : {CardId(Diamond, 13), CardId(Heart, 8)}) {
            RemoveCardById(game.Human().Hand, id);
            game.Human().Hand.Cards[game.Human().Hand.Count] = {};  // piles compare whole
        }
        AddToHumanMelds(game, CardId(Diamond, 13));
        AddToDiscardPile(game, CardId(Heart, 8));
        StockTheRestOfTheDeck(game);
        game.Human().Canastas.Count = 1;
        game.Human().Canastas.Kind[13] = MixedCanasta;
        game.Human().Canastas.NaturalCount[13] = 5;
        game.Computer().Canastas.Count = 2;
        game.Computer().Canastas.Kind[1] = WildcardCanasta;
        game.Computer().Canastas.Kind[11] = NaturalCanasta;
        game.Computer().Canastas.NaturalCount[11] = 7;
        game.Turn.DiscardFrozen = game.Turn.BlackThreesAllowed = game.Match.GameInProgress = true;
        game.Presentation.ComputerHandRevealed = game.Take.NeedsNaturalPair = true;
        game.Take.ColumnBefore = 3;
        game.Take.NaturalsBefore = 2;
        game.Presentation.ComputerHandSpacing = 12;
        game.Computer().MeldValue = 70;
        game.Computer().Score = -85;
        game.Human().Score = 1234;
    }

    bool SaveTo(const fs::path& path) { return SaveGame(game, false, [&] { return path.string(); }); }

    // A different table: the game that a refused load must keep.
    void PlayOtherGame()
    {
        ClearTable(game);
        AddToHumanHand(game, CardId(Spade, 3));
        game.Human().Score = 40;
    }

    std::string LastMessage() const { return host.Messages.empty() ? "" : host.Messages.back().Text; }

    // The file is refused as damaged, and the game on the table is the one before.
    void ExpectRefusedAsDamaged(const fs::path& file, const StoredState& before)
    {
        EXPECT_FALSE(LoadGame(game, file.string()));
        const std::string message = LastMessage();
        EXPECT_EQ(message.rfind("The file " + file.string() + " is damaged and was not loaded (", 0), 0u) << message;
        EXPECT_NE(message.find("The game on the table is unchanged."), std::string::npos) << message;
        EXPECT_TRUE(before == StoredState(game));
    }
};

}  // namespace

TEST_F(SavedGameTest, SaveThenLoadRestoresTableScoresAndTurn)
{
    BuildTable();
    const StoredState saved(game);
    const fs::path file = home.Dir / "round.meldora";
    ASSERT_TRUE(SaveTo(file));

    PlayOtherGame();
    // Not stored: these keep what the game on the table had.
    game.Human().MeldedBefore = 0;
    game.Computer().MeldedBefore = 0;
    game.Match.WentOut = ComputerWentOut;
    AppendCard(game.Memory.KnownOpponentCards, MakeCard(CardId(Club, 9), 0));
    game.Undo.Stack.push_back({MakeCard(CardId(Club, 9), 0), 45});
    game.Presentation.DiscardSpread = game.Turn.ComputerTurn = game.Turn.EndHandRequested = true;

    ASSERT_TRUE(LoadGame(game, file.string()));
    EXPECT_TRUE(host.Messages.empty()) << LastMessage();
    EXPECT_TRUE(saved == StoredState(game));
    EXPECT_EQ(game.Match.WentOut, ComputerWentOut);
    EXPECT_EQ(game.Memory.KnownOpponentCards.Count, 1);
    // Rebuilt from the melds: the three jacks, and the human's three aces at the start of the turn.
    EXPECT_EQ(game.Computer().MeldedBefore, 30);
    EXPECT_EQ(game.Human().MeldedBefore, 60);
    // The human's turn goes on after the draw; the computer's cards stay hidden.
    EXPECT_EQ(game.Turn.Phase, TurnPhase::MeldDiscard);
    EXPECT_FALSE(game.Turn.MustDraw);
    EXPECT_FALSE(game.Turn.ComputerTurn);
    EXPECT_FALSE(game.Turn.EndHandRequested);
    EXPECT_FALSE(game.Turn.StockExhausted);
    EXPECT_FALSE(game.Presentation.DiscardSpread);
    EXPECT_FALSE(host.UndoEnabledCalls.back());
    EXPECT_TRUE(game.Undo.Stack.empty());
    EXPECT_TRUE(game.Presentation.RevealBlocked);

    // Saved before the draw with an empty stock: the draw phase, End Hand shown.
    game.Turn.HasDrawn = false;
    for (int i = 0; i < game.Stock.Count; ++i)
        AddToHand(game, game.Stock.Cards[i].Id, game.Stock.Cards[i].Deck);
    game.Stock.Count = 0;
    ASSERT_TRUE(SaveTo(file));
    ASSERT_TRUE(LoadGame(game, file.string()));
    EXPECT_TRUE(game.Turn.MustDraw);
    EXPECT_TRUE(game.Turn.StockExhausted);
    EXPECT_TRUE(host.StockExhaustedCalls.back());
    EXPECT_EQ(game.Turn.Phase, TurnPhase::Draw);
    EXPECT_EQ(game.Human().MeldedBefore, 80);  // before the draw: the four aces on the table
}

TEST_F(SavedGameTest, FileHasTheExactLayout)
{
    AddToStock(game, CardId(Heart, 12), 1);  // king of hearts: Id 51, rank 12
    game.Human().Score = 20;
    game.Computer().Score = -5;
    game.Match.GameInProgress = true;
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
    // The base row of piles 4..8: computer melds, hand, melds, hand and melds snapshots.
    const auto base = [](const TableLayout& l, std::size_t p) {
        return p == 4 ? l.ComputerMeldBase : p % 2 ? l.HumanHandBase : l.HumanMeldBase;
    };
    for (std::size_t p = 4; p < 9; ++p) {
        SCOPED_TRACE(p);
        const CardPile& a = saved.Piles[p];
        const CardPile& b = loaded.Piles[p];
        ASSERT_EQ(a.Count, b.Count);
        for (int i = 0; i < a.Count; ++i) {
            EXPECT_EQ(b.Cards[i].Id, a.Cards[i].Id);
            EXPECT_EQ(b.Cards[i].X, after.ColumnX(before.ColumnOf(a.Cards[i].X)));
            EXPECT_EQ(b.Cards[i].Y - base(after, p), a.Cards[i].Y - base(before, p));
        }
        for (int col = 0; col < ColumnCount; ++col) {
            EXPECT_EQ(b.ColumnEnds[col].X, after.ColumnX(col));
            EXPECT_EQ(b.ColumnEnds[col].Y - base(after, p), a.ColumnEnds[col].Y - base(before, p));
        }
    }
    EXPECT_EQ(game.Stock.Cards[0].Y, after.StockTop);
    EXPECT_EQ(game.DiscardPile.Cards[1].Y, after.DiscardTop);
    EXPECT_TRUE(game.ValidateMelds(Side::Human));
}

TEST_F(SavedGameTest, WrongVersionOrSignatureAndDamagedFilesLeaveThePreviousGame)
{
    BuildTable();
    const fs::path good = home.Dir / "good.meldora";
    ASSERT_TRUE(SaveTo(good));
    const std::string text = ReadFile(good);
    const long long idRemainder = std::stoll(Words(text)[11]);
    PlayOtherGame();
    const StoredState before(game);
    const TurnPhase phase = game.Turn.Phase;
    const auto expectUnchanged = [&] {
        EXPECT_TRUE(before == StoredState(game));
        EXPECT_EQ(game.Turn.Phase, phase);
        EXPECT_FALSE(game.Presentation.RevealBlocked);
    };

    const fs::path old = home.Dir / "old.meldora";
    WriteFile(old, "MeldoraSavedGame 413" + text.substr(20));
    EXPECT_TRUE(IsSavedGame(host, old.string()));
    EXPECT_FALSE(LoadGame(game, old.string()));
    EXPECT_EQ(LastMessage(), "Version error. The file " + old.string() + " cannot be read by Meldora.");
    EXPECT_EQ(host.Messages.back().Kind, MessageKind::Error);
    expectUnchanged();

    const fs::path other = home.Dir / "Other.meldora";
    WriteFile(other, "MeldoraSavedGamf 414" + text.substr(20));
    std::string upper = other.string();
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_FALSE(IsSavedGame(host, other.string()));
    EXPECT_EQ(LastMessage(), upper + " : this file is not a Meldora saved game");
    EXPECT_FALSE(LoadGame(game, other.string()));
    EXPECT_EQ(LastMessage(), upper + " : this file is not a Meldora saved game");
    EXPECT_FALSE(IsSavedGame(host, (home.Dir / "missing.meldora").string()));
    EXPECT_EQ(host.Messages.size(), 3u);  // a missing file is not reported
    expectUnchanged();

    const std::pair<std::string, std::string> damaged[] = {
        {"truncated", text.substr(0, text.size() / 2)},
        {"last-line-short", text.substr(0, text.size() - 4)},
        {"zero-divisor", Altered(text, 0, 4, "0")},
        {"bad-card", Altered(text, 0, 11, std::to_string(idRemainder + 1))},
        {"count-109", Altered(text, 1, 1, "109")},
        {"canasta-kind", Altered(text, 9, 5, "7")},
        {"window-size", Altered(text, 12, 15, "4")},
        {"taking-pile", Altered(text, 12, 2, "1")},
        {"top-card-waiting", Altered(text, 12, 3, "1")},
        {"not-a-number", Altered(text, 5, 2, "x17")},
    };
    for (const auto& [name, content] : damaged) {
        SCOPED_TRACE(name);
        const fs::path file = home.Dir / (name + ".meldora");
        WriteFile(file, content);
        ExpectRefusedAsDamaged(file, before);
        expectUnchanged();
    }
    for (const fs::path& unreadable : {home.Dir / "missing.meldora", home.Dir}) {
        EXPECT_FALSE(LoadGame(game, unreadable.string()));
        EXPECT_EQ(LastMessage().rfind("The file " + unreadable.string() + " cannot be read: ", 0), 0u);
        expectUnchanged();
    }
}

TEST_F(SavedGameTest, RefusedOrFailedSavesKeepThePreviousFile)
{
    BuildTable();
    ASSERT_TRUE(SaveGame(game, true));
    EXPECT_EQ(AutoSavePath(), (home.Dir / "autosave.meldora").string());
    const std::string previous = ReadFile(AutoSavePath());
    game.Human().Score = 4999;

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

    // No save during a take, nor of a meld the check refuses; automatic saves are refused silently.
    const std::size_t messages = host.Messages.size();
    int asked = 0;
    auto choose = [&] { ++asked; return (home.Dir / "refused.meldora").string(); };
    game.Take.Pending = true;
    EXPECT_FALSE(SaveGame(game, true));
    EXPECT_FALSE(SaveGame(game, false, choose));
    EXPECT_EQ(LastMessage(), "A game cannot be saved while taking the discard pile");
    game.Take.Pending = false;
    // Nor between the two cards of a draw of two, which a load would repeat whole.
    game.Rules.NumberOfCards = 2;
    game.Turn.CardsDrawn = 1;
    EXPECT_FALSE(SaveGame(game, true));
    EXPECT_FALSE(SaveGame(game, false, choose));
    EXPECT_EQ(LastMessage(), "A game cannot be saved while drawing cards from the stock");
    game.Turn.CardsDrawn = 0;
    AddToHumanMelds(game, CardId(Spade, 9));  // a meld of one card
    EXPECT_FALSE(SaveGame(game, true));
    EXPECT_FALSE(SaveGame(game, false, choose));
    EXPECT_EQ(LastMessage(), "This game cannot be saved now because your meld is incorrect");
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(host.Messages.size(), messages + 3);
    EXPECT_EQ(ReadFile(AutoSavePath()), previous);
}

TEST_F(SavedGameTest, ImpossibleTablesAreRefusedAndLeaveThePreviousGame)
{
    BuildTable();
    const auto variant = [&](const std::function<void(CanastaGame&)>& change) {
        CanastaGame copy(game);
        change(copy);
        return copy;
    };
    const std::pair<std::string, CanastaGame> impossible[] = {
        {"card-twice-other-missing", variant([](CanastaGame& g) { g.Stock.Cards[0] = g.Stock.Cards[1]; })},
        {"cards-120", variant([](CanastaGame& g) {
             for (int i = 0; i < 12; ++i)
                 AddToStock(g, CardId(Spade, 4));
         })},
        {"points", variant([](CanastaGame& g) { g.Computer().Hand.Cards[0].Points = 2'000'000'000; })},
        {"snapshot-points", variant([](CanastaGame& g) { g.Snapshot.Hand.Cards[0].Points = 7; })},
        {"x", variant([](CanastaGame& g) { g.Human().Hand.Cards[0].X = std::numeric_limits<std::int32_t>::max(); })},
        {"column-end", variant([](CanastaGame& g) { g.Computer().Melds.ColumnEnds[3].Y = -100'000; })},
        {"score", variant([](CanastaGame& g) { g.Human().Score = std::numeric_limits<std::int32_t>::max(); })},
        {"meld-value", variant([](CanastaGame& g) { g.Computer().MeldValue = 1'000'000; })},
        {"canasta-count", variant([](CanastaGame& g) { g.Computer().Canastas.Count = 5; })},
        {"snapshot-card-thrice", variant([](CanastaGame& g) {
             for (int i = 0; i < 2; ++i)
                 AppendCard(g.Snapshot.Hand, g.Snapshot.Hand.Cards[0]);
         })},
    };
    PlayOtherGame();
    const StoredState before(game);
    for (const auto& [name, table] : impossible) {
        SCOPED_TRACE(name);
        const fs::path file = home.Dir / (name + ".meldora");
        CanastaGame writer(table);
        ASSERT_TRUE(SaveGame(writer, false, [&] { return file.string(); }));
        ExpectRefusedAsDamaged(file, before);
    }
}

TEST_F(SavedGameTest, DevicesFifosAndLinksToThemAreRefusedUnread)
{
    PlayOtherGame();
    const StoredState before(game);
    const fs::path fifo = home.Dir / "fifo.meldora";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const fs::path linkToZero = home.Dir / "zero.meldora";
    fs::create_symlink("/dev/zero", linkToZero);
    for (const fs::path& file : {fs::path("/dev/zero"), fifo, linkToZero}) {
        SCOPED_TRACE(file.string());
        EXPECT_FALSE(LoadGame(game, file.string()));
        EXPECT_EQ(LastMessage(), "The file " + file.string() + " cannot be read: it is not a regular file.");
        EXPECT_FALSE(IsSavedGame(host, file.string()));
        EXPECT_TRUE(before == StoredState(game));
    }
}

TEST_F(SavedGameTest, TheFileAndThenItsFolderAreSyncedToDisk)
{
    BuildTable();
    const fs::path file = home.Dir / "synced.meldora";
    SyncedPaths.clear();
    ASSERT_TRUE(SaveTo(file));
    ASSERT_EQ(SyncedPaths.size(), 2u);
    // The file is synced under its temporary name, before the rename.
    const fs::path folder = fs::canonical(home.Dir);
    EXPECT_EQ(SyncedPaths[0].parent_path(), folder);
    EXPECT_EQ(SyncedPaths[0].extension(), ".tmp");
    EXPECT_EQ(SyncedPaths[1], folder);
}

TEST(PlayerFileName, CleansTheNameIntoAUsableFileName)
{
    EXPECT_EQ(PlayerFileName("Anna"), "Anna.meldora");
    EXPECT_EQ(PlayerFileName("Jo: \"the\" best?*\\/"), "Jo the best.meldora");
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

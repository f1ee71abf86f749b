#include "core/saved_game.h"

#include "core/file_locations.h"
#include "core/file_io.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <limits>
#include <random>
#include <stdexcept>
#include <string_view>
#include <system_error>

#include "core/game.h"
#include "core/saved_game_record.h"
#include "core/table_host.h"

namespace meldora {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view SignatureText{SavedGameSignature};
constexpr int PileKeyOffset = 399;
// A saved game is some 50 KB; anything far larger is not one, and is not read into memory.
constexpr std::size_t LargestSavedGame = 1 << 20;

// ---- Writing ---------------------------------------------------------------

// A fresh key per pile, so that the card identities never appear in plain form.
int PileKey(GameRandom& random)
{
    const double ms = std::chrono::duration<double, std::milli>(
                          std::chrono::steady_clock::now().time_since_epoch()).count();
    const double r = std::uniform_real_distribution<double>(0.0, 1.0)(random);
    return static_cast<int>(std::fmod(std::floor(std::fabs(ms * r)), 1000.0));
}

class Writer {
public:
    explicit Writer(GameRandom& random) : random_(random) {}

    void Number(long long value)
    {
        text_ += std::to_string(value);
        text_ += ' ';
    }
    void EndLine() { text_ += "\r\n"; }

    void Pile(const CardPile& pile, bool withColumnEnds)
    {
        const int k = PileKey(random_);
        const int key = k + PileKeyOffset;
        Number(k);
        Number(pile.Count);
        for (int i = 0; i < pile.Count; ++i) {
            const CardRecord& c = pile.Cards[i];
            Number(key / (c.Id + 1));
            Number(key / (c.Rank + 1));
            Number(c.X);
            Number(c.Y);
            Number(c.Points);
            Number(c.FaceUp ? 1 : 0);
            Number(c.Deck);
            Number(key % (c.Id + 1));
            Number(key % (c.Rank + 1));
        }
        if (withColumnEnds) {
            for (const ColumnEnd& end : pile.ColumnEnds) {
                Number(end.X);
                Number(end.Y);
            }
        }
        EndLine();
    }

    void Canastas(const CanastaState& state)
    {
        Number(state.Count);
        for (int column = 1; column < ColumnCount; ++column)
            Number(state.Kind[column]);
        for (int column = 1; column < ColumnCount; ++column)
            Number(state.NaturalCount[column]);
        EndLine();
    }

    std::string& Text() { return text_; }

private:
    GameRandom& random_;
    std::string text_;
};

std::string SavedGameText(CanastaGame& game)
{
    Writer out(game.Random);
    out.Text() = SignatureText;
    out.Text() += ' ';
    out.Number(SavedGameVersion);
    out.Pile(game.Stock, false);
    out.Pile(game.Computer().Hand, false);
    out.Pile(game.DiscardPile, false);
    out.Pile(game.Snapshot.DiscardPile, false);
    out.Pile(game.Computer().Melds, true);
    out.Pile(game.Human().Hand, true);
    out.Pile(game.Human().Melds, true);
    out.Pile(game.Snapshot.Hand, true);
    out.Pile(game.Snapshot.Melds, true);
    out.Canastas(game.Human().Canastas);
    out.Canastas(game.Computer().Canastas);
    out.Canastas(game.Snapshot.Canastas);
    for (const long long n : {game.Turn.DiscardFrozen, game.Turn.HasDrawn, game.Take.Pending, game.Take.TopCardOnTable,
                              game.Turn.BlackThreesAllowed, game.Match.GameInProgress, game.Presentation.ComputerHandRevealed})
        out.Number(n);
    for (const long long n : {game.Take.ColumnBefore, game.Take.NaturalsBefore})
        out.Number(n);
    out.Number(game.Take.NeedsNaturalPair);
    out.Number(game.Presentation.ComputerHandSpacing);
    for (const long long n : {game.Computer().MeldValue, game.Computer().Score, game.Human().Score, game.Human().MinimumMeld,
                              game.Layout.SizeIndex})
        out.Number(n);
    return std::move(out.Text());
}

// ---- Reading ---------------------------------------------------------------

// Reads numbers separated by blanks and line ends, the way the file was written.
class Reader {
public:
    Reader(const std::string& text, std::size_t start) : text_(text), pos_(start) {}

    long long Number()
    {
        while (pos_ < text_.size() && IsSpace(text_[pos_])) {
            if (text_[pos_] == '\n')
                ++line_;
            ++pos_;
        }
        if (pos_ >= text_.size())
            throw DamagedFile("it ends in line " + std::to_string(line_) + ", before the game is complete");
        const std::size_t start = pos_;
        if (text_[pos_] == '-')
            ++pos_;
        long long value = 0;
        int digits = 0;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9' && digits < 12) {
            value = value * 10 + (text_[pos_] - '0');
            ++pos_;
            ++digits;
        }
        if (digits == 0 || (pos_ < text_.size() && !IsSpace(text_[pos_]))) {
            std::size_t end = start;
            while (end < text_.size() && !IsSpace(text_[end]) && end - start < 20)
                ++end;
            throw DamagedFile("line " + std::to_string(line_) + " holds \"" + text_.substr(start, end - start) +
                              "\" where a number belongs");
        }
        return text_[start] == '-' ? -value : value;
    }

    long long NumberIn(long long low, long long high, const std::string& what)
    {
        const long long value = Number();
        if (value < low || value > high)
            throw DamagedFile(what + " in line " + std::to_string(line_) + " is " + std::to_string(value) +
                              ", not within " + std::to_string(low) + ".." + std::to_string(high));
        return value;
    }

    std::int32_t Int32(const std::string& what)
    {
        return static_cast<std::int32_t>(NumberIn(std::numeric_limits<std::int32_t>::min(),
                                                  std::numeric_limits<std::int32_t>::max(), what));
    }

    bool Flag(const std::string& what) { return NumberIn(0, 1, what) == 1; }

    // The rest of a pile's or canasta state's line is not part of it.
    void SkipLine()
    {
        while (pos_ < text_.size() && text_[pos_] != '\n')
            ++pos_;
        if (pos_ < text_.size()) {
            ++pos_;
            ++line_;
        }
    }

    int Line() const { return line_; }

private:
    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    const std::string& text_;
    std::size_t pos_;
    int line_ = 1;
};

CardRecord ReadCard(Reader& in, long long key, int index)
{
    long long group[9];
    for (long long& n : group)
        n = in.Number();
    const std::string where = "card " + std::to_string(index + 1) + " in line " + std::to_string(in.Line());
    if (group[0] <= 0 || group[1] <= 0)
        throw DamagedFile(where + " does not decode to a card");
    const long long id1 = (key - group[7]) / group[0];
    const long long rank1 = (key - group[8]) / group[1];
    // A group decodes only to the numbers that wrote it; anything else was altered.
    const bool genuine = id1 >= 2 && id1 <= JokerId + 1 && key / id1 == group[0] && key % id1 == group[7] &&
                         rank1 == CardRank(static_cast<int>(id1 - 1)) + 1 && key / rank1 == group[1] &&
                         key % rank1 == group[8];
    if (!genuine)
        throw DamagedFile(where + " does not decode to a card");
    for (int i : {2, 3, 4})
        if (group[i] < std::numeric_limits<std::int32_t>::min() || group[i] > std::numeric_limits<std::int32_t>::max())
            throw DamagedFile(where + " lies outside the table");
    if (group[5] < 0 || group[5] > 1 || group[6] < 0 || group[6] > 1)
        throw DamagedFile(where + " has a face-up flag or deck other than 0 or 1");
    CardRecord card;
    card.Id = static_cast<std::uint8_t>(id1 - 1);
    card.Rank = static_cast<std::uint8_t>(rank1 - 1);
    card.X = static_cast<std::int32_t>(group[2]);
    card.Y = static_cast<std::int32_t>(group[3]);
    card.Points = static_cast<std::int32_t>(group[4]);
    card.FaceUp = group[5] == 1;
    card.Deck = static_cast<std::uint8_t>(group[6]);
    return card;
}

CardPile ReadPile(Reader& in, bool withColumnEnds)
{
    CardPile pile;
    const long long key = in.NumberIn(0, 999, "the key of a pile") + PileKeyOffset;
    const long long count = in.NumberIn(0, DeckSize, "the card count");
    for (int i = 0; i < count; ++i)
        pile.Cards[i] = ReadCard(in, key, i);
    pile.Count = static_cast<std::uint8_t>(count);
    if (withColumnEnds) {
        for (ColumnEnd& end : pile.ColumnEnds) {
            end.X = in.Int32("a column end");
            end.Y = in.Int32("a column end");
        }
    }
    in.SkipLine();
    return pile;
}

CanastaState ReadCanastas(Reader& in)
{
    CanastaState state;
    state.Count = static_cast<std::int32_t>(in.NumberIn(0, ColumnCount - 1, "the number of canastas"));
    for (int column = 1; column < ColumnCount; ++column)
        state.Kind[column] = static_cast<std::uint8_t>(in.NumberIn(0, WildcardCanasta, "a kind of canasta"));
    for (int column = 1; column < ColumnCount; ++column)
        state.NaturalCount[column] = static_cast<std::uint8_t>(in.NumberIn(0, 255, "a canasta's natural count"));
    in.SkipLine();
    return state;
}

SavedGameRecord ReadRecord(Reader& in)
{
    SavedGameRecord r;
    r.Stock = ReadPile(in, false);
    r.ComputerHand = ReadPile(in, false);
    r.DiscardPile = ReadPile(in, false);
    r.DiscardBackup = ReadPile(in, false);
    r.ComputerMelds = ReadPile(in, true);
    r.HumanHand = ReadPile(in, true);
    r.HumanMelds = ReadPile(in, true);
    r.HumanHandBackup = ReadPile(in, true);
    r.HumanMeldsBackup = ReadPile(in, true);
    r.HumanCanastas = ReadCanastas(in);
    r.ComputerCanastas = ReadCanastas(in);
    r.HumanCanastasBackup = ReadCanastas(in);
    r.DiscardFrozen = in.Flag("the frozen flag");
    r.HasDrawn = in.Flag("the drawn flag");
    r.TakingPile = in.Flag("the taking flag");
    r.TopCardOnTable = in.Flag("the top-card flag");
    r.BlackThreesAllowed = in.Flag("the black-threes flag");
    r.GameInProgress = in.Flag("the game-in-progress flag");
    r.ComputerHandRevealed = in.Flag("the reveal flag");
    r.TakeColumnBefore = in.Int32("the take column");
    r.TakeNaturalsBefore = in.Int32("the take naturals");
    r.TakeNeedsNaturalPair = in.Flag("the natural-pair flag");
    r.ComputerHandSpacing = static_cast<std::uint8_t>(in.NumberIn(0, 255, "the hand spacing"));
    r.ComputerMeldValue = in.Int32("the opponent's meld value");
    r.ComputerScore = in.Int32("the opponent's score");
    r.HumanScore = in.Int32("your score");
    r.HumanMinimumMeld = in.Int32("your minimum meld");
    r.SizeIndex = static_cast<int>(in.NumberIn(0, static_cast<long long>(SizeClasses.size()) - 1, "the window size"));
    return r;
}

// The pitch the file was written with, from the hand's column ends (whose x
// never changes during a hand); 0 when they do not show one.
int StoredPitch(const CardPile& hand)
{
    const int pitch = hand.ColumnEnds[1].X - hand.ColumnEnds[0].X;
    if (pitch <= 0)
        return 0;
    for (int column = 0; column < ColumnCount; ++column)
        if (hand.ColumnEnds[column].X != LeftMargin + column * pitch)
            return 0;
    return pitch;
}

// Moves every card from the geometry the file was written in to the one in
// force, keeping each card's column and its place in the column.
void ConvertGeometry(SavedGameRecord& r, const TableLayout& now)
{
    const SizeClass& size = SizeClasses[r.SizeIndex];
    TableLayout then = ApplyLayout(r.SizeIndex, now.ClientWidth - now.TableWidth + size.TableWidth);
    if (const int pitch = StoredPitch(r.HumanHand))
        then.ColumnPitch = pitch;
    if (r.SizeIndex == now.SizeIndex && then.ColumnPitch == now.ColumnPitch)
        return;

    auto convert = [&](CardPile& pile, int oldBase, int newBase) {
        auto move = [&](std::int32_t& x, std::int32_t& y) {
            x = (x - LeftMargin) / then.ColumnPitch * now.ColumnPitch + LeftMargin;
            y = (y - oldBase) / StackStep * StackStep + newBase;
        };
        for (int i = 0; i < pile.Count; ++i)
            move(pile.Cards[i].X, pile.Cards[i].Y);
        for (ColumnEnd& end : pile.ColumnEnds)
            move(end.X, end.Y);
    };
    // The snapshot is converted too, so that an undone take cannot bring back
    // cards laid out for the other size.
    convert(r.HumanHand, then.HumanHandBase, now.HumanHandBase);
    convert(r.HumanHandBackup, then.HumanHandBase, now.HumanHandBase);
    convert(r.HumanMelds, then.HumanMeldBase, now.HumanMeldBase);
    convert(r.HumanMeldsBackup, then.HumanMeldBase, now.HumanMeldBase);
    convert(r.ComputerMelds, then.ComputerMeldBase, now.ComputerMeldBase);
    for (int i = 0; i < r.Stock.Count; ++i)
        r.Stock.Cards[i].Y = now.StockTop;
    for (CardPile* pile : {&r.DiscardPile, &r.DiscardBackup})
        for (int i = 0; i < pile->Count; ++i)
            pile->Cards[i].Y = now.DiscardTop;
}

void ApplyRecord(CanastaGame& game, const SavedGameRecord& r)
{
    game.Stock = r.Stock;
    game.Computer().Hand = r.ComputerHand;
    game.DiscardPile = r.DiscardPile;
    game.Snapshot.DiscardPile = r.DiscardBackup;
    game.Computer().Melds = r.ComputerMelds;
    game.Human().Hand = r.HumanHand;
    game.Human().Melds = r.HumanMelds;
    game.Snapshot.Hand = r.HumanHandBackup;
    game.Snapshot.Melds = r.HumanMeldsBackup;
    game.Human().Canastas = r.HumanCanastas;
    game.Computer().Canastas = r.ComputerCanastas;
    game.Snapshot.Canastas = r.HumanCanastasBackup;
    game.Turn.DiscardFrozen = r.DiscardFrozen;
    game.Turn.HasDrawn = r.HasDrawn;
    game.Take.Pending = r.TakingPile;
    game.Take.TopCardOnTable = r.TopCardOnTable;
    game.Turn.BlackThreesAllowed = r.BlackThreesAllowed;
    game.Match.GameInProgress = r.GameInProgress;
    game.Presentation.ComputerHandRevealed = r.ComputerHandRevealed;
    game.Take.ColumnBefore = r.TakeColumnBefore;
    game.Take.NaturalsBefore = r.TakeNaturalsBefore;
    game.Take.NeedsNaturalPair = r.TakeNeedsNaturalPair;
    game.Presentation.ComputerHandSpacing = r.ComputerHandSpacing;
    game.Computer().MeldValue = r.ComputerMeldValue;
    game.Computer().Score = r.ComputerScore;
    game.Human().Score = r.HumanScore;
    game.Human().MinimumMeld = r.HumanMinimumMeld;
    game.Turn.MustDraw = !r.HasDrawn;
}

bool ReadFileText(const std::string& fileName, std::string& text, std::string& error)
{
    // One byte past the bound tells a file that is too large from one that just fits.
    if (!ReadRegularFile(fileName, LargestSavedGame + 1, text, error))
        return false;
    if (text.size() > LargestSavedGame) {
        error = "it is far too large to be a saved game";
        return false;
    }
    return true;
}

// The human's meld value as it stood when the turn's draw was complete: the
// table before the draw, the snapshot of the turn after it, whose columns are
// reckoned like those on the table.
int MeldValueAtTurnStart(const CanastaGame& game)
{
    if (!game.Turn.HasDrawn)
        return game.MeldValueOnTable(Side::Human, false);
    CanastaGame atTurnStart(game);
    atTurnStart.Human().Melds = game.Snapshot.Melds;
    return atTurnStart.MeldValueOnTable(Side::Human, false);
}

std::string NotSavedGameText(const std::string& fileName)
{
    std::string upper = fileName;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper + " : this file is not a Meldora saved game";
}

std::string CannotReadText(const std::string& fileName, const std::string& reason)
{
    return "The file " + fileName + " cannot be read: " + reason + ".";
}

}  // namespace

std::string AutoSavePath() { return (UserFilesDir() / AutoSaveName).string(); }

bool SaveGame(CanastaGame& game, bool automatic, const std::function<std::string()>& chooseFile)
{
    TableHost& host = game.Host();
    if (game.Take.Pending) {
        if (!automatic)
            host.ShowMessage(MessageKind::Information, "A game cannot be saved while taking the discard pile");
        return false;
    }
    // CardsDrawn is not stored: a game saved between the cards of a draw would
    // be given a whole draw again after loading.
    if (!game.Turn.ComputerTurn && game.Turn.CardsDrawn > 0 && game.Turn.CardsDrawn < game.Rules.NumberOfCards) {
        if (!automatic)
            host.ShowMessage(MessageKind::Information, "A game cannot be saved while drawing cards from the stock");
        return false;
    }
    if (!game.ValidateMelds(Side::Human)) {
        if (!automatic)
            host.ShowMessage(MessageKind::Information, "This game cannot be saved now because your meld is incorrect");
        return false;
    }

    std::string fileName;
    if (automatic) {
        std::error_code ec;
        fs::create_directories(UserFilesDir(), ec);
        fileName = AutoSavePath();
    } else {
        if (!chooseFile)
            return false;
        fileName = chooseFile();
        if (fileName.empty())
            return false;
    }

    std::string error;
    if (!WriteFileReplacing(fileName, SavedGameText(game), error)) {
        host.ShowMessage(MessageKind::Error, "The game could not be saved in the file " + fileName + ": " + error + ".");
        return false;
    }
    return true;
}

bool IsSavedGame(TableHost& host, const std::string& fileName)
{
    std::error_code ec;
    if (fileName.empty() || !fs::exists(fileName, ec))
        return false;
    std::string error, start;
    if (!ReadRegularFile(fileName, SignatureText.size(), start, error)) {
        host.ShowMessage(MessageKind::Error, CannotReadText(fileName, error));
        return false;
    }
    if (start != SignatureText) {
        host.ShowMessage(MessageKind::Error, NotSavedGameText(fileName));
        return false;
    }
    return true;
}

bool LoadGame(CanastaGame& game, const std::string& fileName)
{
    std::string text, error;
    if (!ReadFileText(fileName, text, error)) {
        game.Host().ShowMessage(MessageKind::Error, CannotReadText(fileName, error));
        return false;
    }
    return LoadGameText(game, text, fileName);
}

bool LoadGameText(CanastaGame& game, const std::string& text, const std::string& fileName)
{
    TableHost& host = game.Host();
    if (text.compare(0, SignatureText.size(), SignatureText) != 0) {
        host.ShowMessage(MessageKind::Error, NotSavedGameText(fileName));
        return false;
    }

    Reader in(text, SignatureText.size());
    bool versionKnown = false;
    try {
        versionKnown = in.Number() == SavedGameVersion;
    } catch (const DamagedFile&) {
    }
    if (!versionKnown) {
        host.ShowMessage(MessageKind::Error, "Version error. The file " + fileName + " cannot be read by Meldora.");
        return false;
    }

    SavedGameRecord record;
    try {
        record = ReadRecord(in);
        CheckPossibleGame(record);
    } catch (const DamagedFile& damage) {
        host.ShowMessage(MessageKind::Error, "The file " + fileName + " is damaged and was not loaded (" +
                                                 damage.what() + "). The game on the table is unchanged.");
        return false;
    }

    ConvertGeometry(record, game.Layout);
    ApplyRecord(game, record);
    game.SetStockExhausted(game.Stock.Count == 0);
    game.Turn.EndHandRequested = false;
    // A loaded game always continues with the human's turn.
    game.Turn.ComputerTurn = false;
    game.ClearUndo();
    host.UndoItemsEnabled(false);
    game.SetPhase(game.Turn.HasDrawn ? TurnPhase::MeldDiscard : TurnPhase::Draw);
    game.Presentation.DiscardSpread = false;
    game.Presentation.RevealBlocked = true;
    game.RecountColumns();
    // Whether a side had melded before this turn decides the bonus for going
    // out concealed. The computer's melds all stem from earlier turns; the
    // human's as they stood when the turn's draw was complete.
    game.Computer().MeldedBefore = game.MeldValueOnTable(Side::Computer, false);
    game.Human().MeldedBefore = MeldValueAtTurnStart(game);
    host.RepaintTable();
    return true;
}

std::string PlayerFileName(const std::string& playerName)
{
    // The characters never allowed in a saved game's name, the folder separator
    // and control characters are dropped; leading dots would hide the file.
    constexpr std::string_view removed = "\"*:?\\/";
    std::string name;
    for (const char c : playerName) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f || removed.find(c) != std::string_view::npos)
            continue;
        name += c;
    }
    const std::size_t first = name.find_first_not_of(" .");
    name.erase(0, first == std::string::npos ? name.size() : first);
    // A file name holds at most 255 bytes, the extension included; a cut never
    // splits a character.
    constexpr std::size_t longestStem = 255 - (sizeof(SavedGameExtension) - 1);
    if (name.size() > longestStem) {
        std::size_t cut = longestStem;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    if (name.empty())
        name = "player";
    return name + SavedGameExtension;
}

}  // namespace meldora

#include "table/computer_turn_summary.h"

#include <QStringList>

#include "core/game.h"

namespace meldora {

namespace {

constexpr int CardsPerSuit = 13;

QString countWord(int count)
{
    static const char* const words[] = {"no", "a", "two", "three", "four", "five", "six", "seven"};
    if (count >= 0 && count < int(std::size(words)))
        return QString::fromLatin1(words[count]);
    return QString::number(count);
}

QString rankText(int rank)
{
    static const char* const ranks[] = {"joker", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K", "A"};
    return QString::fromLatin1(ranks[rank]);
}

// "a 5", "three 5s", "two jokers".
QString cardsOfRank(int rank, int count)
{
    QString text = countWord(count) + QLatin1Char(' ') + rankText(rank);
    if (count > 1)
        text += QLatin1Char('s');
    return text;
}

// "a, b and c".
QString listed(const QStringList& parts)
{
    if (parts.size() <= 1)
        return parts.join(QString());
    return parts.mid(0, parts.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + parts.last();
}

bool inComputerMelds(const CanastaGame& game, const CardRecord& card)
{
    const CardPile& melds = game.Computer().Melds;
    for (int i = 0; i < melds.Count; ++i)
        if (melds.Cards[i].Id == card.Id && melds.Cards[i].Deck == card.Deck)
            return true;
    return false;
}

}  // namespace

QString cardText(int id)
{
    if (id == JokerId)
        return QStringLiteral("Joker");
    static const QString suits[] = {QStringLiteral("\u2660"), QStringLiteral("\u2663"), QStringLiteral("\u2666"),
                                    QStringLiteral("\u2665")};
    return rankText(CardRank(id)) + suits[(id - 1) / CardsPerSuit];
}

void ComputerTurnSummary::begin(const CanastaGame& game)
{
    *this = {};
    pileAtStart_ = game.DiscardPile.Count;
}

void ComputerTurnSummary::noteMove(const CanastaGame& game, const CardRecord& card, int fromX, int fromY, int toX,
                                   int toY)
{
    const TableLayout& l = game.Layout;
    if (fromX == LeftMargin && fromY == l.StockTop)
        ++drawn_;
    else if (fromX == LeftMargin && fromY == l.DiscardTop)
        tookPile_ = true;

    if (toX == LeftMargin && toY == l.DiscardTop)
        discard_ = card;
    else if (inComputerMelds(game, card) && IsRedThree(card.Id))
        ++redThrees_;
    else if (inComputerMelds(game, card))
        ++melded_[card.Rank];
}

QString ComputerTurnSummary::text() const
{
    QStringList parts;
    if (tookPile_)
        parts << QStringLiteral("took the pile (%1 cards)").arg(pileAtStart_);
    else if (drawn_ == 1)
        parts << QStringLiteral("drew a card");
    else if (drawn_ > 1)
        parts << QStringLiteral("drew %1 cards").arg(drawn_);
    if (redThrees_ > 0)
        parts << QStringLiteral("laid out ") + countWord(redThrees_) + QStringLiteral(" red 3") +
                     (redThrees_ > 1 ? QStringLiteral("s") : QString());
    QStringList melds;
    for (const auto& [rank, count] : melded_)
        melds << cardsOfRank(rank, count);
    if (!melds.isEmpty())
        parts << QStringLiteral("melded ") + listed(melds);
    if (discard_)
        parts << QStringLiteral("discarded ") + cardText(discard_->Id);
    return parts.join(QStringLiteral(", "));
}

}  // namespace meldora

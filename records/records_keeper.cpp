#include "records/records_keeper.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "records/highscores_dialog.h"
#include "records/match_history.h"
#include "records/player_dialogs.h"
#include "settings/setting_keys.h"
#include "table/prompts.h"

namespace meldora {

std::string shortDateText()
{
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

std::string dateAndTimeText()
{
    // The long time format may end in the time zone's name, which a match line does not need.
    QString timeFormat = QLocale::system().timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return shortDateText() + " " + QLocale::system().toString(QTime::currentTime(), timeFormat).toStdString();
}

void RecordsKeeper::load()
{
    players_.Load(settings_);
    highscores_.Load(settings_);
}

std::string RecordsKeeper::playerName() const
{
    if (!typedName_.empty())
        return typedName_;
    const std::string current = players_.CurrentName();
    return current.empty() ? "Player" : current;
}

void RecordsKeeper::beginHandEnd()
{
    nameAsked_ = false;
    typedName_.clear();
}

int RecordsKeeper::offerHighscore(QWidget* parent, HighscoreType type, int margin, int levelIndex,
                                  const std::string& opponentName, const std::function<void()>& playHighscoreSound)
{
    HighscoreList& list = highscores_.Of(type, levelIndex);
    const std::int64_t magnitude = std::llabs(std::int64_t{margin});
    const auto score = static_cast<std::int32_t>(std::min<std::int64_t>(magnitude, INT32_MAX));
    if (HighscoreRank(list, score) == 0)
        return 0;

    const bool show = Read(settings_, keys::ShowHighscores);
    std::string name = opponentName;
    if (margin > 0) {
        if (show) {
            if (playHighscoreSound)
                playHighscoreSound();
            if (!nameAsked_) {
                nameAsked_ = true;
                const QString caption = type == HighscoreType::Hand ? QStringLiteral("Hand Score in Highscore List")
                                                                    : QStringLiteral("Match Score in Highscore List");
                bool ok = false;
                const QString answer = prompts::inputText(parent, caption, QStringLiteral("Enter your name:"),
                                                          QString::fromStdString(playerName()), &ok);
                // An empty answer would leave an entry that looks empty: the name stays as it was.
                if (ok && !answer.trimmed().isEmpty())
                    typedName_ = answer.left(255).toStdString();
            }
        }
        name = playerName();
    }
    const int rank = InsertHighscore(list, score, name, shortDateText());
    // Written before the list is shown, so a new entry is kept whatever happens while it is open.
    WriteHighscoreList(settings_, levelIndex, type, list);
    if (show && margin > 0)
        HighscoresDialog(highscores_, settings_, levelIndex, type, rank, parent).exec();
    return rank;
}

void RecordsKeeper::addMatchHistory(int humanScore, int opponentScore, const std::string& opponentName)
{
    AddMatchHistoryLine(settings_,
                        MatchHistoryLine(dateAndTimeText(), playerName(), opponentName, humanScore, opponentScore));
}

void RecordsKeeper::recordMatchResult(bool won) { players_.RecordMatchResult(settings_, won); }

void RecordsKeeper::showHighscores(QWidget* parent, int levelIndex)
{
    HighscoresDialog(highscores_, settings_, levelIndex, HighscoreType::Hand, 0, parent).exec();
}

void RecordsKeeper::showWinRatio(QWidget* parent)
{
    if (players_.Current < 0) {
        prompts::information(parent, QStringLiteral("There are no players defined to show statistics for. To create "
                                                    "players, select Options|Customize...|Player and press 'New...'"));
        return;
    }
    WinRatioDialog(players_, settings_, parent).exec();
}

void RecordsKeeper::showMatchHistory(QWidget* parent) { MatchHistoryDialog(settings_, parent).exec(); }

void RecordsKeeper::selectPlayerAtStartup(QWidget* parent)
{
    if (players_.Players.size() >= 2 && Read(settings_, keys::SelectPlayerOnStartup))
        SelectPlayerDialog(players_, parent).exec();
}

}  // namespace meldora

// "Meldora Hall of Fame": the ten entries of one highscore list, chosen by level
// and type, with Clear for the list shown.
#pragma once

#include <QDialog>
#include <array>

#include "records/highscores.h"

class QButtonGroup;
class QLabel;

namespace meldora {

class SettingsAccess;

class HighscoresDialog : public QDialog {
    Q_OBJECT

public:
    // boldRank (1..10) marks the entry just entered until the list is shown anew.
    HighscoresDialog(HighscoreTables& tables, SettingsAccess& settings, int levelIndex, HighscoreType type,
                     int boldRank = 0, QWidget* parent = nullptr);

    int levelIndex() const;
    HighscoreType type() const;

private:
    void copyLists();
    void redisplay();
    void clearShownList();

    HighscoreTables& tables_;
    SettingsAccess& settings_;
    // The four lists of the type shown, as they were when the type was chosen.
    std::array<HighscoreList, HighscoreLevels> shown_;
    QButtonGroup* levels_ = nullptr;
    QButtonGroup* types_ = nullptr;
    std::array<QLabel*, HighscoreRanks> players_{};
    std::array<QLabel*, HighscoreRanks> dates_{};
    std::array<QLabel*, HighscoreRanks> scores_{};
};

}  // namespace meldora

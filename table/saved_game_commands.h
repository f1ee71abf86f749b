// The menu commands "&Save..." (F4) and "&Load..." (F3): the file dialogs in
// front of the saved-game functions of the game. Messages reach the player
// through the game's host.
#pragma once

#include <QString>

class QWidget;

namespace meldora {

class CanastaGame;

// The filter and titles of the two file dialogs.
extern const QString SavedGameFilter;
extern const QString SaveDialogTitle;
extern const QString LoadDialogTitle;

// Saves unless refused; the dialog offers the selected player's file name in
// the user files folder. True when a file was written.
bool saveGameCommand(QWidget* parent, CanastaGame& game);

// Asks for a saved game in the user files folder and loads it. True when loaded.
bool loadGameCommand(QWidget* parent, CanastaGame& game);

}  // namespace meldora

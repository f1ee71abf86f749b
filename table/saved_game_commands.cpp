#include "table/saved_game_commands.h"

#include <QFile>

#include "core/game.h"
#include "core/saved_game.h"
#include "core/table_host.h"
#include "core/file_locations.h"
#include "table/prompts.h"

namespace meldora {

// "All Files" means every file here, with or without a dot in its name.
const QString SavedGameFilter = QStringLiteral("Meldora Games (*.meldora);;All Files (*)");
const QString SaveDialogTitle = QStringLiteral("Save Meldora Game");
const QString LoadDialogTitle = QStringLiteral("Load Meldora Game");

namespace {

QString UserFilesFolderName() { return QFile::decodeName(UserFilesDir().c_str()); }

}  // namespace

bool saveGameCommand(QWidget* parent, CanastaGame& game)
{
    const std::string offered = PlayerFileName(game.Host().SelectedPlayerName());
    const QString start = UserFilesFolderName() + QLatin1Char('/') + QString::fromStdString(offered);
    return SaveGame(game, false, [&] {
        const QString chosen = prompts::saveFileName(parent, SaveDialogTitle, start, SavedGameFilter);
        return chosen.isEmpty() ? std::string() : QFile::encodeName(chosen).toStdString();
    });
}

bool loadGameCommand(QWidget* parent, CanastaGame& game)
{
    const QString chosen = prompts::openFileName(parent, LoadDialogTitle, UserFilesFolderName(), SavedGameFilter);
    if (chosen.isEmpty())
        return false;
    const std::string fileName = QFile::encodeName(chosen).toStdString();
    if (!IsSavedGame(game.Host(), fileName))
        return false;
    return LoadGame(game, fileName);
}

}  // namespace meldora

// The pieces the help pictures share: the main window that can be caught just
// before the computer plays, the yellow marks that name parts of a picture, and
// clicks on the table as the player gives them.
#pragma once

#include <QDir>
#include <QImage>
#include <QRect>
#include <QString>
#include <functional>

#include "core/card.h"
#include "table/main_window.h"

class QPainter;

namespace meldora::help_pictures {

// The program's own main window; a picture may be taken at the moment the
// player's turn has ended and the computer is about to play.
class PictureWindow : public MainWindow {
public:
    using MainWindow::MainWindow;
    std::function<void()> beforeComputerTurn;
    void RunComputerTurn() override;
};

// The window as the player sees it now.
QImage grabWindow(PictureWindow& window);
// A rectangle of the table in the coordinates of a grabbed window.
QRect onWindow(PictureWindow& window, const QRect& tableRect);

// A frame around an area of the picture and its name in a box at the given point.
void label(QPainter& painter, const QRect& area, const QString& name, const QPoint& at);
// The bold font the marks are written in.
void useLabelFont(QPainter& painter);

// A mouse release on a card of the table, at the strip of it that stays visible in
// a stacked column.
void clickCard(PictureWindow& window, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
               const CardRecord& card);
// The index of the first card of the rank in the player's hand; -1 when none.
int handCardOfRank(const CanastaGame& game, int rank);

// Deals a new hand from the seed with the player to draw first.
void dealForPlayer(PictureWindow& window, std::uint32_t seed);

// Writes the picture into the folder; false (with a message) when it cannot.
bool savePicture(const QImage& picture, const QDir& folder, const QString& name);
// Reports a picture whose table did not come out as its help text tells it.
bool fail(const QString& why);

bool renderTablePicture(PictureWindow& window, const QDir& folder);
bool renderExampleTurn(PictureWindow& window, const QDir& folder);
bool renderCanastaPictures(PictureWindow& window, const QDir& folder);

}  // namespace meldora::help_pictures

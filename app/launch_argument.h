// The desktop hands the program links and file addresses; the start-up knows only its own
// forms of the first argument ("/ip:" + address, a saved-game path).
#pragma once

#include <QString>

namespace meldora {

// A meldora://HOST link (from a chat program or a web page) becomes "/ip:HOST", the network
// game with HOST; a file:// address of a saved game becomes its local path; anything else is
// passed on unchanged. A link that names no host starts the program as if it had no argument.
QString programArgument(const QString& argument);

}  // namespace meldora

// Feeds any bytes to the saved-game reader as a file's text. A file that loads
// must leave a table the rules can play on: the hand can be scored and the
// human's turn taken up without a throw other than a rule's refusal.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/game.h"
#include "core/saved_game.h"
#include "core/silent_host.h"

using namespace meldora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static SilentHost host;
    static const CanastaGame fresh = [] {
        CanastaGame game(host, nullptr);
        game.Seed(1);
        game.NewGame();
        return game;
    }();

    CanastaGame game(fresh, host);
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!LoadGameText(game, text, "fuzz.meldora"))
        return 0;

    try {
        game.ValidateMelds(Side::Human);
        game.ValidateMelds(Side::Computer);
        game.CanTakePile(Side::Human, true);
        if (game.Turn.MustDraw && game.Stock.Count > 0)
            game.DrawFromStock();
    } catch (const RuleRefusal&) {
    }
    game.ScoreHand();
    return 0;
}

// The names and defaults of the program's fixed settings, kept in one place so
// that every reader of a key uses the same default. Keys whose names are built
// at run time (sound events, players, highscores, match history, the address
// history) and keys whose default depends on the running program are read by
// their owners.
#pragma once

#include <string>

#include "core/settings_access.h"

namespace meldora {

// The layout of the settings this release writes; MigrateSettings brings older ones to it.
inline constexpr int SettingsVersion = 41402;

struct IntSetting {
    const char* Name;
    int Default;
};
struct BoolSetting {
    const char* Name;
    bool Default;
};
struct StringSetting {
    const char* Name;
    const char* Default;
};

// A stored value that does not fit the type (text where a number belongs) gives the default.
inline int Read(SettingsAccess& s, const IntSetting& k) { return s.ReadInt(k.Name, k.Default); }
inline bool Read(SettingsAccess& s, const BoolSetting& k) { return s.ReadBool(k.Name, k.Default); }
inline std::string Read(SettingsAccess& s, const StringSetting& k) { return s.ReadString(k.Name, k.Default); }

inline void Write(SettingsAccess& s, const IntSetting& k, int v) { s.WriteValue(k.Name, v); }
inline void Write(SettingsAccess& s, const BoolSetting& k, bool v) { s.WriteValue(k.Name, v); }
inline void Write(SettingsAccess& s, const StringSetting& k, const std::string& v) { s.WriteValue(k.Name, v); }

namespace keys {

inline constexpr IntSetting Version{"Settings\\Version", 0};
// Colours are 0x00BBGGRR; 32768 is a medium green.
inline constexpr IntSetting BackgroundColor{"Settings\\Background Color", 32768};
inline constexpr StringSetting MouseOptions{"Settings\\Mouse Options", "Single Right Click"};
inline constexpr BoolSetting SelectPlayerOnStartup{"Settings\\Select Player on startup", true};
inline constexpr BoolSetting Sound{"Settings\\Sound", true};
inline constexpr IntSetting Delay{"Settings\\Delay", 300};
inline constexpr BoolSetting AutoSave{"Settings\\AutoSave", true};
inline constexpr BoolSetting HintShown{"Settings\\Hint Shown", false};
inline constexpr BoolSetting Music{"Settings\\Music", true};
inline constexpr IntSetting MusicType{"Settings\\Music Type", 1};
inline constexpr BoolSetting ShowStatusbar{"Settings\\Show Statusbar", true};
inline constexpr StringSetting Level{"Settings\\Level", "Beginner"};
inline constexpr IntSetting Aggression{"Settings\\Aggression", 50};
inline constexpr BoolSetting CardMovement{"Settings\\Card Movement", true};
inline constexpr IntSetting CardSpeed{"Settings\\Card Speed", 10};
inline constexpr BoolSetting ShowHighscores{"Settings\\Show Highscores", true};
inline constexpr BoolSetting ShowTurns{"Settings\\Show Turns", true};
inline constexpr StringSetting Resolution{"Settings\\Resolution", "0,0,640x480"};
inline constexpr BoolSetting PLRequestIssued{"Settings\\PL Request Issued", false};

inline constexpr IntSetting CardbackColor0{"Cardback\\Color0", 128};
inline constexpr IntSetting CardbackColor1{"Cardback\\Color1", 16512};

inline constexpr StringSetting MusicFile{"Music\\File", "ARCADIA.MID"};
// Empty: the program's own music folder.
inline constexpr StringSetting MusicDir{"Music\\Dir", ""};

inline constexpr StringSetting LANAddress{"Network\\LANAddress", ""};
inline constexpr BoolSetting LANorInternet{"Network\\LANorInternet", false};
// Stored and shown by the Connect dialog; no connection uses it.
inline constexpr StringSetting IDServer{"Network\\ID Server", "id.meldora.org"};
// The address history: "Network\LANHist" followed by 0..9, most recent first.
inline constexpr const char* LANHistoryPrefix = "Network\\LANHist";
inline constexpr BoolSetting ChatOnTop{"Network\\Chat on Top", true};

inline constexpr IntSetting ChatFontColor{"Chat\\Font.Color", 0};
inline constexpr IntSetting ChatFontHeight{"Chat\\Font.Height", -11};
inline constexpr StringSetting ChatFontName{"Chat\\Font.Name", "MS Sans Serif"};
inline constexpr IntSetting ChatFontPitch{"Chat\\Font.Pitch", 0};
inline constexpr IntSetting ChatFontSize{"Chat\\Font.Size", 8};
inline constexpr BoolSetting ChatFontBold{"Chat\\Font.Bold", false};
inline constexpr BoolSetting ChatFontItalic{"Chat\\Font.Italic", false};
inline constexpr BoolSetting ChatFontUnderline{"Chat\\Font.Underline", false};
inline constexpr BoolSetting ChatFontStrikeOut{"Chat\\Font.StrikeOut", false};
inline constexpr IntSetting ChatWidth{"Chat\\Width", 429};
inline constexpr IntSetting ChatHeight{"Chat\\Height", 108};
// The chat window's position; the reader gives the main window's left and top as defaults.
inline constexpr const char* ChatLeft = "Chat\\Left";
inline constexpr const char* ChatTop = "Chat\\Top";

}  // namespace keys

}  // namespace meldora

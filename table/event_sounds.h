// The wave files of the fifteen sound events: their names, built-in defaults, how
// they are kept in the settings store, and the choice of one file when an event
// sounds. Plain functions, so that the choice is testable without an audio device.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <random>

#include "core/table_host.h"

namespace meldora {

class SettingsAccess;

inline constexpr int SoundEventCount = 15;
inline constexpr int MaxSoundsPerEvent = 3;
// Stored as an event's first file: the event stays silent.
inline constexpr char NoSoundMarker[] = "<none>";

// Per event, up to three file names; a name without a folder lies in SoundFolder().
using EventSoundTable = std::array<QStringList, SoundEventCount>;

// The event's name as the Sound dialog lists it and as its settings keys spell it.
QString SoundEventName(SoundEvent event);
QStringList DefaultEventSounds(SoundEvent event);

// Every event with its built-in files.
EventSoundTable DefaultEventSoundTable();
EventSoundTable LoadEventSounds(SettingsAccess& settings);
// Replaces the whole "Sound" section with the table.
void StoreEventSounds(SettingsAccess& settings, const EventSoundTable& table);

// The program's own sounds and music (under the assets folder).
QString SoundFolder();
QString MusicFolder();
// A name without a folder part is taken from `folder`; any other name as it is.
QString ResolveFileName(const QString& name, const QString& folder);

// One of the files at random; empty when the event has none.
QString ChooseEventFile(const QStringList& files, std::mt19937& random);

}  // namespace meldora

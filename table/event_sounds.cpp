#include "table/event_sounds.h"

#include <QDir>
#include <QFileInfo>

#include "core/file_locations.h"
#include "core/settings_access.h"

namespace meldora {

namespace {

struct EventSoundEntry {
    const char* Name;
    std::initializer_list<const char*> Defaults;
};

// In the order of SoundEvent.
const std::array<EventSoundEntry, SoundEventCount> EventSoundEntries{{
    {"Deal", {"shufl.wav"}},
    {"Exit", {"done.wav"}},
    {"Help (1st)", {"help.wav"}},
    {"Help (2nd)", {"manuel.wav"}},
    {"Help (3rd)", {"nowwhat.wav"}},
    {"Highscore", {"exelnt.wav"}},
    {"Lose Hand", {"toobad.wav"}},
    {"Lose Match", {"toobad.wav", "haha.wav"}},
    {"Mixed Canasta", {"mixed.wav"}},
    {"Natural Canasta", {"natural.wav"}},
    {"Start", {"welcome.wav"}},
    {"Take Huge Pile", {"yeah.wav"}},
    {"Win Match", {"wonderfl.wav"}},
    {"Win Hand", {"applause.wav"}},
    {"End Turn (network games)", {"yourturn.wav"}},
}};

const EventSoundEntry& Entry(SoundEvent event) { return EventSoundEntries.at(static_cast<std::size_t>(event)); }

std::string SoundKey(int event, int k)
{
    return "Sound\\" + SoundEventName(static_cast<SoundEvent>(event)).toStdString() + std::to_string(k);
}

}  // namespace

QString SoundEventName(SoundEvent event) { return QString::fromLatin1(Entry(event).Name); }

QStringList DefaultEventSounds(SoundEvent event)
{
    QStringList files;
    for (const char* file : Entry(event).Defaults)
        files << QString::fromLatin1(file);
    return files;
}

EventSoundTable DefaultEventSoundTable()
{
    EventSoundTable table;
    for (int e = 0; e < SoundEventCount; ++e)
        table[e] = DefaultEventSounds(static_cast<SoundEvent>(e));
    return table;
}

// An absent or empty first file means the built-in sounds; "<none>" means silence,
// kept as such so that the next start does not bring the built-in sound back.
EventSoundTable LoadEventSounds(SettingsAccess& settings)
{
    EventSoundTable table;
    for (int e = 0; e < SoundEventCount; ++e) {
        const QString first = QString::fromStdString(settings.ReadString(SoundKey(e, 1), ""));
        if (first.isEmpty()) {
            table[e] = DefaultEventSounds(static_cast<SoundEvent>(e));
            continue;
        }
        if (first == QLatin1String(NoSoundMarker))
            continue;
        table[e] << first;
        for (int k = 2; k <= MaxSoundsPerEvent; ++k) {
            const QString file = QString::fromStdString(settings.ReadString(SoundKey(e, k), ""));
            if (file.isEmpty())
                break;
            table[e] << file;
        }
    }
    return table;
}

void StoreEventSounds(SettingsAccess& settings, const EventSoundTable& table)
{
    settings.DeleteKey("Sound");
    for (int e = 0; e < SoundEventCount; ++e) {
        if (table[e].isEmpty()) {
            settings.WriteValue(SoundKey(e, 1), std::string(NoSoundMarker));
            continue;
        }
        for (int k = 1; k <= std::min<int>(table[e].size(), MaxSoundsPerEvent); ++k)
            settings.WriteValue(SoundKey(e, k), table[e][k - 1].toStdString());
    }
}

QString SoundFolder() { return QString::fromStdString((AssetsDir() / "sounds").string()); }

QString MusicFolder() { return QString::fromStdString((AssetsDir() / "music").string()); }

QString ResolveFileName(const QString& name, const QString& folder)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return name;
    return QDir(folder).filePath(name);
}

QString ChooseEventFile(const QStringList& files, std::mt19937& random)
{
    if (files.isEmpty())
        return {};
    std::uniform_int_distribution<qsizetype> pick(0, files.size() - 1);
    return files[pick(random)];
}

}  // namespace meldora

#include "core/file_locations.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace meldora {

namespace fs = std::filesystem;

namespace {

// An environment variable that is set to something other than blank.
const char* Env(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

fs::path HomeDir()
{
    if (const char* home = Env("HOME"))
        return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && *pw->pw_dir)
        return pw->pw_dir;
    std::error_code ec;
    return fs::current_path(ec);
}

// $xdgVariable when it holds an absolute path (as the XDG rules ask), else ~/fallback.
fs::path UserBase(const char* xdgVariable, const char* fallback)
{
    if (const char* xdg = Env(xdgVariable); xdg && fs::path(xdg).is_absolute())
        return xdg;
    return HomeDir() / fallback;
}

// A folder that cannot be created is still returned: opening a file in it then
// fails with a message that names it.
fs::path Ensure(fs::path dir)
{
    std::error_code ec;
    fs::create_directories(dir, ec);
    return dir;
}

constexpr const char* SettingsDatabaseName = "meldora.db";

// Earlier releases kept the database straight in MELDORA_HOME. It moves into
// the settings folder once, with its journal or write-ahead log, whose
// contents are part of the settings; the shared-memory index is rebuilt from
// the log, so it is dropped. A database already in the new place wins.
void MoveOldSettingsDatabase(const fs::path& home, const fs::path& database)
{
    std::error_code ec;
    const fs::path old = home / SettingsDatabaseName;
    if (fs::exists(database, ec) || !fs::is_regular_file(old, ec))
        return;
    for (const char* suffix : {"-wal", "-journal"}) {
        const fs::path companion = old.string() + suffix;
        if (fs::exists(companion, ec))
            fs::rename(companion, database.string() + suffix, ec);
    }
    fs::remove(old.string() + "-shm", ec);
    fs::rename(old, database, ec);
}

}  // namespace

fs::path SettingsDir()
{
    // A folder of its own: the saved-game dialogs open the user files folder,
    // and a dialog that opens the settings file drops the program's locks on it.
    if (const char* home = Env("MELDORA_HOME"))
        return Ensure(fs::path(home) / "settings");
    return Ensure(UserBase("XDG_CONFIG_HOME", ".config") / "meldora");
}

fs::path UserFilesDir()
{
    if (const char* home = Env("MELDORA_HOME"))
        return Ensure(home);
    return Ensure(UserBase("XDG_DATA_HOME", ".local/share") / "meldora");
}

fs::path AssetsDir()
{
    if (const char* data = Env("MELDORA_DATA_DIR"))
        return data;
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const fs::path installed = exe.parent_path().parent_path() / "share" / "meldora";
        if (fs::is_directory(installed, ec))
            return installed;
    }
    return MELDORA_SOURCE_ASSETS;
}

fs::path SettingsDatabasePath()
{
    const fs::path database = SettingsDir() / SettingsDatabaseName;
    if (const char* home = Env("MELDORA_HOME"))
        MoveOldSettingsDatabase(home, database);
    return database;
}

}  // namespace meldora

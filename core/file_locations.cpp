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

}  // namespace

fs::path SettingsDir()
{
    if (const char* home = Env("MELDORA_HOME"))
        return Ensure(home);
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
    return SettingsDir() / "meldora.db";
}

}  // namespace meldora

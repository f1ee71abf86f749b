// The settings store: a tree of keys holding named, typed values, kept in one
// SQLite database file. Each root is its own tree in that file. Key and value
// names are compared without regard to case, so "Settings\Mouse options" and
// "Settings\Mouse Options" address the same value.
//
// Every call opens its key afresh and nothing is cached, so two copies of the
// program sharing one database see each other's writes at once. The database
// runs in WAL mode with a busy timeout: a writer waits for the other copy
// instead of failing, and each write is on disk when the call returns.
//
// A database that cannot be opened (missing folder, unreadable or damaged file)
// never stops the program: reads give the caller's default, writes are lost,
// and the file is left exactly as it was. IsOpen()/OpenError() tell start-up so
// it can say so.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/settings_access.h"

struct sqlite3;

namespace meldora {

enum class TRootKey { hkClassesRoot, hkCurrentConfig, hkCurrentUser, hkDynData, hkLocalMachine, hkUsers };

// The access asked for when a key is opened: kRead and kExecute may only read,
// kWrite may only write, kAllAccess may do both.
enum class TAccess { kRead, kWrite, kExecute, kAllAccess };

// The program's own base key; it hangs under hkLocalMachine.
inline constexpr const char* MeldoraBaseKey = "Software\\Corvane\\Meldora";

// Cuts text at every separator and drops empty pieces, so "a\\\\b\\" gives {"a", "b"}.
std::vector<std::string> BrkApart(const std::string& text, char separator = '\\');

class TRegistryEnhanced : public SettingsAccess {
public:
    explicit TRegistryEnhanced(const std::string& databasePath);
    ~TRegistryEnhanced() override;
    TRegistryEnhanced(const TRegistryEnhanced&) = delete;
    TRegistryEnhanced& operator=(const TRegistryEnhanced&) = delete;

    bool IsOpen() const { return Db != nullptr; }
    // Why the store is not usable (empty while it is).
    std::string OpenError() const { return Error; }

    const std::string& Key() const { return BaseKey; }
    void SetKey(const std::string& key) { BaseKey = key; }
    TRootKey RootKey() const { return Root; }
    void SetRootKey(TRootKey root) { Root = root; }
    TAccess Access() const { return Mode; }
    void SetAccess(TAccess access) { Mode = access; }

    SettingValue ReadValue(const std::string& name, const SettingValue& defaultValue) override;
    void WriteValue(const std::string& name, const SettingValue& value) override;
    bool KeyExists(const std::string& subkey) override;
    void GetKeyNames(const std::string& subkey, std::vector<std::string>& names) override;
    bool DeleteKey(const std::string& subkey) override;

private:
    using KeyId = std::int64_t;

    bool Open();
    void Fail(const std::string& what);
    // Checks a result code; a damaged database closes the store for good.
    bool Ok(int rc, const char* what);

    // The root's own key, the base key's pieces, then the given pieces.
    std::vector<std::string> PathTo(const std::vector<std::string>& subkeyPieces) const;
    // One step down the key tree: SQLITE_ROW with child set, SQLITE_DONE when absent, or an error.
    int FindChild(KeyId parent, const std::string& name, KeyId& child);
    std::optional<KeyId> FindKey(const std::vector<std::string>& path);
    std::optional<KeyId> CreateKey(const std::vector<std::string>& path);

    bool SwitchToWal();
    bool Exec(const char* sql);
    bool BeginWrite();
    bool Commit();
    void Rollback();

    bool MayRead() const { return Mode != TAccess::kWrite; }
    bool MayWrite() const { return Mode == TAccess::kWrite || Mode == TAccess::kAllAccess; }

    sqlite3* Db = nullptr;
    std::string Path;
    std::string Error;
    std::string BaseKey;
    TRootKey Root = TRootKey::hkCurrentUser;
    TAccess Mode = TAccess::kAllAccess;
};

}  // namespace meldora

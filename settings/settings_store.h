// The settings store: a tree of keys holding named, typed values, kept in one
// SQLite database file. Each root is its own tree in that file. Key and value
// names are compared without regard to case, so "Settings\Mouse options" and
// "Settings\Mouse Options" address the same value.
//
// Every call opens its key afresh and nothing is cached, so two copies of the
// program sharing one database see each other's writes at once. The database
// keeps a rollback journal, so no lock is held between calls, and a busy
// timeout: a writer waits for the other copy instead of failing, and each
// write is on disk when the call returns.
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

enum class RootKey { ClassesRoot, CurrentConfig, CurrentUser, DynData, LocalMachine, Users };

// The access asked for when a key is opened: Read and Execute may only read,
// Write may only write, AllAccess may do both.
enum class AccessMode { Read, Write, Execute, AllAccess };

// The program's own base key; it hangs under LocalMachine.
inline constexpr const char* MeldoraBaseKey = "Software\\Corvane\\Meldora";

// Cuts text at every separator and drops empty pieces, so "a\\\\b\\" gives {"a", "b"}.
std::vector<std::string> SplitKeyPath(const std::string& text, char separator = '\\');

class SettingsStore : public SettingsAccess {
public:
    explicit SettingsStore(const std::string& databasePath);
    ~SettingsStore() override;
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    bool IsOpen() const { return db_ != nullptr; }
    // Why the store is not usable (empty while it is).
    std::string OpenError() const { return error_; }

    const std::string& Key() const { return baseKey_; }
    void SetKey(const std::string& key) { baseKey_ = key; }
    RootKey Root() const { return root_; }
    void SetRoot(RootKey root) { root_ = root; }
    AccessMode Access() const { return mode_; }
    void SetAccess(AccessMode access) { mode_ = access; }

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

    bool UseRollbackJournal();
    bool Exec(const char* sql);
    bool BeginWrite();
    bool Commit();
    void Rollback();

    bool MayRead() const { return mode_ != AccessMode::Write; }
    bool MayWrite() const { return mode_ == AccessMode::Write || mode_ == AccessMode::AllAccess; }

    sqlite3* db_ = nullptr;
    std::string path_;
    std::string error_;
    std::string baseKey_;
    RootKey root_ = RootKey::CurrentUser;
    AccessMode mode_ = AccessMode::AllAccess;
};

}  // namespace meldora

#include "settings/settings_store.h"

#include <sqlite3.h>

#include <array>
#include <limits>

namespace meldora {

namespace {

// A writer waits this long for another copy of the program before its write is lost.
constexpr int BusyTimeoutMs = 15000;

// Keys form one table: a row's parent is the key it hangs under, 0 for the
// roots themselves. NOCASE makes both the lookups and the uniqueness rules
// ignore case. A value's column has no declared type, so SQLite keeps the
// type it was written with (integer, real or text).
constexpr const char* Schema =
    "CREATE TABLE IF NOT EXISTS reg_keys("
    "  id INTEGER PRIMARY KEY,"
    "  parent INTEGER NOT NULL,"
    "  name TEXT NOT NULL COLLATE NOCASE,"
    "  UNIQUE(parent, name));"
    "CREATE TABLE IF NOT EXISTS reg_values("
    "  key_id INTEGER NOT NULL,"
    "  name TEXT NOT NULL COLLATE NOCASE,"
    "  value,"
    "  PRIMARY KEY(key_id, name)) WITHOUT ROWID;";

constexpr std::array<const char*, 6> RootNames{
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_CONFIG", "HKEY_CURRENT_USER",
    "HKEY_DYN_DATA",     "HKEY_LOCAL_MACHINE",  "HKEY_USERS",
};

class Statement {
public:
    Statement(sqlite3* db, const char* sql) { Result = sqlite3_prepare_v2(db, sql, -1, &Handle, nullptr); }
    ~Statement() { sqlite3_finalize(Handle); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    int Prepared() const { return Result; }
    sqlite3_stmt* operator*() const { return Handle; }
    void Bind(int index, std::int64_t v) { sqlite3_bind_int64(Handle, index, v); }
    void Bind(int index, const std::string& v)
    {
        sqlite3_bind_text(Handle, index, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    }
    int Step() { return sqlite3_step(Handle); }
    std::string Text(int column) const
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(Handle, column));
        return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(Handle, column)))
                    : std::string();
    }

private:
    sqlite3_stmt* Handle = nullptr;
    int Result;
};

// Splits a settings name into the subkey path and the value name.
std::pair<std::vector<std::string>, std::string> SplitName(const std::string& name)
{
    std::vector<std::string> pieces = SplitKeyPath(name);
    std::string valueName;
    if (!pieces.empty()) {
        valueName = std::move(pieces.back());
        pieces.pop_back();
    }
    return {std::move(pieces), std::move(valueName)};
}

}  // namespace

std::vector<std::string> SplitKeyPath(const std::string& text, char separator)
{
    std::vector<std::string> pieces;
    std::string::size_type start = 0;
    while (start <= text.size()) {
        std::string::size_type end = text.find(separator, start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

SettingsStore::SettingsStore(const std::string& databasePath) : path_(databasePath)
{
    Open();
}

SettingsStore::~SettingsStore()
{
    sqlite3_close_v2(db_);
}

bool SettingsStore::Open()
{
    // Opening never writes to the file; a damaged file is left as it is.
    const int rc = sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        error_ = path_ + ": " + (db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
        sqlite3_close_v2(db_);
        db_ = nullptr;
        return false;
    }
    sqlite3_busy_timeout(db_, BusyTimeoutMs);

    // Read the whole file before anything is written to it, so that a file
    // that is not a settings database is refused untouched.
    {
        Statement check(db_, "PRAGMA quick_check");
        if (check.Prepared() != SQLITE_OK) {
            Fail("cannot be read");
            return false;
        }
        const int step = check.Step();
        if (step != SQLITE_ROW) {
            Fail("cannot be read");
            return false;
        }
        const std::string verdict = check.Text(0);
        if (verdict != "ok") {
            error_ = path_ + ": the file is damaged (" + verdict + ")";
            sqlite3_close_v2(db_);
            db_ = nullptr;
            return false;
        }
    }
    if (sqlite3_db_readonly(db_, "main") == 1) {
        error_ = path_ + ": the file cannot be written";
        sqlite3_close_v2(db_);
        db_ = nullptr;
        return false;
    }
    if (!UseRollbackJournal() || !Exec("PRAGMA synchronous=FULL")) {
        Fail("cannot be prepared");
        return false;
    }
    if (!BeginWrite() || !Exec(Schema) || !Commit()) {
        if (db_)
            Fail("cannot be prepared");
        return false;
    }
    return true;
}

bool SettingsStore::UseRollbackJournal()
{
    // With a rollback journal no lock outlives an operation. A write-ahead log
    // keeps a shared lock for as long as the store is open, and Linux drops
    // every lock of the process on the file when any other handle on it is
    // closed (a file dialog looking into the folder does that): another copy
    // then takes itself for the last user, deletes the log, and every later
    // write of ours goes to a deleted file.
    // Changing the journal mode (a database written by an older release is in
    // WAL mode) needs the file to itself and does not wait through the busy
    // timeout, so a copy starting at the same moment as another retries here.
    for (int waited = 0;; waited += 10) {
        const int rc = sqlite3_exec(db_, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
        if ((rc & 0xff) != SQLITE_BUSY && (rc & 0xff) != SQLITE_LOCKED)
            return Ok(rc, "cannot be prepared");
        if (waited >= BusyTimeoutMs)
            return false;
        sqlite3_sleep(10);
    }
}

void SettingsStore::Fail(const std::string& what)
{
    if (!db_)
        return;
    error_ = path_ + " " + what + ": " + sqlite3_errmsg(db_);
    // close_v2 waits for statements still alive in the caller's scope.
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

bool SettingsStore::Ok(int rc, const char* what)
{
    if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE)
        return true;
    const int primary = rc & 0xff;
    if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB)
        Fail(what);
    return false;
}

bool SettingsStore::Exec(const char* sql)
{
    return db_ && Ok(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), "cannot be used");
}

bool SettingsStore::BeginWrite()
{
    // Taking the write lock up front lets the busy timeout wait for another
    // copy; a lock taken later in the transaction would fail at once instead.
    return Exec("BEGIN IMMEDIATE");
}

bool SettingsStore::Commit()
{
    if (Exec("COMMIT"))
        return true;
    Rollback();
    return false;
}

void SettingsStore::Rollback()
{
    if (db_ && !sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

std::vector<std::string> SettingsStore::PathTo(const std::vector<std::string>& subkeyPieces) const
{
    std::vector<std::string> path{RootNames[static_cast<std::size_t>(root_)]};
    for (std::string& piece : SplitKeyPath(baseKey_))
        path.push_back(std::move(piece));
    path.insert(path.end(), subkeyPieces.begin(), subkeyPieces.end());
    return path;
}

int SettingsStore::FindChild(KeyId parent, const std::string& name, KeyId& child)
{
    Statement find(db_, "SELECT id FROM reg_keys WHERE parent = ?1 AND name = ?2");
    if (find.Prepared() != SQLITE_OK)
        return find.Prepared();
    find.Bind(1, parent);
    find.Bind(2, name);
    const int rc = find.Step();
    if (rc == SQLITE_ROW)
        child = sqlite3_column_int64(*find, 0);
    return rc;
}

std::optional<SettingsStore::KeyId> SettingsStore::FindKey(const std::vector<std::string>& path)
{
    KeyId parent = 0;
    for (const std::string& piece : path) {
        const int rc = FindChild(parent, piece, parent);
        if (rc != SQLITE_ROW) {
            Ok(rc, "cannot be read");
            return std::nullopt;
        }
    }
    return parent;
}

std::optional<SettingsStore::KeyId> SettingsStore::CreateKey(const std::vector<std::string>& path)
{
    KeyId parent = 0;
    for (const std::string& piece : path) {
        KeyId child = 0;
        const int rc = FindChild(parent, piece, child);
        if (rc == SQLITE_ROW) {
            parent = child;
            continue;
        }
        if (!Ok(rc, "cannot be read"))
            return std::nullopt;
        Statement insert(db_, "INSERT INTO reg_keys(parent, name) VALUES(?1, ?2)");
        if (!Ok(insert.Prepared(), "cannot be written"))
            return std::nullopt;
        insert.Bind(1, parent);
        insert.Bind(2, piece);
        if (!Ok(insert.Step(), "cannot be written"))
            return std::nullopt;
        parent = sqlite3_last_insert_rowid(db_);
    }
    return parent;
}

SettingValue SettingsStore::ReadValue(const std::string& name, const SettingValue& defaultValue)
{
    if (!db_ || !MayRead())
        return defaultValue;
    const auto [subkey, valueName] = SplitName(name);
    const std::optional<KeyId> key = FindKey(PathTo(subkey));
    if (!key)
        return defaultValue;

    Statement read(db_, "SELECT value FROM reg_values WHERE key_id = ?1 AND name = ?2");
    if (!Ok(read.Prepared(), "cannot be read"))
        return defaultValue;
    read.Bind(1, *key);
    read.Bind(2, valueName);
    const int rc = read.Step();
    if (rc != SQLITE_ROW) {
        Ok(rc, "cannot be read");
        return defaultValue;
    }
    switch (sqlite3_column_type(*read, 0)) {
    case SQLITE_INTEGER: {
        const std::int64_t v = sqlite3_column_int64(*read, 0);
        if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
            return defaultValue;
        return static_cast<int>(v);
    }
    case SQLITE_FLOAT:
        return sqlite3_column_double(*read, 0);
    case SQLITE_TEXT:
        return read.Text(0);
    case SQLITE_BLOB:
        return sqlite3_column_bytes(*read, 0);
    default:
        return defaultValue;
    }
}

void SettingsStore::WriteValue(const std::string& name, const SettingValue& value)
{
    if (!db_ || !MayWrite() || std::holds_alternative<std::monostate>(value))
        return;
    const auto [subkey, valueName] = SplitName(name);
    if (!BeginWrite())
        return;
    const std::optional<KeyId> key = CreateKey(PathTo(subkey));
    if (!key) {
        Rollback();
        return;
    }
    bool written = false;
    {
        Statement write(db_,
                        "INSERT INTO reg_values(key_id, name, value) VALUES(?1, ?2, ?3) "
                        "ON CONFLICT(key_id, name) DO UPDATE SET value = excluded.value");
        if (Ok(write.Prepared(), "cannot be written")) {
            write.Bind(1, *key);
            write.Bind(2, valueName);
            if (const bool* b = std::get_if<bool>(&value))
                sqlite3_bind_int(*write, 3, *b ? 1 : 0);
            else if (const int* i = std::get_if<int>(&value))
                sqlite3_bind_int(*write, 3, *i);
            else if (const double* d = std::get_if<double>(&value))
                sqlite3_bind_double(*write, 3, *d);
            else
                write.Bind(3, std::get<std::string>(value));
            written = Ok(write.Step(), "cannot be written");
        }
    }
    if (written)
        Commit();
    else
        Rollback();
}

bool SettingsStore::KeyExists(const std::string& subkey)
{
    return db_ && FindKey(PathTo(SplitKeyPath(subkey))).has_value();
}

void SettingsStore::GetKeyNames(const std::string& subkey, std::vector<std::string>& names)
{
    if (!db_ || !MayRead())
        return;
    const std::optional<KeyId> key = FindKey(PathTo(SplitKeyPath(subkey)));
    if (!key)
        return;
    Statement list(db_, "SELECT name FROM reg_keys WHERE parent = ?1 ORDER BY name");
    if (!Ok(list.Prepared(), "cannot be read"))
        return;
    list.Bind(1, *key);
    std::vector<std::string> found;
    int rc;
    while ((rc = list.Step()) == SQLITE_ROW)
        found.push_back(list.Text(0));
    if (Ok(rc, "cannot be read"))
        names = std::move(found);
}

bool SettingsStore::DeleteKey(const std::string& subkey)
{
    // An empty subkey would name the whole base key: refuse rather than wipe
    // every setting through a blank name.
    const std::vector<std::string> pieces = SplitKeyPath(subkey);
    if (!db_ || !MayWrite() || pieces.empty())
        return false;
    if (!BeginWrite())
        return false;
    const std::optional<KeyId> key = FindKey(PathTo(pieces));
    if (!key) {
        Rollback();
        return false;
    }
    bool deleted = false;
    {
        static constexpr const char* Subtree =
            "WITH RECURSIVE subtree(id) AS (SELECT ?1 UNION ALL "
            "SELECT reg_keys.id FROM reg_keys JOIN subtree ON reg_keys.parent = subtree.id) ";
        const std::string deleteValues =
            std::string(Subtree) + "DELETE FROM reg_values WHERE key_id IN (SELECT id FROM subtree)";
        const std::string deleteKeys =
            std::string(Subtree) + "DELETE FROM reg_keys WHERE id IN (SELECT id FROM subtree)";
        Statement values(db_, deleteValues.c_str());
        Statement keys(db_, deleteKeys.c_str());
        if (Ok(values.Prepared(), "cannot be written") && Ok(keys.Prepared(), "cannot be written")) {
            values.Bind(1, *key);
            keys.Bind(1, *key);
            deleted = Ok(values.Step(), "cannot be written") && Ok(keys.Step(), "cannot be written");
        }
    }
    if (!deleted) {
        Rollback();
        return false;
    }
    return Commit();
}

}  // namespace meldora

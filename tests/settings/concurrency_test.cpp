// Two copies of the program sharing one settings database must lose no write.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "support/temp_home.h"

namespace meldora {
namespace {

constexpr int Writes = 150;

std::string Name(int n, const std::string& writer) { return "Shared\\K" + std::to_string(n) + "\\" + writer; }

int CountLost(SettingsStore& store, const std::string& writer)
{
    int lost = 0;
    for (int n = 0; n < Writes; ++n)
        lost += store.ReadInt(Name(n, writer), -1) != n;
    return lost;
}

// Both writers create the same keys "Shared\Kn" in the same order, racing each
// other to every key, and both create the database and its tables at once.
TEST(ConcurrencyTest, TwoProcessesWritingAtOnceLoseNothing)
{
    test::TempHome home;
    const std::string db = (home.Dir / "meldora.db").string();
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    const std::string writer = child == 0 ? "Child" : "Parent";
    if (child == 0) {
        char go;
        close(start[1]);
        if (read(start[0], &go, 1) != 1)
            _exit(3);
    } else {
        close(start[0]);
        ASSERT_EQ(write(start[1], "x", 1), 1);
        close(start[1]);
    }
    SettingsStore store(db);
    for (int n = 0; n < Writes; ++n)
        store.WriteValue(Name(n, writer), n);
    if (child == 0)
        _exit(store.IsOpen() && CountLost(store, "Child") == 0 ? 0 : 2);

    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    SettingsStore reader(db);
    EXPECT_EQ(CountLost(reader, "Parent"), 0);
    EXPECT_EQ(CountLost(reader, "Child"), 0);
    std::vector<std::string> keys;
    reader.GetKeyNames("Shared", keys);
    EXPECT_EQ(keys.size(), static_cast<std::size_t>(Writes));
}

// Runs body in a child process and gives its exit code; the child ends with
// _exit, as a killed program would.
template <typename Body>
int InChild(Body body)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(body());
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// A file dialog opens and closes the database file inside the program, which
// drops every lock the process holds on it; another copy then starts and ends.
// A write made after that must still be there once the program is killed.
TEST(ConcurrencyTest, AWriteAfterAnInProcessOpenAndCloseOfTheFileSurvivesAnotherCopyAndAKill)
{
    test::TempHome home;
    const std::string db = (home.Dir / "meldora.db").string();
    int toOther[2];
    int fromOther[2];
    ASSERT_EQ(pipe(toOther), 0);
    ASSERT_EQ(pipe(fromOther), 0);
    const pid_t other = fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        char go;
        if (read(toOther[0], &go, 1) != 1)
            _exit(3);
        {
            SettingsStore copy(db);
            copy.WriteValue("Other\\Seen", copy.ReadInt("Rules\\Value", -1));
        }
        _exit(write(fromOther[1], "x", 1) == 1 ? 0 : 3);
    }

    const int program = InChild([&] {
        // Never closed: the program is killed with the store open.
        auto* store = new SettingsStore(db);
        store->WriteValue("Rules\\Value", 1);
        close(open(db.c_str(), O_RDONLY));
        char done;
        if (write(toOther[1], "x", 1) != 1 || read(fromOther[0], &done, 1) != 1)
            return 3;
        store->WriteValue("Rules\\Value", 2);
        return 0;
    });
    ASSERT_EQ(program, 0);
    int status = 0;
    ASSERT_EQ(waitpid(other, &status, 0), other);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);

    EXPECT_EQ(InChild([&] { return SettingsStore(db).ReadInt("Rules\\Value", -1); }), 2);
    EXPECT_EQ(InChild([&] { return SettingsStore(db).ReadInt("Other\\Seen", -1); }), 1);
}

}  // namespace
}  // namespace meldora

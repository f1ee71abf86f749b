// Two copies of the program sharing one settings database must lose no write.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "settings/registry_enhanced.h"
#include "support/temp_home.h"

namespace meldora {
namespace {

constexpr int Writes = 150;

// Every writer creates the same keys "Shared\Kn" in the same order, racing the
// other writer to each key, and puts its own value into it.
void WriteAll(TRegistryEnhanced& store, const std::string& writer)
{
    for (int n = 0; n < Writes; ++n)
        store.WriteValue("Shared\\K" + std::to_string(n) + "\\" + writer, n);
}

int CountLost(TRegistryEnhanced& store, const std::string& writer)
{
    int lost = 0;
    for (int n = 0; n < Writes; ++n)
        lost += store.ReadInt("Shared\\K" + std::to_string(n) + "\\" + writer, -1) != n;
    return lost;
}

TEST(ConcurrencyTest, TwoStoresInOneProcessInterleave)
{
    test::TempHome home;
    const std::string db = (home.Dir / "meldora.db").string();
    TRegistryEnhanced a(db), b(db);
    for (int n = 0; n < Writes; ++n) {
        a.WriteValue("Shared\\K" + std::to_string(n) + "\\A", n);
        b.WriteValue("Shared\\K" + std::to_string(n) + "\\B", n);
    }
    TRegistryEnhanced reader(db);
    EXPECT_EQ(CountLost(reader, "A"), 0);
    EXPECT_EQ(CountLost(reader, "B"), 0);
    std::vector<std::string> keys;
    reader.GetKeyNames("Shared", keys);
    EXPECT_EQ(keys.size(), static_cast<std::size_t>(Writes));
}

TEST(ConcurrencyTest, TwoProcessesWritingAtOnceLoseNothing)
{
    test::TempHome home;
    const std::string db = (home.Dir / "meldora.db").string();
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        char go;
        close(start[1]);
        if (read(start[0], &go, 1) != 1)
            _exit(3);
        TRegistryEnhanced store(db);
        WriteAll(store, "Child");
        _exit(store.IsOpen() && CountLost(store, "Child") == 0 ? 0 : 2);
    }
    // Both copies create the database and its tables at the same moment.
    close(start[0]);
    ASSERT_EQ(write(start[1], "x", 1), 1);
    close(start[1]);
    TRegistryEnhanced store(db);
    ASSERT_TRUE(store.IsOpen()) << store.OpenError();
    WriteAll(store, "Parent");

    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    TRegistryEnhanced reader(db);
    EXPECT_EQ(CountLost(reader, "Parent"), 0);
    EXPECT_EQ(CountLost(reader, "Child"), 0);
    std::vector<std::string> keys;
    reader.GetKeyNames("Shared", keys);
    EXPECT_EQ(keys.size(), static_cast<std::size_t>(Writes));
}

}  // namespace
}  // namespace meldora

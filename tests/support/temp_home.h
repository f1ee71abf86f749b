// A fresh temporary folder set as MELDORA_HOME for the life of a test, removed afterwards.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace meldora::test {

class TempHome {
public:
    TempHome()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "meldora-test-XXXXXX").string();
        Dir = mkdtemp(pattern.data());
        setenv("MELDORA_HOME", Dir.c_str(), 1);
    }
    ~TempHome()
    {
        unsetenv("MELDORA_HOME");
        std::error_code ec;
        std::filesystem::remove_all(Dir, ec);
    }
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    std::filesystem::path Dir;
};

inline void WriteFile(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace meldora::test

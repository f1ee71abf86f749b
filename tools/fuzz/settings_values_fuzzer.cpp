// Stores hostile values of every kind under the settings the game reads, then
// reads them back typed, as the program does at start-up. A typed read of a
// value that does not fit must give a value, never a crash or undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/memory_settings.h"
#include "core/rule_options.h"
#include "settings/setting_keys.h"

using namespace meldora;

namespace {

// Reads the input front to back; past its end every read gives zeros.
class InputBytes {
public:
    InputBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return pos_ >= size_; }
    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    template <typename T>
    T Raw()
    {
        T value{};
        const std::size_t n = std::min(sizeof(T), size_ - std::min(pos_, size_));
        std::memcpy(&value, data_ + std::min(pos_, size_), n);
        pos_ += n;
        return value;
    }
    std::string Text()
    {
        const std::size_t length = std::min<std::size_t>(Byte(), size_ - std::min(pos_, size_));
        std::string text(reinterpret_cast<const char*>(data_ + pos_), length);
        pos_ += length;
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

SettingValue HostileValue(InputBytes& in)
{
    switch (in.Byte() % 5) {
    case 0:
        return std::monostate{};
    case 1:
        return in.Byte() % 2 == 1;
    case 2:
        return in.Raw<int>();
    case 3:
        return in.Raw<double>();  // any bit pattern: NaN, infinities, denormals, huge values
    default:
        return in.Text();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    InputBytes in(data, size);
    MemorySettings store;
    std::vector<std::string> names{keys::Version.Name, keys::Delay.Name,   keys::Sound.Name,
                                   keys::Level.Name,   keys::Resolution.Name, keys::CardSpeed.Name};
    for (const char* rule : RuleOptionKeys)
        names.emplace_back(rule);
    for (const std::string& name : names)
        if (!in.Empty())
            store.WriteValue(name, HostileValue(in));

    for (const std::string& name : names) {
        store.ReadInt(name, 7);
        store.ReadBool(name, true);
        store.ReadString(name, "default");
    }
    Read(store, keys::Delay);
    Read(store, keys::Sound);
    Read(store, keys::Level);
    const RuleOptions rules = LoadRuleOptions(store);
    // The rules allow one or two of each; anything else would break the game.
    if (rules.NumberOfCanastas < 1 || rules.NumberOfCanastas > 2 || rules.NumberOfCards < 1 || rules.NumberOfCards > 2)
        __builtin_trap();
    return 0;
}

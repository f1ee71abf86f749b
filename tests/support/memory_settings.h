// Settings in memory for tests; RecordingSettings also lists the names written.
#pragma once

#include <string>
#include <vector>

#include "core/memory_settings.h"

namespace meldora::test {

using meldora::MemorySettings;

class RecordingSettings : public MemorySettings {
public:
    std::vector<std::string> Written;
    void WriteValue(const std::string& name, const SettingValue& value) override
    {
        Written.push_back(name);
        MemorySettings::WriteValue(name, value);
    }
};

}  // namespace meldora::test

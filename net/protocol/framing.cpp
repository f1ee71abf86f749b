#include "net/protocol/framing.h"

#include <algorithm>

namespace meldora::net {

std::string_view CutAtCharacter(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    std::size_t end = maxBytes;
    // Step back over continuation bytes (10xxxxxx) to the start of the cut character.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

std::string FrameMessage(std::string_view token, std::string_view payload)
{
    std::string message(token);
    message += FieldSeparator;
    const std::size_t room = MaxMessageBytes > message.size() + 1 ? MaxMessageBytes - message.size() - 1 : 0;
    message += CutAtCharacter(payload, room);
    message += MessageEnd;
    return message;
}

std::string JoinFields(std::initializer_list<std::string_view> fields)
{
    std::string joined;
    bool first = true;
    for (std::string_view field : fields) {
        if (!first)
            joined += FieldSeparator;
        first = false;
        joined += field;
    }
    return joined;
}

std::string ReadField(std::string& message)
{
    const std::size_t end = message.find_first_of(std::string{FieldSeparator, MessageEnd});
    if (end == std::string::npos) {
        std::string whole = std::move(message);
        message.clear();
        return whole;
    }
    std::string field = message.substr(0, end);
    message.erase(0, end + 1);
    return field;
}

bool IsWellFormedToken(std::string_view token)
{
    return !token.empty() && std::all_of(token.begin(), token.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

int ReadSmallNumber(std::string_view field)
{
    if (field.empty() || field.size() > 3)
        return -1;
    int value = 0;
    for (char c : field) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace meldora::net

// How messages travel between the two copies of a network game: a token name,
// a separator byte, the fields separated by the same byte, and a terminator
// byte, 255 bytes at most. Text fields are UTF-8, which never contains the
// two framing bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/table_host.h"

namespace meldora::net {

inline constexpr char FieldSeparator = MessageFieldSeparator;
inline constexpr char MessageEnd = '\xFF';
inline constexpr std::size_t MaxMessageBytes = 255;

// The longest prefix of text of at most maxBytes bytes that does not end inside
// a UTF-8 character.
std::string_view CutAtCharacter(std::string_view text, std::size_t maxBytes);

// token, separator, payload and terminator; the payload is cut (at a character
// boundary) so that the whole message stays within MaxMessageBytes.
std::string FrameMessage(std::string_view token, std::string_view payload);

// Joins fields with the separator.
std::string JoinFields(std::initializer_list<std::string_view> fields);

// Removes the first field of a message and the separator or terminator after
// it, and returns the field. A message without either byte is returned whole.
std::string ReadField(std::string& message);

// A token name: one or more upper-case ASCII letters.
bool IsWellFormedToken(std::string_view token);

// A plain decimal number of at most three digits, as the messages carry card
// ids and columns; -1 when the field is anything else.
int ReadSmallNumber(std::string_view field);

}  // namespace meldora::net

// The scrambled text container that wraps the key list: the payload sits
// between a start and an end marker, line breaks escaped as "&r&n", and every
// pair of adjacent bytes swapped.
#pragma once

#include <string>
#include <string_view>

namespace ostravion {

inline constexpr std::string_view kContainerStart = "Ostravion 3.0 Format Data S";
inline constexpr std::string_view kContainerEnd = "Ostravion 3.0 Format Data E";
inline constexpr std::string_view kContainerTerminator = "@~@";
inline constexpr std::string_view kContainerLineBreak = "&r&n";

// The payload of a container's text (cut at its first NUL by the caller), line
// breaks restored to CR LF. Never fails: malformed input gives a short or
// empty payload.
std::string UnscrambleText(std::string_view container);

// The container bytes for a payload (lines separated by CR LF). Returns false
// and leaves `out` empty when the payload cannot survive the round trip: it
// holds a NUL, the terminator, a marker or the escape itself.
bool ScrambleText(std::string_view payload, std::string& out);

} // namespace ostravion

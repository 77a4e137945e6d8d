// The system's own message texts about files and names, each defined once:
// every reader, writer and face shows these.
#pragma once

namespace ostravion::msg {

inline constexpr const char* kBadPath = "File is Bad Path...";
inline constexpr const char* kBadNamed = "File is Bad Named...";
inline constexpr const char* kBadPathOrParam = "File is Bad Path or Bad Function paramater...";
inline constexpr const char* kWriteFileOpenError = "Write File Open Error...!!";
inline constexpr const char* kResultFileOpenError = "Result File Open Error...";

} // namespace ostravion::msg

// The desktop program's arguments as they are checked before any window or
// folder is made: a request for the usage or the version, or an argument
// the program cannot use, told in Korean.
#pragma once

#include "desktop/DesktopFlows.h"
#include "ports/Ports.h"

#include <functional>
#include <string>
#include <vector>

namespace ostravion::desktop {

struct ProgramRequest {
    enum class Kind { Run, Help, Version, Bad };
    Kind kind = Kind::Run;
    std::string message; // Bad: what is wrong, CP949
};

// The arguments after the program's name, UTF-8. "--help" (or "-h", "/?")
// and "--version" answer whatever else is given, the first of them first;
// an option with two dashes the program does not know, or "--drive" and
// "--app-paths" without their value, is refused.
ProgramRequest CheckProgramArguments(const std::vector<std::string>& arguments,
                                     const TextCodec& codec);

// The usage that "--help" shows, CP949, lines ended by "\n": on a terminal
// with the descriptions in a column, in a message box (proportional type)
// each option with its description on one line.
enum class UsageLayout { Terminal, MessageBox };
std::string ProgramUsage(const std::string& programName, UsageLayout layout);

// Applies the drives and the applications list of a command line;
// false when they cannot be used.
using ScanStandInsSetter =
    std::function<bool(const std::vector<std::string>& driveMap, const std::string& appPaths)>;

// Applies the command line's drives and applications list with `apply`:
// empty when they can be used, else the Korean message (CP949) naming the
// argument that cannot.
std::string ApplyScanStandIns(const DesktopCommandLine& commandLine, const TextCodec& codec,
                              const ScanStandInsSetter& apply);

// Said, without a window, when there is no screen to open one on.
std::string NoDisplayMessage();

} // namespace ostravion::desktop

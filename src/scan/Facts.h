// The texts that describe an inspected PC.
#pragma once

#include "ports/Ports.h"
#include "util/Types.h"

#include <string>

namespace ostravion {

// "Intel Pentinum Pro or Pentium II Revision 806" and the like.
std::string CpuDescription(const ProcessorFacts& p);

// The operating-system string that decides whether an "OS" entry of the key
// list applies ("WindowsXP(Pro)", "Windows2000-Server", ...); possibly empty.
// The old-system path shows the version number in a message box.
std::string OsVersionString(const OsVersionFacts& v, MessagePort& messages);

// "%d-%d-%d, %d:%d " (year, month, day, hour, minute, a trailing blank).
std::string ScanTimeText(const LocalTime& t);

// Group, computer name, user and model of this PC, with the scan time now.
// `resultName` stands in for the computer name, as the start dialog's result
// file name does.
PcFacts GatherPcFacts(const SystemInfo& sys, const Clock& clock, const std::string& group,
                      const std::string& resultName);

} // namespace ostravion

// What a Windows installation tells about its PC through its own registry
// hives, read as the Windows program's queries would answer on that PC.
#pragma once

#include "platform/disk/RegistryHive.h"
#include "ports/Ports.h"

#include <string>
#include <unordered_set>

namespace ostravion::disk {

struct WindowsFacts {
    std::string computerName; // CP949; empty when the hive does not say
    std::string userName;     // CP949; empty when the hive does not say
    // Architecture 0xFFFF ("Other") and not known when the hive does not say.
    ProcessorFacts processor{0xFFFF, 0, 0, false};
    OsVersionFacts os; // nothing available when the hive does not say
    // The App Paths sub-keys of both registry views, upper-cased CP949.
    std::unordered_set<std::string> appPaths;
};

// Facts from the SYSTEM and SOFTWARE hives, either of which may be missing:
//   computer name  SYSTEM Select\Current -> ControlSet00N\Control\ComputerName\ComputerName
//   user           SOFTWARE ...\Authentication\LogonUI LastLoggedOnUser (after the last "\")
//   processor      SYSTEM ControlSet00N\Control\Session Manager\Environment PROCESSOR_*
//   OS version     SOFTWARE Microsoft\Windows NT\CurrentVersion, SYSTEM ...\ProductOptions
//   App Paths      SOFTWARE [WOW6432Node\]Microsoft\Windows\CurrentVersion\App Paths
WindowsFacts ReadWindowsFacts(const RegistryHive* system, const RegistryHive* software,
                              const TextCodec& codec);

// PROCESSOR_ARCHITECTURE's text as GetSystemInfo's number ("AMD64" is 9);
// 0xFFFF for a text it has no number for.
unsigned ArchitectureNumber(const std::string& name);

} // namespace ostravion::disk

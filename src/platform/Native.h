// The ports of the machine the program runs on, made once at start-up.
#pragma once

#include "ports/Ports.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ostravion {

// What a scan reads on this machine, where the user may choose it.
struct ScanSetup {
    // "C=/mnt/win" or "D=Z:\\tree": walk that folder as the drive C: (D:)
    // instead of the machine's own drives (the mounted file systems on Linux,
    // the fixed drives on Windows). Relative folders start at the current one.
    std::vector<std::string> driveMap;
    // A file naming the registered applications, one per line, UTF-8, in
    // place of App Paths (which Linux has none of). Paths are UTF-8.
    std::string appPathsFile;
    // The recovery password of BitLocker volumes on the disks given as
    // drives (48 digits, with or without the dashes).
    std::string recoveryPassword = {};
};

struct NativePlatform {
    virtual ~NativePlatform() = default;
    virtual TextCodec& Codec() = 0;
    virtual FileSystem& Files() = 0;
    virtual SystemInfo& System() = 0;
    virtual Clock& LocalClock() = 0;
    virtual VersionStrings& Versions() = 0;
    virtual FileSearch& Search() = 0;
    virtual Drives& DriveList() = 0;
    virtual AppPaths& Apps() = 0;

    // Applies the user's choices; false with a reason when one cannot be
    // used. A system that reads its own drives and App Paths takes none.
    virtual bool ConfigureScan(const ScanSetup& setup, std::string& error) {
        if (setup.driveMap.empty() && setup.appPathsFile.empty() && setup.recoveryPassword.empty())
            return true;
        error = "이 시스템에서는 --drive 와 --app-paths 를 쓰지 않습니다";
        return false;
    }
    // What the last ConfigureScan took but warns of (UTF-8).
    virtual std::vector<std::string> ScanWarnings() const { return {}; }
    // Creation dates of files and the priority of threads; none where the
    // system offers no such thing.
    virtual const FileDates* Dates() { return nullptr; }
    virtual ThreadControl* Threads() { return nullptr; }
    // The text the listing of `folder` (CP949) gives the file whose own name
    // is `name` (UTF-8, as the command line gives it), so that a name with
    // no CP949 form, decomposed Hangul or raw CP949 bytes is opened as it is
    // on disk; empty where the folder holds no such file or the system
    // needs no such look-up.
    virtual std::string ListedFileText(const std::string& folder, const std::string& name) {
        (void)folder;
        (void)name;
        return std::string();
    }
};

std::unique_ptr<NativePlatform> MakeNativePlatform();

// The program's arguments in UTF-8, its name first: on Windows taken from the
// wide command line (the ANSI one has lost what CP949 lacks), elsewhere as given.
std::vector<std::string> ArgumentsAsUtf8(int argc, char** argv);

// Standard output and error write bytes as they are (Windows would turn LF
// into CR LF); nothing to do elsewhere.
void SetStandardStreamsBinary();

// The program's text on its standard streams. While the returned object
// lives, std::cout and std::cerr take UTF-8 text and hand it on as the
// reader of each stream reads it: on Windows a console gets it through
// WriteConsoleW (Korean reads right whatever the console's code page), a
// redirected stream (file, pipe) in the console's output code page, or in
// the ANSI code page when there is no console (CP949 on a Korean PC); with
// `utf8` every stream gets the UTF-8 as it is. Elsewhere the UTF-8 goes out
// as it is. LF stays LF. When the object goes, what is pending is written
// and the streams are put back.
class StandardText {
public:
    virtual ~StandardText() = default;
};
std::unique_ptr<StandardText> TakeStandardStreams(bool utf8);

// Bytes for standard output that are no text of the program's (a file's
// payload), written as they are after any pending text. False when they
// could not all be written.
bool WriteStandardOutputBytes(const std::string& bytes);

// True when the standard error stream is a terminal (progress may redraw a line).
bool StderrIsTerminal();
// The width of that terminal in columns; 0 when it cannot tell.
int StderrColumns();

// Whether a lock key is on, as the keyboard's lights show it; false when the
// system cannot tell.
enum class LockKey { Caps, Num, Scroll };
bool LockKeyOn(LockKey key);

// Reads the whole file `path` (UTF-8, as the command line gives it): false
// when it cannot be opened, is anything but a plain file (a pipe is never
// waited on), or is larger than kMaxWholeFileBytes or memory.
bool ReadNativeFile(const std::string& path, std::string& bytes);

// Moves the file `from` onto `to`, replacing a file there in one step (the
// system's rename, after the new bytes are synced to the disk; MoveFileEx with
// MOVEFILE_REPLACE_EXISTING and MOVEFILE_WRITE_THROUGH on Windows).
// Both are paths as the command line gives them, in UTF-8. False when it fails.
bool RenameNativeFile(const std::string& from, const std::string& to);

// Makes the file `path` (UTF-8, as the command line gives it) anew for
// writing, for a file the program writes beside one the user named: a file
// or link of that name is removed first (the link itself, never what it
// leads to) and the file is created exclusively, never through a link. Null
// when it cannot be made.
std::unique_ptr<OutFile> CreateNativeFile(const std::string& path);

// Replaces the file `path` (UTF-8) that the user named, never in place: the
// writer fills its replacement beside it (made anew by CreateNativeFile and
// handed over open, with its path for writers that write by name, such as a
// printer), which then moves onto `path`. A failed write or move leaves an
// earlier file as it was and removes the new one; false then.
using NativeReplacementWriter =
    std::function<bool(std::unique_ptr<OutFile> out, const std::string& freshPath)>;
bool ReplaceNativeFile(const std::string& path, const NativeReplacementWriter& write);

} // namespace ostravion

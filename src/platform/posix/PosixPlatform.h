// Linux implementations of the ports.
#pragma once

#include "platform/pe/PeVersion.h"
#include "ports/Ports.h"

#include <ctime>
#include <mutex>
#include <string>
#include <unordered_map>

namespace ostravion::posix {

// CP949 <-> UTF-8 through iconv.
class IconvCodec final : public TextCodec {
public:
    std::string ToUtf8(const std::string& cp949) const override;
    std::string FromUtf8(const std::string& utf8) const override;
};

// UTF-16 to CP949 as the Korean Windows converts version strings: unit by
// unit through iconv, then the look-alikes Windows uses for characters CP949
// lacks ("\u00E9" as "e"), "?" for the rest. The table of all 65536 units is
// made once, on first use.
class IconvUtf16ToCp949 final : public pe::Utf16ToAnsi {
public:
    std::string Convert(std::u16string_view units) const override;
};

// Brings the bytes written to the file `path` (a native path) onto the disk
// before it is moved onto another; false when the flush fails, or when the
// name is a link or anything but a plain file, which is never moved into a
// file's place (a file that cannot be opened is left as it is).
bool SyncFile(const std::string& path);

// Moves the file `from` onto `to` (native paths) once its bytes are on the
// disk (SyncFile), and checks that `to` then holds that very file: a link
// put in its place in the meantime fails the move (false) and is removed.
bool MoveSyncedFile(const std::string& from, const std::string& to);

// Makes the file `path` (a native path) anew for writing, never through a
// link: a file or link of that name is removed first (the link itself, not
// what it leads to), then the file is created exclusively. Null when it
// cannot be made.
std::unique_ptr<OutFile> CreateNewFile(const std::string& path);

// Makes the file `path` (a native path) only when nothing has that name:
// O_CREAT|O_EXCL|O_NOFOLLOW, nothing removed. Null when the name is taken or
// the file cannot be made.
std::unique_ptr<OutFile> CreateExclusiveFile(const std::string& path);

// Opens the plain file `path` (a native path) at its end for writing, making
// it when missing. A link, a file that has other names too (a hard link),
// and anything but a plain file are refused: null, as when it cannot be opened.
std::unique_ptr<OutFile> OpenForAppending(const std::string& path);

// Opens the file `path` (a native path) for reading when it is a plain file,
// without waiting on a pipe or a device and not through a link at its name;
// -1 otherwise.
int OpenPlainFile(const std::string& path);

// The whole plain file `path` (a native path), of at most `limit` bytes;
// false as for FileSystem::ReadWhole.
bool ReadPlainFile(const std::string& path, std::string& bytes,
                   std::uint64_t limit = kMaxWholeFileBytes);

// Makes a rename into the folder of `path` (a native path) last through a
// power cut; best effort, as some file systems cannot sync a folder.
void SyncParentFolder(const std::string& path);

// Paths are CP949 texts in which the backslash (and the slash) separate folders.
class PosixFileSystem final : public FileSystem {
public:
    explicit PosixFileSystem(const TextCodec& codec) : codec_(codec) {}
    PathRules Rules() const override { return {true, true}; }
    bool ReadWhole(const std::string& path, std::string& bytes) const override;
    std::unique_ptr<InFile> OpenRead(const std::string& path) const override;
    bool Exists(const std::string& path) const override;
    std::unique_ptr<OutFile> OpenWrite(const std::string& path, bool append) override;
    bool Remove(const std::string& path) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool ReplaceKeepingBackup(const std::string& from, const std::string& to,
                              const std::string& backup) override;
    bool PutBack(const std::string& backup, const std::string& to) override;
    bool MakeDirectory(const std::string& path) override;
    bool IsDirectory(const std::string& path) const override;
    bool IsLink(const std::string& path) const override;
    bool ListFiles(const std::string& folder, std::vector<std::string>& names) const override;
    std::string CurrentDirectory() const override;
    bool SetCurrentDirectory(const std::string& path) override;
    // Shared folders (PosixShared.cpp).
    std::unique_ptr<OutFile> CreateExclusive(const std::string& path) override;
    bool RenameNoReplace(const std::string& from, const std::string& to) override;
    WriterFacts Writer() const override;
    bool ProcessRunning(std::uint64_t process) const override;
    std::uint32_t RandomNumber() override;
    void Pause(int milliseconds) override;
    LocalTime LockTime() const override;
    FileStamp Stamp(const std::string& path) const override;

    // The UTF-8 path the system call takes for a CP949 path text; a text
    // that ListFiles gave for a name it cannot convert back leads to that
    // name as it is on disk.
    std::string NativePath(const std::string& path) const;

    // A file name of a listing as CP949 text: UTF-8 (decomposed Hangul
    // composed) converted, anything else taken as CP949 bytes already.
    std::string ListedName(const std::string& nativeName) const;

private:
    std::string PlainNativePath(const std::string& path) const;

    const TextCodec& codec_;
    mutable std::mutex aliasMutex_;
    mutable std::unordered_map<std::string, std::string> aliases_;
};

// NTFS's time (8 bytes, little-endian: 100 ns units since 1601) as seconds
// since 1970.
std::time_t NtfsTimeToUnix(const unsigned char* le);

// Birth time through statx where the file system records it, else the
// creation time ntfs-3g offers as "system.ntfs_crtime", else the
// modification time.
class PosixFileDates final : public FileDates {
public:
    explicit PosixFileDates(const PosixFileSystem& files) : files_(files) {}
    bool Created(const std::string& path, LocalTime& out) const override;

private:
    const PosixFileSystem& files_;
};

// Thread priority through the thread's nice value.
class PosixThreads final : public ThreadControl {
public:
    void LowerCurrentThread() override;
};

class PosixSystemInfo final : public SystemInfo {
public:
    explicit PosixSystemInfo(const TextCodec& codec) : codec_(codec) {}
    std::string ComputerName() const override;
    std::string UserName() const override;
    ProcessorFacts Processor() const override;
    // Linux has no Windows version: nothing is available, so the string is empty.
    OsVersionFacts OsVersion() const override { return {}; }

private:
    const TextCodec& codec_;
};

class SystemClock final : public Clock {
public:
    LocalTime Now() const override;
};

// Processor facts as Windows reports them, from /proc/cpuinfo text.
ProcessorFacts ProcessorFromCpuInfo(const std::string& cpuinfo, const std::string& machine);

} // namespace ostravion::posix

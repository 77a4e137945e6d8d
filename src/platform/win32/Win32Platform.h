// Windows implementations of the ports. The system's own files are named by
// CP949 texts, as the core holds them; the walk, version reading, file dates
// and the listing of the work folder go through the wide calls, so that no
// file is missed for its name.
#pragma once

#include "platform/pe/PeVersion.h"
#include "ports/Ports.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace ostravion::win32 {

// The code page of every text inside the system.
constexpr unsigned kCodePage = 949;

// Makes the file `path` anew for writing, never through a link: a file or a
// reparse point (symbolic link, junction) of that name is removed first (the
// link itself, not what it leads to), then the file is made with CREATE_NEW.
// Null when it cannot be made.
std::unique_ptr<OutFile> CreateNewFile(const std::wstring& path);

// Reads the whole plain file `path`; false as for FileSystem::ReadWhole.
bool ReadWholeFile(const std::wstring& path, std::string& bytes);

// Opens the plain file `path` at its end for writing, making it when missing.
// A reparse point, a folder and a file that has other names too (a hard
// link) are refused: null, as when it cannot be opened.
std::unique_ptr<OutFile> OpenForAppending(const std::wstring& path);

// CP949 <-> UTF-8 through UTF-16; a character without a CP949 form becomes "?".
class Win32Codec final : public TextCodec {
public:
    std::string ToUtf8(const std::string& cp949) const override;
    std::string FromUtf8(const std::string& utf8) const override;
};

// Paths are handed to the system as given. The system takes "/" for a folder
// separator as it takes the backslash, so a name with either one is no plain
// file name: "../x" would otherwise leave the work folder.
class Win32FileSystem final : public FileSystem {
public:
    PathRules Rules() const override { return {true, false}; }
    bool ReadWhole(const std::string& path, std::string& bytes) const override;
    std::unique_ptr<InFile> OpenRead(const std::string& path) const override;
    bool Exists(const std::string& path) const override;
    std::unique_ptr<OutFile> OpenWrite(const std::string& path, bool append) override;
    bool Remove(const std::string& path) override;
    bool Rename(const std::string& from, const std::string& to) override;
    // ReplaceFileW with the backup name; MoveFileExW puts the replaced file
    // back when the system moved it aside but could not move `from` in.
    bool ReplaceKeepingBackup(const std::string& from, const std::string& to,
                              const std::string& backup) override;
    bool PutBack(const std::string& backup, const std::string& to) override;
    bool MakeDirectory(const std::string& path) override;
    bool IsDirectory(const std::string& path) const override;
    bool IsLink(const std::string& path) const override;
    // Lists through the wide calls; a name without a CP949 form is given as
    // a text that opens it (ReadWhole, OpenRead, Exists) all the same.
    bool ListFiles(const std::string& folder, std::vector<std::string>& names) const override;
    std::string CurrentDirectory() const override;
    bool SetCurrentDirectory(const std::string& path) override;
    // Shared folders (Win32Shared.cpp).
    std::unique_ptr<OutFile> CreateExclusive(const std::string& path) override;
    bool RenameNoReplace(const std::string& from, const std::string& to) override;
    WriterFacts Writer() const override;
    bool ProcessRunning(std::uint64_t process) const override;
    std::uint32_t RandomNumber() override;
    void Pause(int milliseconds) override;
    LocalTime LockTime() const override;
    FileStamp Stamp(const std::string& path) const override;

private:
    // The file a path names for reading, a listed alias first (a HANDLE).
    void* OpenListed(const std::string& path) const;

    mutable std::mutex aliasMutex_;
    mutable std::map<std::string, std::wstring> aliases_;
};

// A file written through a handle opened for writing (a HANDLE), which it closes.
std::unique_ptr<OutFile> OutFileOnHandle(void* handle);

class Win32SystemInfo final : public SystemInfo {
public:
    std::string ComputerName() const override;
    std::string UserName() const override;
    ProcessorFacts Processor() const override;
    OsVersionFacts OsVersion() const override;
};

class Win32Clock final : public Clock {
public:
    LocalTime Now() const override;
};

// The creation time of a file, in local time.
class Win32FileDates final : public FileDates {
public:
    bool Created(const std::string& path, LocalTime& out) const override;
};

// The lowest thread priority, at which the walk leaves the machine responsive.
class Win32Threads final : public ThreadControl {
public:
    void LowerCurrentThread() override;
};

// FindFirstFileW / FindNextFileW over "<folder>\*.*", so that no name is
// missed: native paths are the UTF-8 of the wide ones, names are written in
// CP949 as the Linux program writes them. Folders are listed with their
// identity (volume serial number and file index), files with 0.
class Win32FileSearch final : public FileSearch {
public:
    // False also when the search finds nothing at all, as on an empty drive
    // root, where not even "." is reported.
    bool List(const std::string& nativeFolder, std::vector<DirEntry>& out) const override;
    ReadFault ListChecked(const std::string& nativeFolder,
                          std::vector<DirEntry>& out) const override;
    // The volume serial number and file index of the folder.
    bool Identify(const std::string& nativeFolder, std::uint64_t& device,
                  std::uint64_t& inode) const override;
    char NativeSeparator() const override { return '\\'; }
    bool ListsConcurrently(const std::string&) const override { return true; }

private:
    // `nothing`: the search found no entry at all, not even ".".
    ReadFault ListFolder(const std::string& nativeFolder, std::vector<DirEntry>& out,
                         bool& nothing) const;
};

// The letters c to z whose root is a fixed drive, or folders given as drives.
class Win32Drives final : public Drives {
public:
    // Walks the given folders as drive letters instead of the fixed drives:
    // "D=Z:\\tree" (or a folder relative to the current one) gives the drive
    // "D:\\". Letters C to Z, each once; the folder must exist and have a
    // name; any name will do, as the file search takes wide names. An empty
    // list goes back to the fixed drives. False with a reason otherwise,
    // leaving the drives as they were.
    bool SetMap(const std::vector<std::string>& items, std::string& error);
    std::vector<Drive> FixedDrives() const override;

private:
    std::vector<Drive> map_;
};

// HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths, in the 64-bit
// and the 32-bit registry view: Windows before 7 keeps the two apart
// (WOW6432Node), where most programs, being 32-bit, register; later ones
// share the key between the views.
class Win32AppPaths final : public AppPaths {
public:
    static constexpr const char* kKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
    // Another key below HKEY_LOCAL_MACHINE may stand in for it (tests).
    explicit Win32AppPaths(std::string key = kKey) : key_(std::move(key)) {}
    bool IsRegistered(const std::string& upperName) const override;

private:
    std::string key_;
};

// GetFileVersionInfoW on the native path (UTF-8 of the wide one) and
// VerQueryValueA, which hands the strings over as the ANSI call does.
class Win32VersionStrings final : public VersionStrings {
public:
    std::string Read(const std::string& nativePath, const std::string& name) const override;
    std::string ReadChecked(const std::string& nativePath, const std::string& name,
                            ReadFault& fault) const override;
};

// UTF-16 to the ANSI code page through WideCharToMultiByte, as the "A"
// version calls convert: for the portable version reader on Windows.
class Win32Utf16ToAnsi final : public pe::Utf16ToAnsi {
public:
    std::string Convert(std::u16string_view units) const override;
};

} // namespace ostravion::win32

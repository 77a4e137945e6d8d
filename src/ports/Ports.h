// The small layer through which the core reaches the operating system and the
// user. Every port is an abstract class: the Linux and Windows implementations
// live beside this header, tests supply fakes. All texts crossing a port are
// CP949 byte strings unless a member says otherwise.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ostravion {

// Message boxes and Yes/No questions. The caption is always the application title.
class MessagePort {
public:
    virtual ~MessagePort() = default;
    virtual void Show(const std::string& text) = 0;
    // True only when the answer is Yes.
    virtual bool Ask(const std::string& question) = 0;
    // A message that reports work done rather than warns ("저장되었습니다."):
    // the windows show it with the information icon.
    virtual void Inform(const std::string& text) { Show(text); }
};

// The status-bar progress bar, as the scan and long flows drive it.
class ProgressBar {
public:
    virtual ~ProgressBar() = default;
    virtual void SetRange32(int lower, int upper) = 0;
    virtual void GetRange(int& lower, int& upper) const = 0;
    virtual void SetStep(int step) = 0;
    // Advance by the step; past the upper bound the position starts again from the lower bound.
    virtual void StepIt() = 0;
    virtual void SetPos(int pos) = 0;
};

class ProgressFactory {
public:
    virtual ~ProgressFactory() = default;
    // A new bar showing the message text, range 0..100, step 1.
    virtual std::unique_ptr<ProgressBar> Create(const std::string& text) = 0;
};

// CP949 <-> UTF-8. A character without a CP949 form becomes "?".
class TextCodec {
public:
    virtual ~TextCodec() = default;
    virtual std::string ToUtf8(const std::string& cp949) const = 0;
    virtual std::string FromUtf8(const std::string& utf8) const = 0;
};

// A file opened for reading, read piece by piece.
class InFile {
public:
    virtual ~InFile() = default;
    // Replaces `bytes` by the next at most `max` bytes; empty at the end of the
    // file. False when the read fails.
    virtual bool Read(std::string& bytes, std::size_t max) = 0;
};

// A file opened for writing.
class OutFile {
public:
    virtual ~OutFile() = default;
    virtual bool Write(const std::string& bytes) = 0;
    // Flushes and closes; false when anything written was lost.
    virtual bool Close() = 0;
};

// How path texts are read on this system.
struct PathRules {
    bool slashIsSeparator = false; // "/" separates folders as the backslash does
    bool caseSensitive = false;    // file names differ by letter case
};

// The largest file read whole into memory. The system's files are far
// smaller; a larger one (a sparse file, a disk image under a result's name)
// is reported as unreadable rather than allowed to exhaust memory.
inline constexpr std::uint64_t kMaxWholeFileBytes = std::uint64_t{1} << 30;

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    int second = 0;
};

// Who is writing: this process as a lock file names it to others.
struct WriterFacts {
    std::string computer; // CP949, as the system names this computer
    std::string user;     // CP949
    std::string program;  // the program's file name ("ostravion-cli.exe")
    std::string system;   // "Windows" or "Linux": process numbers of one are not the other's
    std::uint64_t process = 0;
};

// What a file was when it was read: enough to notice that another writer
// replaced it since.
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t modified = 0; // in the system's own units; compared, never shown
    bool operator==(const FileStamp&) const = default;
};

// Files named by CP949 path texts in the system's own form (".\\CheckOut\\x.ipt").
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual PathRules Rules() const = 0;
    // The whole file; false when it cannot be opened, is anything but a
    // plain file (a pipe or a device is never waited on), is larger than
    // kMaxWholeFileBytes or does not fit in memory.
    virtual bool ReadWhole(const std::string& path, std::string& bytes) const = 0;
    // For reading in pieces; null when it cannot be opened or is anything
    // but a plain file.
    virtual std::unique_ptr<InFile> OpenRead(const std::string& path) const = 0;
    virtual bool Exists(const std::string& path) const = 0;
    // Opens one of the system's own files for writing, never through a link:
    // the work folder may be shared, and a link planted there must not carry
    // a write anywhere else. append=false makes the file anew: whatever has
    // the name (a file left by an interrupted run, or a link, which is
    // removed itself and never followed) gives way to a new empty file made
    // exclusively. append=true opens the file at its end, or makes it when
    // missing, and refuses a link and anything but a plain file. Null when
    // it cannot be opened.
    virtual std::unique_ptr<OutFile> OpenWrite(const std::string& path, bool append) = 0;
    virtual bool Remove(const std::string& path) = 0;
    // Replaces `to` by `from` in one step where the system can. A link in
    // the place of `from` is not moved (false): only a plain file replaces
    // another, as in ReplaceKeepingBackup.
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    // Moves `from` onto the existing file `to` as Rename does, and keeps the
    // file `to` named until then as `backup` (a file of that name is
    // replaced). False when `from` did not take `to`'s place: `to` then still
    // names its file (or, where even putting it back failed, `backup` does).
    virtual bool ReplaceKeepingBackup(const std::string& from, const std::string& to,
                                      const std::string& backup) = 0;
    // Moves the file kept as `backup` by ReplaceKeepingBackup back under its
    // name `to`, whatever it is: a total that was a link the user made is a
    // link again. False when it stays where it is.
    virtual bool PutBack(const std::string& backup, const std::string& to) {
        return Rename(backup, to);
    }
    virtual bool MakeDirectory(const std::string& path) = 0;
    // True when the path names a folder, or a link to one.
    virtual bool IsDirectory(const std::string& path) const = 0;
    // True when the name itself is a symbolic link (or another reparse
    // point), whatever it leads to. A system without links need not override it.
    virtual bool IsLink(const std::string& path) const {
        (void)path;
        return false;
    }
    // The names of the files (not folders) directly in a folder, in the order
    // the file system gives them. False when the folder cannot be listed.
    virtual bool ListFiles(const std::string& folder, std::vector<std::string>& names) const = 0;
    virtual std::string CurrentDirectory() const = 0;
    virtual bool SetCurrentDirectory(const std::string& path) = 0;

    // Shared work folders. Several writers (processes, computers, both
    // systems) may use one folder at once; these calls are what lock files
    // and temporaries are made with.

    // Makes a new empty file under `path` only when nothing has that name
    // (O_CREAT|O_EXCL; CREATE_NEW): nothing is removed and no link is
    // followed. Null when the name is taken or the file cannot be made.
    virtual std::unique_ptr<OutFile> CreateExclusive(const std::string& path) {
        if (Exists(path) || IsLink(path) || IsDirectory(path))
            return nullptr;
        return OpenWrite(path, false);
    }
    // Moves `from` to `to` only when `to` does not exist; false otherwise.
    virtual bool RenameNoReplace(const std::string& from, const std::string& to) {
        if (Exists(to) || IsLink(to))
            return false;
        return Rename(from, to);
    }
    // This process as a writer.
    virtual WriterFacts Writer() const { return {"PC", "user", "ostravion", "Linux", 1}; }
    // Whether a process of this computer and system is still running; true
    // when that cannot be told.
    virtual bool ProcessRunning(std::uint64_t process) const {
        (void)process;
        return true;
    }
    // A fresh random number for the names of temporaries.
    virtual std::uint32_t RandomNumber() {
        static std::uint32_t next = 0;
        return ++next;
    }
    // Waits about that many milliseconds (a writer waiting for a lock).
    virtual void Pause(int milliseconds) { (void)milliseconds; }
    // The local time now, for lock files.
    virtual LocalTime LockTime() const { return {}; }
    // Size and modification time of the file, without following a link at
    // its name; `exists` false when there is none.
    virtual FileStamp Stamp(const std::string& path) const {
        FileStamp s;
        std::string bytes;
        if (ReadWhole(path, bytes)) {
            s.exists = true;
            s.size = bytes.size();
        }
        return s;
    }
};

// Processor facts as Windows reports them.
struct ProcessorFacts {
    unsigned architecture = 0;
    unsigned level = 0;
    unsigned revision = 0;
    // False when nothing tells the processor (another PC's disk without a
    // readable SYSTEM hive): the PC model is then left empty, never made up.
    bool known = true;
};

// Operating-system version facts as Windows reports them.
struct OsVersionFacts {
    bool extendedAvailable = false; // product type and suite mask are valid
    bool plainAvailable = false;    // platform, major, minor, service-pack text are valid
    unsigned platform = 0;          // 0 Win32s, 1 Windows 9x, 2 NT
    unsigned major = 0;
    unsigned minor = 0;
    std::string servicePack;  // the service-pack text (CSD version)
    unsigned productType = 0; // 1 workstation, 2 domain controller, 3 server
    unsigned suiteMask = 0;
    // The ProductOptions "ProductType" registry value; unset when it cannot be read.
    bool productOptionsAvailable = false;
    std::string productOptions;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual std::string ComputerName() const = 0; // empty when the query fails
    virtual std::string UserName() const = 0;     // empty when the query fails
    virtual ProcessorFacts Processor() const = 0;
    virtual OsVersionFacts OsVersion() const = 0;
    // The disk audited in place of this PC ("C: /srv/win.img"), when the
    // drives and facts are read from one; empty for the PC itself.
    virtual std::string AuditedDisk() const { return std::string(); }
    // True when the facts are those of another PC's disk (its hives), so
    // that a fact they lack is missing, not this machine's.
    virtual bool FactsFromDisk() const { return false; }
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
};

// The threads the program starts.
class ThreadControl {
public:
    virtual ~ThreadControl() = default;
    // Lowers the calling thread's priority below normal, so that a long walk
    // leaves the machine responsive. Does nothing where the system cannot.
    virtual void LowerCurrentThread() = 0;
};

// When files were made.
class FileDates {
public:
    virtual ~FileDates() = default;
    // The local time at which the file named by the CP949 path text was made:
    // its birth time where the file system keeps one, else its last
    // modification. False when the file cannot be examined.
    virtual bool Created(const std::string& path, LocalTime& out) const = 0;
};

// Why a folder or a file met during a walk could not be read.
enum class ReadFault {
    None,
    Denied, // refused for access rights, as some folders of every PC are
    Failed, // anything else: a read error, a damaged folder or file
};

// Reads one string of a file's version resource (CompanyName, ProductVersion, ...).
class VersionStrings {
public:
    virtual ~VersionStrings() = default;
    // The value as the ANSI call returns it, before any cut at a line break;
    // empty when the file has no such value.
    virtual std::string Read(const std::string& nativePath, const std::string& name) const = 0;
    // As Read, and `fault` tells a file whose data could not be read apart
    // from one that has no such value. A reader that cannot tell need not
    // override it.
    virtual std::string ReadChecked(const std::string& nativePath, const std::string& name,
                                    ReadFault& fault) const {
        fault = ReadFault::None;
        return Read(nativePath, name);
    }
};

// File attributes as the Windows file search reports them.
enum FileAttribute : unsigned {
    kAttrReadOnly = 0x1,
    kAttrHidden = 0x2,
    kAttrSystem = 0x4,
    kAttrDirectory = 0x10,
    kAttrArchive = 0x20,
    kAttrReparsePoint = 0x400,
};

// One entry of a folder listing.
struct DirEntry {
    std::string name;       // CP949, as the ANSI file search reports it
    std::string nativeName; // as the system names it (UTF-8 on Linux, ANSI on Windows)
    std::uint64_t size = 0;
    // False when the listing left the size out because it costs an extra
    // query here; FileSearch::FileSize fetches it when it is needed.
    bool sizeKnown = true;
    unsigned attributes = 0; // FileAttribute bits
    // For folders: an identity (device and inode, or 0 and 0 when unknown), so
    // that a folder reached again through a link can be noticed, and a walk
    // can stay on one file system.
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    // A symbolic link or junction: listed, but never entered and never read
    // as what it leads to, as Windows' own tools list it and as a disk read
    // directly shows it.
    bool link = false;
};

// A folder a search keeps open after listing it, lent to the listings of its
// sub-folders so that they are opened by name rather than by whole path.
class HeldFolder {
public:
    virtual ~HeldFolder() = default;
};

// A folder a walk asks to list, with what the walk already knows of it.
struct ListRequest {
    explicit ListRequest(const std::string& folder) : native(folder) {}
    explicit ListRequest(std::string&&) = delete; // `native` would outlive it
    const std::string& native;                    // the folder, as ListChecked takes it
    const HeldFolder* parent = nullptr;           // its parent, still held by the parent's listing
    std::string_view name;                        // its native name in `parent`
    std::uint64_t device = 0; // its device as the parent's listing told it; 0: unknown
    // The files whose size the walk will need. A search that leaves sizes out
    // (DirEntry::sizeKnown) may fetch these while it lists.
    const std::function<bool(const DirEntry&)>* wantsSize = nullptr;
    bool hold = false; // hand the folder back held, for its sub-folders' listings
};

class FileSearch {
public:
    virtual ~FileSearch() = default;
    // The entries of one folder in file-system order, "." and ".." left out.
    // False when the folder cannot be searched.
    virtual bool List(const std::string& nativeFolder, std::vector<DirEntry>& out) const = 0;
    // As List, telling why a folder could not be listed. A folder listed in
    // part (a damaged entry, a read error half way) is a fault with the
    // entries read until then in `out`. A search that cannot tell need not
    // override it: every failure is then Failed.
    virtual ReadFault ListChecked(const std::string& nativeFolder,
                                  std::vector<DirEntry>& out) const {
        return List(nativeFolder, out) ? ReadFault::None : ReadFault::Failed;
    }
    // As ListChecked, for a walk that tells what it knows of the folder. When
    // `request.hold` is set, `held` may come back with the folder held open
    // for its sub-folders' requests. A search that cannot use the request
    // need not override it.
    virtual ReadFault ListRequested(const ListRequest& request, std::vector<DirEntry>& out,
                                    std::unique_ptr<HeldFolder>& held) const {
        held.reset();
        return ListChecked(request.native, out);
    }
    // True when folders below this root may be listed by several threads at
    // once (and FileSize asked meanwhile), so that a walk can read listings
    // ahead of itself. A search that cannot need not override it.
    virtual bool ListsConcurrently(const std::string& nativeRoot) const {
        (void)nativeRoot;
        return false;
    }
    // The identity of a folder itself (see DirEntry); false when unknown.
    virtual bool Identify(const std::string& nativeFolder, std::uint64_t& device,
                          std::uint64_t& inode) const = 0;
    // The separator between a native folder and a name ('/' or '\\').
    virtual char NativeSeparator() const = 0;
    // The size of a file whose listing left it out (DirEntry::sizeKnown);
    // false when it cannot be read. A search that always lists sizes need not
    // override it.
    virtual bool FileSize(const std::string& nativePath, std::uint64_t& size) const {
        (void)nativePath;
        size = 0;
        return false;
    }
};

// One fixed drive to walk.
struct Drive {
    std::string text;          // the root as written in result files: "C:\\" or "/home/" (CP949)
    std::string native;        // the root as the system opens it, ending with its separator
    char textSeparator = '\\'; // the separator written between folder names
};

class Drives {
public:
    virtual ~Drives() = default;
    // The fixed drives in walking order: C: to Z: on Windows, the local disk
    // file systems by mount point on Linux.
    virtual std::vector<Drive> FixedDrives() const = 0;
};

// The registered-applications list (App Paths).
class AppPaths {
public:
    virtual ~AppPaths() = default;
    // True when an App Paths sub-key, upper-cased, equals the upper-case name.
    // Asked from the threads that list folders ahead of a walk as well.
    virtual bool IsRegistered(const std::string& upperName) const = 0;
};

} // namespace ostravion

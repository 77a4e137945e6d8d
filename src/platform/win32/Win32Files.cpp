#include "platform/win32/Win32Platform.h"

#include "platform/ScanStandIns.h"
#include "util/Text.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <new>

#include "platform/win32/WideText.h"
#include "platform/win32/WinApi.h"

namespace ostravion::win32 {

namespace {

// Texts longer than an int can count are not names or paths; they are cut.
int CountOf(std::size_t n) {
    return n > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

// A character outside the basic plane is one character: its surrogate pair
// gives one "?" in CP949, not two.
std::wstring JoinSurrogates(const std::wstring& w) {
    std::wstring out;
    out.reserve(w.size());
    for (std::size_t i = 0; i < w.size(); ++i) {
        const wchar_t c = w[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < w.size() && w[i + 1] >= 0xDC00 &&
            w[i + 1] <= 0xDFFF) {
            out += L'?';
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// A name as the walk and the file listing write it: CP949 by the rule the
// Linux program follows, so that both write the same text for the same tree:
// a character without a CP949 form (no look-alike taken) is one "?".
std::string NameText(const std::wstring& w) {
    return Narrow(kCodePage, JoinSurrogates(w), WC_NO_BEST_FIT_CHARS);
}

std::string Utf8(const std::wstring& w) {
    return Narrow(CP_UTF8, w);
}

// A native path of the walk (UTF-8) as the wide calls take it.
std::wstring WideNative(const std::string& utf8) {
    return Widen(CP_UTF8, utf8);
}

class Win32OutFile final : public OutFile {
public:
    explicit Win32OutFile(HANDLE h) : h_(h) {}
    ~Win32OutFile() override { Close(); }
    bool Write(const std::string& bytes) override {
        if (h_ == INVALID_HANDLE_VALUE)
            return false;
        const char* p = bytes.data();
        std::size_t left = bytes.size();
        while (left > 0) {
            const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
            DWORD written = 0;
            if (!WriteFile(h_, p, chunk, &written, nullptr) || written == 0) {
                failed_ = true;
                return false;
            }
            p += written;
            left -= written;
        }
        return true;
    }
    bool Close() override {
        if (h_ == INVALID_HANDLE_VALUE)
            return !failed_;
        if (!CloseHandle(h_))
            failed_ = true;
        h_ = INVALID_HANDLE_VALUE;
        return !failed_;
    }

private:
    HANDLE h_;
    bool failed_ = false;
};

class Win32InFile final : public InFile {
public:
    explicit Win32InFile(HANDLE h) : h_(h) {}
    ~Win32InFile() override { CloseHandle(h_); }
    bool Read(std::string& bytes, std::size_t max) override {
        const DWORD want = max > (1u << 30) ? (1u << 30) : static_cast<DWORD>(max);
        bytes.resize(want);
        DWORD got = 0;
        const bool ok = ReadFile(h_, bytes.data(), want, &got, nullptr) != 0;
        bytes.resize(ok ? got : 0);
        return ok;
    }

private:
    HANDLE h_;
};

// Readers let the file be replaced meanwhile (FILE_SHARE_DELETE): another
// writer in a shared folder moves its new file onto the name while a reader
// (or a look whether the file is there) still holds it open, and must not
// fail for it.
constexpr DWORD kReadSharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE OpenForReading(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, kReadSharing, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// True when the text ends with a backslash or slash that is a character of
// its own (not the trail byte of a double-byte character).
bool EndsWithSeparator(const std::string& s) {
    if (s.empty())
        return false;
    const std::size_t b = text::FindLastChar(s, '\\');
    const std::size_t f = text::FindLastChar(s, '/');
    return b == s.size() - 1 || f == s.size() - 1;
}

// The volume serial number and file index of a folder.
bool FolderIdentity(const std::wstring& folder, std::uint64_t& device, std::uint64_t& inode) {
    // Opening a folder needs backup semantics; no access right is asked for.
    const HANDLE h =
        CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    if (!ok)
        return false;
    device = info.dwVolumeSerialNumber;
    inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

} // namespace

std::wstring Widen(unsigned codePage, const std::string& s) {
    if (s.empty())
        return std::wstring();
    const int n = MultiByteToWideChar(codePage, 0, s.data(), CountOf(s.size()), nullptr, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, s.data(), CountOf(s.size()), w.data(), n);
    return w;
}

std::string Narrow(unsigned codePage, const std::wstring& w, unsigned long flags) {
    if (w.empty())
        return std::string();
    // UTF-8 takes no default character; CP949 writes "?" for what it lacks.
    const char* defaultChar = codePage == CP_UTF8 ? nullptr : "?";
    const int n = WideCharToMultiByte(codePage, flags, w.data(), CountOf(w.size()), nullptr, 0,
                                      defaultChar, nullptr);
    if (n <= 0)
        return std::string();
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, flags, w.data(), CountOf(w.size()), s.data(), n, defaultChar,
                        nullptr);
    return s;
}

std::unique_ptr<OutFile> OutFileOnHandle(void* handle) {
    return std::make_unique<Win32OutFile>(static_cast<HANDLE>(handle));
}

std::unique_ptr<OutFile> CreateNewFile(const std::wstring& path) {
    // Whatever has the name gives way, hidden and system files and links
    // too, but never what a link leads to; a folder stays.
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        RemoveOwnName(path.c_str());
    // CREATE_NEW fails on any name put back in the meantime (and on a link
    // that could not be removed), and with FILE_FLAG_OPEN_REPARSE_POINT a
    // link is never resolved to make its target.
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<Win32OutFile>(h);
}

std::unique_ptr<OutFile> OpenForAppending(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT))
        return nullptr;
    // OPEN_ALWAYS, not CREATE_ALWAYS, so that a hidden or system file opens
    // too; the link itself, should one appear after the test above.
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return nullptr;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool plain =
        GetFileInformationByHandle(h, &info) != 0 &&
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0 &&
        info.nNumberOfLinks <= 1 && HandleIsTheName(h, path.c_str());
    if (!plain || !SetFilePointerEx(h, LARGE_INTEGER{}, nullptr, FILE_END)) {
        CloseHandle(h);
        return nullptr;
    }
    return std::make_unique<Win32OutFile>(h);
}

static bool ReadWholeFile(HANDLE h, std::string& bytes) {
    bytes.clear();
    if (h == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    bool ok = GetFileType(h) == FILE_TYPE_DISK && GetFileSizeEx(h, &size) &&
              static_cast<std::uint64_t>(size.QuadPart) <= kMaxWholeFileBytes;
    try {
        if (ok)
            bytes.reserve(static_cast<std::size_t>(size.QuadPart));
        char buf[65536];
        while (ok) {
            DWORD got = 0;
            if (!ReadFile(h, buf, sizeof buf, &got, nullptr)) {
                ok = false;
                break;
            }
            if (got == 0)
                break;
            // A file that grows while it is read is held to the same bound.
            ok = bytes.size() + got <= kMaxWholeFileBytes;
            if (ok)
                bytes.append(buf, got);
        }
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    CloseHandle(h);
    if (!ok)
        std::string().swap(bytes);
    return ok;
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
    return ReadWholeFile(CreateFileW(path.c_str(), GENERIC_READ, kReadSharing, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                         bytes);
}

std::string Win32Codec::ToUtf8(const std::string& cp949) const {
    return Narrow(CP_UTF8, Widen(kCodePage, cp949));
}

std::string Win32Codec::FromUtf8(const std::string& utf8) const {
    return Narrow(kCodePage, JoinSurrogates(Widen(CP_UTF8, utf8)));
}

HANDLE Win32FileSystem::OpenListed(const std::string& path) const {
    {
        std::lock_guard<std::mutex> lock(aliasMutex_);
        const auto alias = aliases_.find(path);
        if (alias != aliases_.end())
            return CreateFileW(alias->second.c_str(), GENERIC_READ, kReadSharing, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    return OpenForReading(path);
}

bool Win32FileSystem::ReadWhole(const std::string& path, std::string& bytes) const {
    return ReadWholeFile(OpenListed(path), bytes);
}

std::unique_ptr<InFile> Win32FileSystem::OpenRead(const std::string& path) const {
    // A folder does not open without backup semantics, so it is refused
    // here; a pipe or a device is no file either.
    const HANDLE h = OpenListed(path);
    if (h == INVALID_HANDLE_VALUE)
        return nullptr;
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return nullptr;
    }
    return std::make_unique<Win32InFile>(h);
}

bool Win32FileSystem::Exists(const std::string& path) const {
    const HANDLE h = OpenListed(path);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

std::unique_ptr<OutFile> Win32FileSystem::OpenWrite(const std::string& path, bool append) {
    const std::wstring wide = Widen(kCodePage, path);
    if (wide.empty())
        return nullptr;
    return append ? OpenForAppending(wide) : CreateNewFile(wide);
}

bool Win32FileSystem::Remove(const std::string& path) {
    const std::wstring wide = Widen(kCodePage, path);
    return !wide.empty() && RemoveOwnName(wide.c_str());
}

bool Win32FileSystem::Rename(const std::string& from, const std::string& to) {
    // The new file's bytes reach the disk before it takes the old one's
    // place, so that a power cut never leaves an empty file under the name.
    if (!ReadyToMove(Widen(kCodePage, from).c_str()))
        return false;
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32FileSystem::ReplaceKeepingBackup(const std::string& from, const std::string& to,
                                           const std::string& backup) {
    const std::wstring wideFrom = Widen(kCodePage, from);
    const std::wstring wideTo = Widen(kCodePage, to);
    const std::wstring wideBackup = Widen(kCodePage, backup);
    if (!ReadyToMove(wideFrom.c_str()))
        return false;
    // A link under the backup name goes first: the replaced file takes the
    // name itself, never the place the link leads to.
    const DWORD kept = GetFileAttributesW(wideBackup.c_str());
    if (kept != INVALID_FILE_ATTRIBUTES && (kept & FILE_ATTRIBUTE_REPARSE_POINT))
        RemoveOwnName(wideBackup.c_str());
    if (ReplaceFileW(wideTo.c_str(), wideFrom.c_str(), wideBackup.c_str(),
                     REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return true;
    // The replaced file is under the backup name already, and the new one is
    // not in its place: the replaced file goes back.
    if (GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        MoveFileExW(wideBackup.c_str(), wideTo.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    return false;
}

bool Win32FileSystem::PutBack(const std::string& backup, const std::string& to) {
    return MoveFileExW(Widen(kCodePage, backup).c_str(), Widen(kCodePage, to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32FileSystem::MakeDirectory(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool Win32FileSystem::IsDirectory(const std::string& path) const {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::IsLink(const std::string& path) const {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool Win32FileSystem::ListFiles(const std::string& folder, std::vector<std::string>& names) const {
    names.clear();
    const std::string base = folder.empty() ? std::string(".") : folder;
    const std::string prefix = base + (EndsWithSeparator(base) ? "" : "\\");
    const std::wstring widePrefix = Widen(kCodePage, prefix);
    WIN32_FIND_DATAW fd{};
    const HANDLE h = FindFirstFileW((widePrefix + L"*.*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        // A drive root without entries finds nothing, and is still a folder.
        return GetLastError() == ERROR_FILE_NOT_FOUND && IsDirectory(base);
    std::vector<std::wstring> listed;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            listed.emplace_back(fd.cFileName, wcsnlen(fd.cFileName, MAX_PATH));
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    // Each file is named readably in CP949. Where that text would not lead
    // back to the file (a character CP949 lacks), the text is kept as an
    // alias of the file's own name, so that it is opened as it is on disk;
    // texts that would name two files are told apart by a number.
    std::vector<std::string> texts;
    std::vector<bool> direct;
    for (const std::wstring& name : listed) {
        texts.push_back(NameText(name));
        direct.push_back(Widen(kCodePage, texts.back()) == name);
    }
    std::vector<std::string> taken;
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (direct[i])
            taken.push_back(texts[i]);
    const auto isTaken = [&](const std::string& t) {
        for (const std::string& x : taken)
            if (text::EqualsNoCase(x, t))
                return true;
        return false;
    };
    for (std::size_t i = 0; i < texts.size(); ++i) {
        std::string t = texts[i];
        if (!direct[i]) {
            t = text::FreeName(t, isTaken);
            taken.push_back(t);
            std::lock_guard<std::mutex> lock(aliasMutex_);
            aliases_[prefix + t] = widePrefix + listed[i];
        }
        names.push_back(std::move(t));
    }
    return true;
}

std::string Win32FileSystem::CurrentDirectory() const {
    std::string buf(MAX_PATH, '\0');
    while (true) {
        const DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(buf.size()), buf.data());
        if (n == 0)
            return std::string();
        if (n < buf.size()) {
            buf.resize(n);
            return buf;
        }
        buf.resize(n); // n counts the terminating NUL when the buffer was short
    }
}

bool Win32FileSystem::SetCurrentDirectory(const std::string& path) {
    return SetCurrentDirectoryA(path.c_str()) != 0;
}

bool Win32FileSearch::List(const std::string& nativeFolder, std::vector<DirEntry>& out) const {
    // False also when the search finds nothing at all, as on an empty drive root.
    bool nothing = false;
    return ListFolder(nativeFolder, out, nothing) == ReadFault::None && !nothing;
}

ReadFault Win32FileSearch::ListChecked(const std::string& nativeFolder,
                                       std::vector<DirEntry>& out) const {
    bool nothing = false;
    return ListFolder(nativeFolder, out, nothing);
}

ReadFault Win32FileSearch::ListFolder(const std::string& nativeFolder, std::vector<DirEntry>& out,
                                      bool& nothing) const {
    out.clear();
    std::wstring prefix = WideNative(nativeFolder);
    if (prefix.empty())
        return ReadFault::Failed;
    if (prefix.back() != L'\\' && prefix.back() != L'/')
        prefix += L'\\';
    WIN32_FIND_DATAW fd{};
    const HANDLE h = FindFirstFileW((prefix + L"*.*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // An empty drive root finds nothing, not even "."; a folder gone
        // since its parent was listed is nothing left out.
        nothing = true;
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return ReadFault::None;
        return error == ERROR_ACCESS_DENIED ? ReadFault::Denied : ReadFault::Failed;
    }
    do {
        const std::wstring wide(fd.cFileName, wcsnlen(fd.cFileName, MAX_PATH));
        if (wide == L"." || wide == L"..")
            continue;
        DirEntry e;
        e.name = NameText(wide);
        e.nativeName = Utf8(wide);
        e.size = (static_cast<std::uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
        // As reported; FILE_ATTRIBUTE_REPARSE_POINT (kAttrReparsePoint) marks
        // junctions and links, and other reparse points (a cloud file's
        // placeholder) too: only those whose tag names another place are
        // links, listed and never entered nor read.
        e.attributes = fd.dwFileAttributes;
        constexpr DWORD kNameSurrogate = 0x20000000;
        e.link = (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                 (fd.dwReserved0 & kNameSurrogate);
        out.push_back(std::move(e));
    } while (FindNextFileW(h, &fd));
    // The end of a folder is ERROR_NO_MORE_FILES; anything else cut it short.
    const DWORD end = GetLastError();
    FindClose(h);
    // Folders carry their identity, so that a junction or link leading back
    // up the tree (or, under Wine, /proc/self/root) can be noticed. Files
    // keep 0 and 0: nothing walks into them.
    for (DirEntry& e : out)
        if ((e.attributes & kAttrDirectory) && !e.link &&
            !FolderIdentity(prefix + WideNative(e.nativeName), e.device, e.inode))
            e.device = e.inode = 0;
    return end == ERROR_NO_MORE_FILES ? ReadFault::None : ReadFault::Failed;
}

bool Win32FileSearch::Identify(const std::string& nativeFolder, std::uint64_t& device,
                               std::uint64_t& inode) const {
    return FolderIdentity(WideNative(nativeFolder), device, inode);
}

std::vector<Drive> Win32Drives::FixedDrives() const {
    if (!map_.empty())
        return map_;
    // Lower-case letters, as the walk has always named its roots: the folder
    // texts in result files begin "c:\".
    std::vector<Drive> drives;
    for (char letter = 'c'; letter <= 'z'; ++letter) {
        const std::string root = std::string(1, letter) + ":\\";
        if (GetDriveTypeA(root.c_str()) == DRIVE_FIXED)
            drives.push_back(Drive{root, root, '\\'});
    }
    return drives;
}

namespace {

// A folder typed on the command line (UTF-8, absolute or relative to the
// current folder) as the path the file search opens (UTF-8 of the wide
// path), ending with a backslash.
bool ResolveFolder(const std::string& folder, std::string& native, std::string& why) {
    const std::wstring wide = Widen(CP_UTF8, folder);
    if (wide.empty())
        return false;
    const DWORD need = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (need == 0)
        return false;
    std::wstring full(need, L'\0');
    const DWORD n = GetFullPathNameW(wide.c_str(), need, full.data(), nullptr);
    if (n == 0 || n >= need)
        return false;
    full.resize(n);
    const DWORD a = GetFileAttributesW(full.c_str());
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (full.back() != L'\\' && full.back() != L'/')
        full += L'\\';
    // The walk opens folders through the wide calls: any name will do.
    (void)why;
    native = Utf8(full);
    return true;
}

} // namespace

bool Win32Drives::SetMap(const std::vector<std::string>& items, std::string& error) {
    return ParseDriveMap(items, ResolveFolder, map_, error);
}

} // namespace ostravion::win32

#include "platform/win32/Win32Platform.h"

#include "util/Text.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/win32/WideText.h"
#include "platform/win32/WinApi.h"

namespace ostravion::win32 {

namespace {

// The computer-name and user-name queries: a 256-byte buffer, at most 255
// characters; a failed query gives the empty text.
template <typename Query> std::string NameQuery(Query query) {
    char buf[256] = {};
    DWORD size = 255;
    if (!query(buf, &size))
        return std::string();
    buf[255] = '\0';
    return std::string(buf, strnlen(buf, sizeof buf));
}

// Closes a registry key when it goes out of scope.
class Key {
public:
    Key() = default;
    ~Key() {
        if (h_)
            RegCloseKey(h_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    bool Open(HKEY parent, const char* subKey, REGSAM access) {
        return RegOpenKeyExA(parent, subKey, 0, access, &h_) == ERROR_SUCCESS;
    }
    HKEY get() const { return h_; }

private:
    HKEY h_ = nullptr;
};

// The ProductOptions "ProductType" value, read into at most 80 bytes.
bool ReadProductOptions(std::string& value) {
    Key key;
    if (!key.Open(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions",
                  KEY_QUERY_VALUE))
        return false;
    char buf[80] = {};
    DWORD size = sizeof buf;
    if (RegQueryValueExA(key.get(), "ProductType", nullptr, nullptr, reinterpret_cast<BYTE*>(buf),
                         &size) != ERROR_SUCCESS ||
        size > sizeof buf)
        return false;
    value.assign(buf, strnlen(buf, size));
    return true;
}

} // namespace

std::string Win32SystemInfo::ComputerName() const {
    return NameQuery([](char* b, DWORD* s) { return GetComputerNameA(b, s) != 0; });
}

std::string Win32SystemInfo::UserName() const {
    return NameQuery([](char* b, DWORD* s) { return GetUserNameA(b, s) != 0; });
}

ProcessorFacts Win32SystemInfo::Processor() const {
    SYSTEM_INFO si{};
    GetSystemInfo(&si);
    ProcessorFacts p;
    p.architecture = si.wProcessorArchitecture;
    p.level = si.wProcessorLevel;
    p.revision = si.wProcessorRevision;
    return p;
}

OsVersionFacts Win32SystemInfo::OsVersion() const {
    OsVersionFacts f;
    OSVERSIONINFOEXA ex{};
    ex.dwOSVersionInfoSize = sizeof ex;
    const OSVERSIONINFOA* plain = nullptr;
    OSVERSIONINFOA old{};
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&ex))) {
        f.extendedAvailable = true;
        f.productType = ex.wProductType;
        f.suiteMask = ex.wSuiteMask;
        plain = reinterpret_cast<const OSVERSIONINFOA*>(&ex);
    } else {
        old.dwOSVersionInfoSize = sizeof old;
        if (GetVersionExA(&old))
            plain = &old;
    }
    if (plain) {
        f.plainAvailable = true;
        f.platform = plain->dwPlatformId;
        f.major = plain->dwMajorVersion;
        f.minor = plain->dwMinorVersion;
        f.servicePack.assign(plain->szCSDVersion,
                             strnlen(plain->szCSDVersion, sizeof plain->szCSDVersion));
    }
    f.productOptionsAvailable = ReadProductOptions(f.productOptions);
    return f;
}

LocalTime Win32Clock::Now() const {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

bool Win32FileDates::Created(const std::string& path, LocalTime& out) const {
    // The CP949 path through the wide call: the code page of the text, not
    // the system's, decides how it reads.
    const std::wstring wide = Widen(kCodePage, path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (wide.empty() || !GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data))
        return false;
    FILETIME local{};
    SYSTEMTIME t{};
    if (!FileTimeToLocalFileTime(&data.ftCreationTime, &local) || !FileTimeToSystemTime(&local, &t))
        return false;
    out = {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    return true;
}

void Win32Threads::LowerCurrentThread() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
}

namespace {
// Whether one registry view's App Paths key has a sub-key, readable and
// upper-cased, equal to the upper-case name.
bool RegisteredInView(const std::string& key, const std::string& upperName, REGSAM view) {
    Key root;
    if (!root.Open(HKEY_LOCAL_MACHINE, key.c_str(), KEY_READ | view))
        return false;
    for (DWORD index = 0;; ++index) {
        char name[260];
        DWORD size = sizeof name;
        // The end of the list, and any other failure, ends the search.
        if (RegEnumKeyExA(root.get(), index, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            return false;
        Key sub;
        if (!sub.Open(root.get(), name, KEY_READ | view))
            continue;
        if (text::ToUpper(std::string(name, size)) == upperName)
            return true;
    }
}
} // namespace

bool Win32AppPaths::IsRegistered(const std::string& upperName) const {
    // A 64-bit program reads the 64-bit registry view unless it asks for the
    // other: both are read, and a name registered in both (or in a key the
    // views share) is one registration.
    return RegisteredInView(key_, upperName, KEY_WOW64_64KEY) ||
           RegisteredInView(key_, upperName, KEY_WOW64_32KEY);
}

namespace {
// Why a file's version resource could not be read: its rights (or another
// program holding it), a read error of the disk, or nothing wrong with the
// file (it has no such resource, it is gone).
ReadFault FaultOf(DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return ReadFault::Denied;
    case ERROR_READ_FAULT:
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_FILE_CORRUPT:
    case ERROR_DISK_CORRUPT:
    case ERROR_NOT_READY:
    case ERROR_SEM_TIMEOUT:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NETNAME_DELETED:
    case ERROR_DEV_NOT_EXIST:
        return ReadFault::Failed;
    default:
        return ReadFault::None;
    }
}

} // namespace

std::string Win32VersionStrings::Read(const std::string& nativePath,
                                      const std::string& name) const {
    ReadFault fault = ReadFault::None;
    return ReadChecked(nativePath, name, fault);
}

std::string Win32VersionStrings::ReadChecked(const std::string& nativePath, const std::string& name,
                                             ReadFault& fault) const {
    fault = ReadFault::None;
    const std::wstring wide = Widen(CP_UTF8, nativePath);
    DWORD handle = 0;
    const DWORD size = wide.empty() ? 0 : GetFileVersionInfoSizeW(wide.c_str(), &handle);
    if (size == 0) {
        fault = FaultOf(GetLastError());
        return std::string();
    }
    // The buffer the ANSI query converts into: the wide call fills it as
    // GetFileVersionInfoA does.
    std::vector<char> info(size, '\0');
    if (!GetFileVersionInfoW(wide.c_str(), 0, size, info.data())) {
        fault = FaultOf(GetLastError());
        return std::string();
    }

    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", &value, &length) || !value ||
        length < 4)
        return std::string();
    WORD pair[2];
    std::memcpy(pair, value, sizeof pair);

    // Language first, then code page, four lower-case hex digits each.
    char block[16];
    std::snprintf(block, sizeof block, "%04x%04x", static_cast<unsigned>(pair[0]),
                  static_cast<unsigned>(pair[1]));
    const std::string query = std::string("\\StringFileInfo\\") + block + "\\" + name;
    value = nullptr;
    length = 0;
    if (!VerQueryValueA(info.data(), query.c_str(), &value, &length) || !value || length == 0)
        return std::string();
    // The text ends at its NUL; the length reported counts characters, which
    // for Korean text is fewer than its bytes, so the buffer's end is the bound.
    const char* text = static_cast<const char*>(value);
    const char* begin = info.data();
    const char* end = begin + info.size();
    const std::size_t limit =
        (text >= begin && text < end) ? static_cast<std::size_t>(end - text) : length;
    return std::string(text, strnlen(text, limit));
}

std::string Win32Utf16ToAnsi::Convert(std::u16string_view units) const {
    if (units.empty())
        return std::string();
    // Version strings are short; a longer text is cut to what an int counts.
    const int count =
        units.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(units.size());
    const auto* wide = reinterpret_cast<const wchar_t*>(units.data());
    const int n = WideCharToMultiByte(CP_ACP, 0, wide, count, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return std::string();
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, count, out.data(), n, nullptr, nullptr);
    return out;
}

} // namespace ostravion::win32

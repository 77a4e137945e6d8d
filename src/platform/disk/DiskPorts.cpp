#include "platform/disk/DiskPorts.h"

#include "platform/disk/DiskImage.h"

#include "platform/posix/PosixPlatform.h"
#include "util/Text.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace ostravion::disk {

namespace {

// A hive larger than this is no hive of a real installation.
constexpr std::uint64_t kHiveLimit = 1ull << 30;
// Folder identities on an image: its own device number, the MFT record.
constexpr std::uint64_t kImageDevice = 0x4E54465300000000ull; // "NTFS"
constexpr std::uint64_t kRootRecord = 5;

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

bool AsciiEqualsNoCase(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if ((x >= 'a' && x <= 'z' ? x - 32 : x) != (y >= 'a' && y <= 'z' ? y - 32 : y))
            return false;
    }
    return i == a.size() && !b[i];
}

} // namespace

// One image or partition given as a drive.
struct Volume {
    std::string root;   // its native root, "<image path>/"
    std::string source; // as the user gave it (UTF-8), "@N" added for a partition it did not name
    char letter = 'C';
    // Another volume of the disk given before it, which takes the next free
    // drive letter after that one's, as Windows gives letters.
    bool follows = false;
    std::uint64_t device = 0;
    std::shared_ptr<NtfsVolume> ntfs;
};

// What Configure took; replaced whole by the next call.
struct State {
    std::vector<Drive> drives; // empty: the machine's own
    std::vector<Volume> volumes;
    std::optional<ListedAppPaths> listed;
    bool hiveApps = false;  // the App Paths come from drive C:'s SOFTWARE hive
    bool hiveFacts = false; // the PC facts come from drive C:'s hives
    // Drive C: is another PC's disk (an image, a device, or a folder with
    // hives): its facts are those of its hives, never this machine's.
    bool diskFacts = false;
    WindowsFacts facts;
    std::vector<std::string> warnings; // UTF-8
    std::string diskText;              // CP949: what the status bar names, empty for this PC

    // The image a native path lies on, with the path inside it.
    const Volume* Find(const std::string& native, std::string& inside) const {
        for (const Volume& v : volumes) {
            if (native.compare(0, v.root.size(), v.root) == 0) {
                inside = native.substr(v.root.size());
            } else if (native.size() + 1 == v.root.size() &&
                       v.root.compare(0, native.size(), native) == 0) {
                inside.clear();
            } else {
                continue;
            }
            while (!inside.empty() && inside.back() == '/')
                inside.pop_back();
            return &v;
        }
        return nullptr;
    }
};

// The file search over a state: images through the NTFS library, the rest
// through the machine's search.
class StateSearch final : public FileSearch {
public:
    StateSearch(const MachinePorts& machine, const State* const& state)
        : machine_(machine), state_(state) {}
    bool List(const std::string& nativeFolder, std::vector<DirEntry>& out) const override {
        return ListChecked(nativeFolder, out) == ReadFault::None;
    }
    ReadFault ListChecked(const std::string& nativeFolder,
                          std::vector<DirEntry>& out) const override {
        std::string inside;
        const Volume* v = state_->Find(nativeFolder, inside);
        return v ? ListVolume(*v, inside, out) : machine_.search.ListChecked(nativeFolder, out);
    }
    bool Identify(const std::string& nativeFolder, std::uint64_t& device,
                  std::uint64_t& inode) const override {
        std::string inside;
        const Volume* v = state_->Find(nativeFolder, inside);
        if (!v)
            return machine_.search.Identify(nativeFolder, device, inode);
        NtfsEntry e;
        if (!inside.empty() && !v->ntfs->Stat(inside, e))
            return false;
        device = v->device;
        inode = inside.empty() ? kRootRecord : e.record;
        return true;
    }
    ReadFault ListRequested(const ListRequest& request, std::vector<DirEntry>& out,
                            std::unique_ptr<HeldFolder>& held) const override {
        std::string inside;
        const Volume* v = state_->Find(request.native, inside);
        if (!v)
            return machine_.search.ListRequested(request, out, held);
        held.reset();
        return ListVolume(*v, inside, out);
    }
    char NativeSeparator() const override { return '/'; }
    // An image's folders come out of its own tree; other folders are the machine's.
    bool ListsConcurrently(const std::string& nativeRoot) const override {
        std::string inside;
        return !state_->Find(nativeRoot, inside) && machine_.search.ListsConcurrently(nativeRoot);
    }
    bool FileSize(const std::string& nativePath, std::uint64_t& size) const override {
        std::string inside;
        const Volume* v = state_->Find(nativePath, inside);
        if (!v)
            return machine_.search.FileSize(nativePath, size);
        NtfsEntry e;
        if (!v->ntfs->Stat(inside, e))
            return false;
        size = e.size;
        return true;
    }

private:
    // The folder `inside` the volume, read from the image.
    ReadFault ListVolume(const Volume& v, const std::string& inside,
                         std::vector<DirEntry>& out) const {
        out.clear();
        std::vector<NtfsEntry> entries;
        // A junction or link is listed by its folder but never entered: it is
        // no fault. Any other folder that cannot be listed is a damaged one.
        const NtfsVolume::Listing listing = v.ntfs->List(inside, entries);
        if (listing == NtfsVolume::Listing::Reparse)
            return ReadFault::None;
        if (listing == NtfsVolume::Listing::Failed)
            return ReadFault::Failed;
        out.reserve(entries.size());
        for (NtfsEntry& n : entries) {
            DirEntry e;
            e.name = TextName(n.name);
            e.nativeName = std::move(n.name);
            e.size = n.size;
            e.attributes = n.attributes;
            if (n.attributes & kAttrDirectory) {
                e.device = v.device;
                e.inode = n.record;
                // A junction or link: its target lies on the running
                // system, not on this disk.
                e.link = (n.attributes & kAttrReparsePoint) != 0;
            }
            out.push_back(std::move(e));
        }
        // Listed in part: what could be read is walked, and the folder counted.
        return listing == NtfsVolume::Listing::Partial ? ReadFault::Failed : ReadFault::None;
    }

    std::string TextName(const std::string& utf8) const {
        for (const char c : utf8)
            if (static_cast<unsigned char>(c) >= 0x80)
                return machine_.codec.FromUtf8(utf8);
        return utf8;
    }

    const MachinePorts& machine_;
    const State* const& state_;
};

std::string FindHive(const FileSearch& search, const std::string& nativeRoot,
                     const std::string& hive) {
    const char* const steps[] = {"Windows", "System32", "config"};
    std::string at = nativeRoot;
    std::vector<DirEntry> entries;
    for (const char* step : steps) {
        if (search.ListChecked(at, entries) != ReadFault::None && entries.empty())
            return std::string();
        std::string next;
        for (const DirEntry& e : entries)
            if ((e.attributes & kAttrDirectory) && AsciiEqualsNoCase(e.nativeName, step))
                next = at + e.nativeName + search.NativeSeparator();
        if (next.empty())
            return std::string();
        at = next;
    }
    if (search.ListChecked(at, entries) != ReadFault::None && entries.empty())
        return std::string();
    for (const DirEntry& e : entries)
        if (!(e.attributes & kAttrDirectory) && AsciiEqualsNoCase(e.nativeName, hive.c_str()))
            return at + e.nativeName;
    return std::string();
}

struct DiskPorts::Impl {
    class Drives_ final : public Drives {
    public:
        explicit Drives_(const Impl& impl) : impl_(impl) {}
        std::vector<Drive> FixedDrives() const override {
            return impl_.state->drives.empty() ? impl_.machine.drives.FixedDrives()
                                               : impl_.state->drives;
        }

    private:
        const Impl& impl_;
    };

    class Versions_ final : public VersionStrings {
    public:
        explicit Versions_(const Impl& impl) : impl_(impl) {}
        std::string Read(const std::string& nativePath, const std::string& name) const override {
            ReadFault fault = ReadFault::None;
            return ReadChecked(nativePath, name, fault);
        }
        std::string ReadChecked(const std::string& nativePath, const std::string& name,
                                ReadFault& fault) const override {
            std::string inside;
            const Volume* v = impl_.state->Find(nativePath, inside);
            if (!v)
                return impl_.machine.versions.ReadChecked(nativePath, name, fault);
            // The walk asks for up to four strings of one file in a row.
            std::lock_guard<std::mutex> lock(mutex_);
            if (cachedPath_ != nativePath) {
                cachedPath_ = nativePath;
                cachedBlock_ = pe::VersionBlock();
                cachedFault_ = ReadFault::None;
                std::string resource;
                const std::unique_ptr<pe::ByteSource> file = v->ntfs->OpenFile(inside);
                // A file its folder lists but whose record or data cannot be
                // read is a damaged one, not one without a version resource.
                if (!file) {
                    cachedFault_ = ReadFault::Failed;
                } else {
                    const pe::WatchedSource watched(*file);
                    if (pe::FindVersionResource(watched, resource))
                        cachedBlock_ = pe::VersionBlock(std::move(resource));
                    if (watched.Failed())
                        cachedFault_ = ReadFault::Failed;
                }
            }
            fault = cachedFault_;
            return cachedBlock_.ReadString(name, impl_.machine.utf16);
        }

    private:
        const Impl& impl_;
        mutable std::mutex mutex_;
        mutable std::string cachedPath_;
        mutable pe::VersionBlock cachedBlock_;
        mutable ReadFault cachedFault_ = ReadFault::None;
    };

    class Dates_ final : public FileDates {
    public:
        explicit Dates_(const Impl& impl) : impl_(impl) {}
        bool Created(const std::string& path, LocalTime& out) const override {
            std::string p = path;
            for (std::size_t i = 0; i < p.size(); i += text::CharLength(p, i))
                if (p[i] == '\\')
                    p[i] = '/';
            std::string inside;
            const Volume* v = impl_.state->Find(impl_.machine.codec.ToUtf8(p), inside);
            if (!v)
                return impl_.machine.dates.Created(path, out);
            NtfsEntry e;
            if (inside.empty() || !v->ntfs->Stat(inside, e) || e.created == 0)
                return false;
            // FILETIME counts 100 ns from 1601.
            const std::time_t when =
                static_cast<std::time_t>(e.created / 10000000ull) - 11644473600LL;
            std::tm tm{};
            if (!::localtime_r(&when, &tm))
                return false;
            out = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
            return true;
        }

    private:
        const Impl& impl_;
    };

    class Apps_ final : public AppPaths {
    public:
        explicit Apps_(const Impl& impl) : impl_(impl) {}
        bool IsRegistered(const std::string& upperName) const override {
            const State& s = *impl_.state;
            if (s.listed && s.listed->InUse())
                return s.listed->IsRegistered(upperName);
            return s.hiveApps && s.facts.appPaths.count(upperName) != 0;
        }

    private:
        const Impl& impl_;
    };

    class System_ final : public SystemInfo {
    public:
        explicit System_(const Impl& impl) : impl_(impl) {}
        std::string ComputerName() const override {
            return Facts() ? Facts()->computerName : impl_.machine.system.ComputerName();
        }
        std::string UserName() const override {
            return Facts() ? Facts()->userName : impl_.machine.system.UserName();
        }
        ProcessorFacts Processor() const override {
            return Facts() ? Facts()->processor : impl_.machine.system.Processor();
        }
        OsVersionFacts OsVersion() const override {
            return Facts() ? Facts()->os : impl_.machine.system.OsVersion();
        }
        std::string AuditedDisk() const override { return impl_.state->diskText; }
        bool FactsFromDisk() const override { return impl_.state->diskFacts; }

    private:
        // The facts of drive C:'s Windows (empty ones for an image without
        // readable hives), or none when they are this machine's.
        const WindowsFacts* Facts() const {
            return impl_.state->diskFacts ? &impl_.state->facts : nullptr;
        }
        const Impl& impl_;
    };

    explicit Impl(const MachinePorts& m)
        : machine(m), state(std::make_unique<State>()), statePtr(state.get()),
          search(machine, statePtr), drives(*this), versions(*this), dates(*this), apps(*this),
          system(*this) {}

    bool Configure(const ScanSetup& setup, std::string& error);

    MachinePorts machine;
    std::unique_ptr<State> state;
    const State* statePtr;
    StateSearch search;
    Drives_ drives;
    Versions_ versions;
    Dates_ dates;
    Apps_ apps;
    System_ system;
};

bool DiskPorts::Impl::Configure(const ScanSetup& setup, std::string& error) {
    auto next = std::make_unique<State>();
    std::string diskError;
    const auto resolve = [&](const std::string& given, std::string& native, std::string&) {
        char real[PATH_MAX];
        struct stat st {};
        DiskChoice choice;
        choice.recoveryPassword = setup.recoveryPassword;
        if (!::realpath(given.c_str(), real) || ::stat(real, &st) != 0) {
            // "disk.img@2": partition 2 of the disk.
            const std::size_t at = given.rfind('@');
            const std::string number = at == std::string::npos ? "" : given.substr(at + 1);
            if (number.empty() || number.size() > 3 ||
                number.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(number) == 0)
                return false;
            const std::string disk = given.substr(0, at);
            if (!::realpath(disk.c_str(), real) || ::stat(real, &st) != 0 || S_ISDIR(st.st_mode))
                return false;
            choice.partition = std::stoi(number);
        }
        if (S_ISDIR(st.st_mode)) {
            native = WithSlash(real);
            return true;
        }
        std::vector<DiskVolume> found;
        std::string why;
        if (!OpenDisk(real, choice, found, why)) {
            diskError = "디스크 \"" + given + "\"를 읽을 수 없습니다: " + why + ".";
            return false;
        }
        for (std::size_t i = 0; i < found.size(); ++i) {
            const int partition = found[i].partition;
            Volume v;
            // Every volume's root lies below the file, one folder a partition.
            v.root = partition == 0 ? WithSlash(real)
                                    : std::string(real) + "/#" + std::to_string(partition) + "/";
            v.source = partition == 0 || choice.partition != 0
                           ? given
                           : given + "@" + std::to_string(partition);
            v.device = kImageDevice + next->volumes.size() + 1;
            v.follows = i > 0;
            v.ntfs = std::move(found[i].ntfs);
            if (i == 0)
                native = v.root;
            next->volumes.push_back(std::move(v));
        }
        return true;
    };
    if (!setup.driveMap.empty() && !ParseDriveMap(setup.driveMap, resolve, next->drives, error)) {
        if (!diskError.empty())
            error = diskError;
        return false;
    }
    for (Volume& v : next->volumes)
        for (const Drive& d : next->drives)
            if (d.native == v.root)
                v.letter = d.text[0];
    // The other volumes of a disk take the next letters no drive has.
    std::set<char> taken;
    for (const Drive& d : next->drives)
        taken.insert(d.text[0]);
    char last = 'C';
    for (Volume& v : next->volumes) {
        if (!v.follows) {
            last = v.letter;
            continue;
        }
        char letter = static_cast<char>(last + 1);
        while (letter <= 'Z' && taken.count(letter))
            ++letter;
        if (letter > 'Z') {
            error = "디스크 \"" + v.source +
                    "\"에 드라이브 문자(Z:까지)보다 많은 볼륨이 있습니다. "
                    "디스크 이름 뒤에 @번호를 붙여 파티션을 하나씩 주십시오.";
            return false;
        }
        taken.insert(letter);
        v.letter = letter;
        last = letter;
        next->drives.push_back({std::string(1, letter) + ":\\", v.root, '\\'});
    }
    std::sort(next->drives.begin(), next->drives.end(),
              [](const Drive& a, const Drive& b) { return a.text < b.text; });

    next->listed.emplace(machine.codec);
    if (!next->listed->Load(setup.appPathsFile, error))
        return false;

    // The registry of the Windows on drive C:, when it has one.
    const State* reading = next.get();
    const StateSearch search(machine, reading);
    std::unique_ptr<RegistryHive> hives[2];
    const char* const names[2] = {"SYSTEM", "SOFTWARE"};
    for (const Drive& d : next->drives) {
        if (d.text.empty() || (d.text[0] != 'C' && d.text[0] != 'c'))
            continue;
        // Drive C: read from an image or a device is another PC: its facts
        // come from its hives or from nowhere, never from this machine.
        std::string inside;
        if (next->Find(d.native, inside))
            next->diskFacts = true;
        // The key each hive must have to be the hive its place says.
        const char* const marks[2] = {"Select", "Microsoft"};
        std::string paths[2];
        const char* const kDamaged = "손상되어 읽지 못한 키가 있습니다";
        const auto refuse = [&error](const std::string& at, const std::string& why) {
            error =
                "드라이브 C:의 레지스트리 하이브 \"" + at + "\"를 읽을 수 없습니다: " + why + ".";
            return false;
        };
        for (int i = 0; i < 2; ++i) {
            const std::string path = FindHive(search, d.native, names[i]);
            if (path.empty())
                continue;
            paths[i] = path.substr(d.native.size());
            std::string bytes, why;
            const Volume* v = next->Find(path, inside);
            const bool read = v ? v->ntfs->ReadWhole(inside, bytes, kHiveLimit)
                                : posix::ReadPlainFile(path, bytes, kHiveLimit);
            if (!read)
                why = v ? "디스크에서 파일을 읽을 수 없습니다" : "읽을 수 없습니다";
            else if (!(hives[i] = RegistryHive::FromBytes(bytes, &why)))
                why = why.empty() ? "읽을 수 없습니다" : why;
            else if (!hives[i]->HasKey(marks[i]))
                why = hives[i]->Damaged() ? kDamaged
                                          : std::string(names[i]) + " 하이브가 아닙니다 (" +
                                                marks[i] + " 키가 없습니다)";
            else if (hives[i]->Damaged())
                why = kDamaged;
            if (!why.empty())
                return refuse(paths[i], why);
            if (hives[i]->Dirty())
                next->warnings.push_back(
                    "드라이브 C:의 레지스트리 하이브 \"" + paths[i] +
                    "\"는 깨끗하게 닫히지 않았습니다: 트랜잭션 로그(.LOG1, .LOG2)가 반영되지 않은 "
                    "채로 읽었습니다.");
        }
        if (hives[0] || hives[1]) {
            next->facts = ReadWindowsFacts(hives[0].get(), hives[1].get(), machine.codec);
            // A lookup that failed on a damaged cell would pass for a fact
            // the hive does not hold.
            for (int i = 0; i < 2; ++i)
                if (hives[i] && hives[i]->Damaged())
                    return refuse(paths[i], kDamaged);
            next->hiveFacts = true;
            next->diskFacts = true;
            next->hiveApps = hives[1] != nullptr;
        }
    }

    // What the status bar names: the images and partitions, and a folder
    // whose registry stands in for this PC's.
    std::string disks;
    for (const Drive& d : next->drives) {
        std::string inside;
        const Volume* v = next->Find(d.native, inside);
        const bool hiveDrive = next->diskFacts && (d.text[0] == 'C' || d.text[0] == 'c');
        if (!v && !hiveDrive)
            continue;
        std::string source = v ? v->source : d.native;
        if (!v && source.size() > 1 && source.back() == '/')
            source.pop_back();
        disks += (disks.empty() ? "" : ", ") + d.text.substr(0, 2) + " " + source;
    }
    next->diskText = machine.codec.FromUtf8(disks);

    state = std::move(next);
    statePtr = state.get();
    return true;
}

DiskPorts::DiskPorts(const MachinePorts& machine) : impl_(std::make_unique<Impl>(machine)) {}
DiskPorts::~DiskPorts() = default;

bool DiskPorts::Configure(const ScanSetup& setup, std::string& error) {
    return impl_->Configure(setup, error);
}

FileSearch& DiskPorts::Search() {
    return impl_->search;
}
Drives& DiskPorts::DriveList() {
    return impl_->drives;
}
VersionStrings& DiskPorts::Versions() {
    return impl_->versions;
}
FileDates& DiskPorts::Dates() {
    return impl_->dates;
}
AppPaths& DiskPorts::Apps() {
    return impl_->apps;
}
SystemInfo& DiskPorts::System() {
    return impl_->system;
}
std::vector<std::string> DiskPorts::Warnings() const {
    return impl_->state->warnings;
}

} // namespace ostravion::disk

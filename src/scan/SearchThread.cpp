#include "scan/SearchThread.h"

#include "files/PcResultFile.h"
#include "util/Messages.h"
#include "util/Text.h"

#include <functional>

namespace ostravion {

namespace {

WalkFolder DriveRoot(const FileSearch& search, const Drive& drive) {
    WalkFolder root{drive.text, drive.native, 0, 0};
    if (!search.Identify(drive.native, root.device, root.inode))
        root.device = root.inode = 0;
    return root;
}

// "%d" of the low 32 bits, as a signed number.
std::string SizeText(std::uint64_t size) {
    return std::to_string(static_cast<std::int32_t>(static_cast<std::uint32_t>(size)));
}

// "폴더", "파일", "접근 거부", "읽기 오류"
constexpr const char* kFolderWord = "\xC6\xFA\xB4\xF5";
constexpr const char* kFileWord = "\xC6\xC4\xC0\xCF";
constexpr const char* kDeniedWord = "\xC1\xA2\xB1\xD9 \xB0\xC5\xBA\xCE";
constexpr const char* kFailedWord = "\xC0\xD0\xB1\xE2 \xBF\xC0\xB7\xF9";

} // namespace

std::string WalkFaultText(const WalkFaults& f, const std::string& logPath) {
    // "검사를 마쳤으나 폴더 N개, 파일 M개를 읽지 못했습니다"
    std::string t = "\xB0\xCB\xBB\xE7\xB8\xA6 \xB8\xB6\xC3\xC6\xC0\xB8\xB3\xAA "
                    "\xC6\xFA\xB4\xF5 " +
                    std::to_string(f.folders + f.deniedFolders) + "\xB0\xB3, \xC6\xC4\xC0\xCF " +
                    std::to_string(f.files + f.deniedFiles) +
                    "\xB0\xB3\xB8\xA6 \xC0\xD0\xC1\xF6 \xB8\xF8\xC7\xDF\xBD\xC0\xB4\xCF\xB4\xD9";
    if (f.deniedFolders + f.deniedFiles > 0)
        // " (그중 접근 권한이 없는 것: 폴더 K개, 파일 L개)"
        t += " (\xB1\xD7\xC1\xDF \xC1\xA2\xB1\xD9 \xB1\xC7\xC7\xD1\xC0\xCC \xBE\xF8\xB4\xC2 "
             "\xB0\xCD: \xC6\xFA\xB4\xF5 " +
             std::to_string(f.deniedFolders) + "\xB0\xB3, \xC6\xC4\xC0\xCF " +
             std::to_string(f.deniedFiles) + "\xB0\xB3)";
    t += ".";
    if (!logPath.empty())
        // "읽지 못한 폴더와 파일은 LOG에 적었습니다."
        t += "\n\xC0\xD0\xC1\xF6 \xB8\xF8\xC7\xD1 \xC6\xFA\xB4\xF5\xBF\xCD "
             "\xC6\xC4\xC0\xCF\xC0\xBA " +
             logPath + "\xBF\xA1 \xC0\xFB\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.";
    return t;
}

std::string FaultLogPath(const std::string& scanResultPath) {
    if (scanResultPath.size() < 4)
        return std::string();
    return scanResultPath.substr(0, scanResultPath.size() - 4) + ".log";
}

CSearchThread::CSearchThread(CAuditUtil& util, const ScanPorts& ports, ProgramSink& sink)
    : util_(util), ports_(ports), sink_(sink) {}

bool CSearchThread::LoadKeyList(const std::string& path) {
    // Workers listing ahead do not look at the key list while it is read.
    keysLoaded_.store(false, std::memory_order_release);
    if (!keys_.Load(util_.Files(), util_.Messages(), path))
        return false;
    keysLoaded_.store(true, std::memory_order_release);
    return true;
}

ScanOutcome CSearchThread::Run(std::stop_token stop, const std::string& keyListPath) {
    stop_ = std::move(stop);
    keysLoaded_.store(false, std::memory_order_release);
    const std::vector<Drive> drives = ports_.drives.FixedDrives();
    // The first drive's folders are listed ahead while the key list is read;
    // a key list that cannot be read stops them with the walk unwalked.
    std::unique_ptr<FolderWalk> first;
    if (!drives.empty())
        first = StartWalk(drives.front());
    if (!LoadKeyList(keyListPath))
        return ScanOutcome::KeyListFailed;
    // The inspection goes on as it would, but not without a word: an audit
    // that lists no key-list program because the catalogue was garbage
    // would pass for a clean one.
    if (keys_.Size() == 0)
        util_.Messages().Show(msg::kKeyListEmpty);
    for (const Drive& drive : drives) {
        if (StopRequested())
            return ScanOutcome::Stopped;
        std::unique_ptr<FolderWalk> walk = first ? std::move(first) : StartWalk(drive);
        WalkDirectory(*walk, walk->Root());
    }
    if (StopRequested())
        return ScanOutcome::Stopped;
    util_.FillProgress();
    return ScanOutcome::Completed;
}

int CSearchThread::WalkDrive(const Drive& drive) {
    const std::unique_ptr<FolderWalk> walk = StartWalk(drive);
    return WalkDirectory(*walk, walk->Root());
}

std::unique_ptr<FolderWalk> CSearchThread::StartWalk(const Drive& drive) const {
    const WalkFolder root = DriveRoot(ports_.search, drive);
    const unsigned workers = ports_.search.ListsConcurrently(root.native) ? readAhead_ : 0;
    ThreadControl* const threads = threadControl_;
    std::function<void()> lower;
    if (threads)
        lower = [threads] { threads->LowerCurrentThread(); };
    // Workers may fetch the sizes the identification will ask for while they list.
    return std::make_unique<FolderWalk>(ports_.search, drive.textSeparator, root, workers,
                                        std::move(lower),
                                        [this](const DirEntry& e) { return WantsSize(e); });
}

int CSearchThread::WalkDirectory(FolderWalk& walk, WalkNode& node) {
    walk.Take(node);
    // A drive root that lists nothing counts as a failed search, as it does
    // where every other folder at least lists itself. A folder listed in
    // part (a damaged entry, a read error half way) is counted and still
    // walked for what it lists.
    const bool isRoot = node.parent == nullptr;
    if (node.fault != ReadFault::None)
        NoteFault(true, node.fault, node.folder.text);
    if ((node.fault != ReadFault::None || isRoot) && node.entries.empty())
        return kWalkSearchFailed;

    // One listing serves both passes and both sub-folder counts.
    const int n = static_cast<int>(node.children.size());
    util_.NarrowStep(n + 1);

    bool stopped = false;
    for (const DirEntry& e : node.entries) {
        if (StopRequested()) {
            stopped = true;
            break;
        }
        std::string upper;
        const std::vector<std::uint32_t>* entries = nullptr;
        if (!ExaminesEntry(e, upper, entries))
            continue;
        PrepareFile(node.folder, e);
        IdentifyExamined(upper, entries);
    }
    node.entries = {}; // the listing is not needed further down

    for (const auto& sub : node.children) {
        if (stopped || StopRequested()) {
            stopped = true;
            break;
        }
        WalkDirectory(walk, *sub);
    }
    if (stopped || StopRequested())
        return kWalkStopped;
    walk.Finish(node);

    util_.StepProgress(1);
    util_.WidenStep(n + 1);
    return kWalkCompleted;
}

void CSearchThread::PrepareFile(const WalkFolder& folder, const DirEntry& entry) {
    current_.Clear();
    versionCachePath_.clear();
    current_.FileName = text::BlankControls(entry.name);
    current_.FoundName = entry.name;
    current_.Folder = folder.text;
    currentNative_.assign(folder.native).append(entry.nativeName);
    currentText_.assign(folder.text).append(current_.FileName);
    currentFaulted_ = false;
    currentLink_ = entry.link;
    sizePending_ = !entry.sizeKnown;
    if (entry.sizeKnown)
        current_.FileSize = SizeText(entry.size);
}

void CSearchThread::FetchPendingSize() {
    if (!sizePending_)
        return;
    std::uint64_t size = 0;
    if (!ports_.search.FileSize(currentNative_, size))
        size = 0;
    current_.FileSize = SizeText(size);
    sizePending_ = false;
}

int CSearchThread::MatchKeyList(const std::string& upperName,
                                const std::vector<std::uint32_t>* entries) {
    return keys_.MatchEntries(
        entries, upperName, current_.FileSize,
        [this] { return ReadVersionString(currentNative_, "ProductVersion"); }, current_.Version);
}

bool CSearchThread::Examines(const std::string& upperName,
                             const std::vector<std::uint32_t>*& entries) const {
    // Installers and uninstallers are never reported.
    if (upperName == "SETUP.EXE" || upperName == "UNINSTALL.EXE")
        return false;
    entries = keys_.EntriesOf(upperName);
    return entries || text::Contains(upperName, ".EXE");
}

bool CSearchThread::ExaminesEntry(const DirEntry& entry, std::string& upper,
                                  const std::vector<std::uint32_t>*& entries) const {
    if (!(entry.attributes & (kAttrArchive | kAttrHidden)) || !text::Contains(entry.name, "."))
        return false;
    upper = text::ToUpper(entry.name);
    return Examines(upper, entries);
}

bool CSearchThread::WantsSize(const DirEntry& entry) const {
    if (!keysLoaded_.load(std::memory_order_acquire))
        return false; // the walk asks for the size itself when it comes to the file
    std::string upper;
    const std::vector<std::uint32_t>* entries = nullptr;
    return ExaminesEntry(entry, upper, entries) && (entries || IsRegisteredApplication(upper));
}

int CSearchThread::IdentifyFile(const std::string& upperName) {
    const std::vector<std::uint32_t>* entries = nullptr;
    return Examines(upperName, entries) ? IdentifyExamined(upperName, entries) : 0;
}

int CSearchThread::IdentifyExamined(const std::string& upperName,
                                    const std::vector<std::uint32_t>* entries) {
    // The size is compared for a listed name, and kept in the row of a
    // registered executable; other executables are never reported.
    if (entries)
        FetchPendingSize();

    const int r = MatchKeyList(upperName, entries);
    if (r > 0) {
        const auto k = static_cast<std::size_t>(r);
        // An operating-system entry is only reported on the system it describes.
        if (keys_.Column(1, k) == "OS" && keys_.Column(3, k) != osVersion_)
            return 0;
        current_.Origin = "2";
        current_.Class = "1";
        current_.KeyColumn0 = keys_.Column(0, k);
        current_.Kind = keys_.Column(1, k);
        current_.KeyColumn2 = keys_.Column(2, k);
        current_.ProgramName = keys_.Column(3, k);
        current_.Version = keys_.Column(4, k);
        current_.FileName = keys_.Column(5, k);
        current_.FileSize = keys_.Column(6, k);
        current_.KeyColumn7 = keys_.Column(7, k);
        current_.Company = keys_.Column(8, k);
        current_.DomesticCode = keys_.DomesticCode(k);
        EmitFoundProgram();
        return 1;
    }
    // Class 2: a listed name that matched no entry by size or version.
    // Class 3: an unlisted executable registered under App Paths. Both are
    // reported only with a CompanyName.
    if (r != kNameListedNoMatch && r != kUnlistedExecutable)
        return 0;
    if (r == kUnlistedExecutable && !IsRegisteredApplication(upperName))
        return 0;
    FetchPendingSize();
    current_.Company = ReadVersionString(currentNative_, "CompanyName");
    if (current_.Company.empty())
        return 0;
    current_.Origin = "9";
    current_.Class = r == kNameListedNoMatch ? "2" : "3";
    current_.ProgramName = ReadVersionString(currentNative_, "FileDescription");
    if (current_.ProgramName.empty())
        current_.ProgramName = ReadVersionString(currentNative_, "ProductName");
    current_.Version = ReadVersionString(currentNative_, "ProductVersion");
    EmitFoundProgram();
    return 1;
}

std::string CSearchThread::ReadVersionString(const std::string& nativePath,
                                             const std::string& name) const {
    // A file's strings are asked for up to five times while it is identified;
    // the resource is read once per string and file.
    if (nativePath != versionCachePath_) {
        versionCachePath_ = nativePath;
        versionCache_.clear();
    }
    for (const auto& [cachedName, cachedValue] : versionCache_)
        if (cachedName == name)
            return cachedValue;
    ReadFault fault = ReadFault::None;
    // A link is not read as the file it leads to: it has no strings.
    std::string value = currentLink_ && nativePath == currentNative_
                            ? std::string()
                            : ports_.versions.ReadChecked(nativePath, name, fault);
    // A file whose data cannot be read is not one without a version
    // resource: it is counted, once.
    if (fault != ReadFault::None && !currentFaulted_) {
        currentFaulted_ = true;
        NoteFault(false, fault, nativePath == currentNative_ ? currentText_ : nativePath);
    }
    std::size_t cut = value.find("\r\n");
    if (cut == std::string::npos)
        cut = value.find('\r');
    if (cut == std::string::npos)
        cut = value.find('\n');
    if (cut != std::string::npos)
        value.resize(cut);
    versionCache_.emplace_back(name, text::BlankControls(value));
    return versionCache_.back().second;
}

void CSearchThread::NoteFault(bool folder, ReadFault fault, const std::string& pathText) const {
    const bool denied = fault == ReadFault::Denied;
    long long& count = folder ? (denied ? faults_.deniedFolders : faults_.folders)
                              : (denied ? faults_.deniedFiles : faults_.files);
    ++count;
    const std::string log = FaultLogPath(util_.ScanResultPath());
    if (log.empty())
        return;
    std::string line;
    line.append(folder ? kFolderWord : kFileWord).append("\t");
    line.append(denied ? kDeniedWord : kFailedWord).append("\t");
    line.append(pathText).append("\t\r\n");
    // The log is evidence beside the result; one that cannot be written
    // leaves the counts, which the end of the scan reports all the same.
    if (auto out = util_.Files().OpenWrite(log, true)) {
        out->Write(line);
        out->Close();
    }
}

bool CSearchThread::IsRegisteredApplication(const std::string& upperName) const {
    return ports_.appPaths.IsRegistered(upperName);
}

int CSearchThread::EmitFoundProgram() {
    // Once a stop is requested the document must not receive anything more.
    if (StopRequested())
        return -1;
    sink_.AddFoundProgram(current_);
    const std::string& journal = util_.JournalPath();
    if (journal.empty())
        return -1;
    if (AppendScanJournal(util_.Files(), journal, current_))
        return 0;
    if (!journalLinkShown_ && util_.Files().IsLink(journal)) {
        journalLinkShown_ = true;
        util_.Messages().Show(msg::kWriteFileOpenError);
    }
    return -1;
}

int CountSubdirectories(const FileSearch& search, const Drive& drive) {
    const WalkFolder root = DriveRoot(search, drive);
    std::vector<DirEntry> entries;
    if (!search.List(root.native, entries))
        return 0;
    const FolderIdentity id{root.device, root.inode};
    std::vector<WalkFolder> subfolders;
    CollectSubfolders(
        root, entries, drive.textSeparator, search.NativeSeparator(), id,
        [&id](const FolderIdentity& f) { return f == id; }, subfolders);
    return static_cast<int>(subfolders.size());
}

void PrepareProgress(CAuditUtil& util, const FileSearch& search, const Drives& drives,
                     const std::string& text) {
    long long total = 0;
    for (const Drive& drive : drives.FixedDrives())
        total += CountSubdirectories(search, drive);
    util.PrepareProgressRange(text, total);
}

} // namespace ostravion

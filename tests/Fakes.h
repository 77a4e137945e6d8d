// In-memory stand-ins for the ports, shared by the core tests.
#pragma once

#include "ports/Ports.h"

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace ostravion::test {

// Records every message and answers questions from a script (No when it runs out).
class RecordingMessages final : public MessagePort {
public:
    void Show(const std::string& text) override { shown.push_back(text); }
    bool Ask(const std::string& question) override {
        asked.push_back(question);
        if (answers.empty())
            return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    std::vector<std::string> shown;
    std::vector<std::string> asked;
    std::deque<bool> answers;
};

class MemoryFile;

// The name a writer's temporary stands for: "a.tls.~PC-1-00000001.new" is
// "a.tls.new", "t_tm.~PC-1-00000002" is "t_tm".
inline std::string Untagged(const std::string& path) {
    const std::size_t at = path.rfind(".~");
    if (at == std::string::npos)
        return path;
    const std::size_t end = path.find('.', at + 2);
    return path.substr(0, at) + (end == std::string::npos ? std::string() : path.substr(end));
}

// Files kept in a map keyed by the path text as given.
class MemoryFileSystem final : public FileSystem {
public:
    PathRules rules{true, true};
    std::map<std::string, std::string> files;
    std::set<std::string> directories;
    std::set<std::string> unwritable; // paths that cannot be opened for writing
    // Names that are links: refused when opened for appending, replaced by a
    // file when made anew.
    std::set<std::string> links;
    // Called with the path on every OpenWrite, on the caller's thread.
    std::function<void(const std::string&)> onOpenWrite;
    std::set<std::string> failingWrites;  // paths whose writes fail once opened
    std::set<std::string> failingRenames; // targets that cannot be replaced
    std::string cwd = "/work";
    // The writer this file system stands for, and the processes of its
    // computer that have ended.
    WriterFacts writer{"PC", "user", "ostravion", "Linux", 1};
    std::set<std::uint64_t> endedProcesses;

    WriterFacts Writer() const override { return writer; }
    bool ProcessRunning(std::uint64_t process) const override {
        return endedProcesses.count(process) == 0;
    }

    PathRules Rules() const override { return rules; }
    bool ReadWhole(const std::string& path, std::string& bytes) const override {
        const auto it = files.find(path);
        if (it == files.end())
            return false;
        bytes = it->second;
        return true;
    }
    std::unique_ptr<InFile> OpenRead(const std::string& path) const override;
    bool Exists(const std::string& path) const override { return files.count(path) != 0; }
    std::unique_ptr<OutFile> OpenWrite(const std::string& path, bool append) override;
    bool Remove(const std::string& path) override { return files.erase(path) != 0; }
    bool Rename(const std::string& from, const std::string& to) override {
        const auto it = files.find(from);
        if (it == files.end() || failingRenames.count(to))
            return false;
        files[to] = it->second;
        files.erase(from);
        return true;
    }
    bool ReplaceKeepingBackup(const std::string& from, const std::string& to,
                              const std::string& backup) override {
        if (!files.count(from) || !files.count(to) || failingRenames.count(to))
            return false;
        files[backup] = files[to];
        return Rename(from, to);
    }
    bool MakeDirectory(const std::string& path) override { return directories.insert(path).second; }
    bool IsDirectory(const std::string& path) const override {
        return directories.count(path) != 0;
    }
    bool IsLink(const std::string& path) const override { return links.count(path) != 0; }
    // The files whose path is the folder text followed by a name without separator.
    bool ListFiles(const std::string& folder, std::vector<std::string>& names) const override {
        names.clear();
        std::string prefix = folder;
        if (!prefix.empty() && prefix.back() != '\\' && prefix.back() != '/')
            prefix += '\\';
        for (const auto& [path, bytes] : files) {
            if (path.compare(0, prefix.size(), prefix) != 0)
                continue;
            const std::string name = path.substr(prefix.size());
            if (!name.empty() && name.find_first_of("\\/") == std::string::npos)
                names.push_back(name);
        }
        return true;
    }
    std::string CurrentDirectory() const override { return cwd; }
    bool SetCurrentDirectory(const std::string& path) override {
        cwd = path;
        return true;
    }
};

class MemoryFile final : public OutFile {
public:
    MemoryFile(MemoryFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    bool Write(const std::string& bytes) override {
        if (fs_.failingWrites.count(path_) || fs_.failingWrites.count(Untagged(path_)))
            return false;
        fs_.files[path_] += bytes;
        return true;
    }
    bool Close() override { return true; }

private:
    MemoryFileSystem& fs_;
    std::string path_;
};

// Hands out a copy of the file in pieces of the size asked for.
class MemoryInFile final : public InFile {
public:
    explicit MemoryInFile(std::string bytes) : bytes_(std::move(bytes)) {}
    bool Read(std::string& bytes, std::size_t max) override {
        bytes = bytes_.substr(at_, max);
        at_ += bytes.size();
        ++reads;
        return true;
    }
    int reads = 0;

private:
    std::string bytes_;
    std::size_t at_ = 0;
};

inline std::unique_ptr<InFile> MemoryFileSystem::OpenRead(const std::string& path) const {
    const auto it = files.find(path);
    if (it == files.end())
        return nullptr;
    return std::make_unique<MemoryInFile>(it->second);
}

inline std::unique_ptr<OutFile> MemoryFileSystem::OpenWrite(const std::string& path, bool append) {
    if (onOpenWrite)
        onOpenWrite(path);
    if (unwritable.count(path) || unwritable.count(Untagged(path)) || (append && links.count(path)))
        return nullptr;
    links.erase(path);
    if (!append || !files.count(path))
        files[path].clear();
    return std::make_unique<MemoryFile>(*this, path);
}

// A progress bar that behaves like the status-bar control and logs its calls.
class FakeProgressBar final : public ProgressBar {
public:
    explicit FakeProgressBar(std::vector<std::string>& log) : log_(log) {}
    void SetRange32(int lower, int upper) override {
        lower_ = lower;
        upper_ = upper;
        log_.push_back("range " + std::to_string(lower) + " " + std::to_string(upper));
    }
    void GetRange(int& lower, int& upper) const override {
        lower = lower_;
        upper = upper_;
    }
    void SetStep(int step) override {
        step_ = step;
        log_.push_back("step " + std::to_string(step));
    }
    void StepIt() override {
        pos_ += step_;
        if (pos_ > upper_)
            pos_ = lower_ + (pos_ - upper_);
        log_.push_back("stepit");
    }
    void SetPos(int pos) override {
        pos_ = pos;
        log_.push_back("pos " + std::to_string(pos));
    }
    int pos_ = 0, lower_ = 0, upper_ = 100, step_ = 1;

private:
    std::vector<std::string>& log_;
};

class FakeProgressFactory final : public ProgressFactory {
public:
    std::unique_ptr<ProgressBar> Create(const std::string& text) override {
        log.push_back("create " + text);
        auto bar = std::make_unique<FakeProgressBar>(log);
        last = bar.get();
        return bar;
    }
    std::vector<std::string> log;
    FakeProgressBar* last = nullptr;
};

// Creation dates by path text; a path not listed cannot be examined.
class FakeFileDates final : public FileDates {
public:
    std::map<std::string, LocalTime> dates;
    bool Created(const std::string& path, LocalTime& out) const override {
        const auto it = dates.find(path);
        if (it == dates.end())
            return false;
        out = it->second;
        return true;
    }
};

// A tree of folders in memory, searched through native paths with '/'.
// Folders are numbered; a link is a folder entry that leads to another folder.
class FakeFileSearch final : public FileSearch {
public:
    struct Folder {
        std::uint64_t device = 1;
        std::uint64_t inode = 0;
        std::vector<DirEntry> entries;
        std::map<std::string, int> children;        // native name -> folder
        std::map<std::string, std::uint64_t> sizes; // native name -> size, also when unlisted
        bool unreadable = false;
        ReadFault fault = ReadFault::Failed; // why an unreadable folder is
    };
    std::vector<Folder> folders;
    std::map<std::string, int> roots; // native root, ending with '/'
    mutable std::vector<std::string> listed;
    mutable int sizeQueries = 0;

    int AddRoot(const std::string& native, std::uint64_t device = 1) {
        roots[native] = NewFolder(device);
        return roots[native];
    }
    // A sub-folder on the parent's device unless another is given (a mount point).
    int AddFolder(int parent, const std::string& name, unsigned attributes = kAttrDirectory,
                  std::uint64_t device = 0, const std::string& nativeName = "") {
        const int f = NewFolder(device ? device : folders[parent].device);
        AddFolderEntry(parent, name, nativeName.empty() ? name : nativeName, f, attributes);
        return f;
    }
    // A link named `name` in parent that leads to the folder target.
    void AddLink(int parent, const std::string& name, int target) {
        AddFolderEntry(parent, name, name, target, kAttrDirectory | kAttrReparsePoint);
        folders[parent].entries.back().link = true;
    }
    // listSize false: the listing leaves the size out and FileSize supplies it.
    void AddFile(int parent, const std::string& name, std::uint64_t size,
                 unsigned attributes = kAttrArchive, bool listSize = true,
                 const std::string& nativeName = "") {
        DirEntry e;
        e.name = name;
        e.nativeName = nativeName.empty() ? name : nativeName;
        e.size = listSize ? size : 0;
        e.sizeKnown = listSize;
        e.attributes = attributes;
        folders[parent].sizes[e.nativeName] = size;
        folders[parent].entries.push_back(e);
    }

    bool List(const std::string& nativeFolder, std::vector<DirEntry>& out) const override {
        return ListChecked(nativeFolder, out) == ReadFault::None;
    }
    ReadFault ListChecked(const std::string& nativeFolder,
                          std::vector<DirEntry>& out) const override {
        listed.push_back(nativeFolder);
        out.clear();
        const int f = Resolve(nativeFolder);
        if (f < 0)
            return ReadFault::Failed;
        if (folders[f].unreadable)
            return folders[f].fault;
        out = folders[f].entries;
        return ReadFault::None;
    }
    bool Identify(const std::string& nativeFolder, std::uint64_t& device,
                  std::uint64_t& inode) const override {
        const int f = Resolve(nativeFolder);
        if (f < 0)
            return false;
        device = folders[f].device;
        inode = folders[f].inode;
        return true;
    }
    char NativeSeparator() const override { return '/'; }
    bool FileSize(const std::string& nativePath, std::uint64_t& size) const override {
        ++sizeQueries;
        const std::size_t slash = nativePath.rfind('/');
        const int f = Resolve(nativePath.substr(0, slash + 1));
        if (f < 0)
            return false;
        const auto it = folders[f].sizes.find(nativePath.substr(slash + 1));
        if (it == folders[f].sizes.end())
            return false;
        size = it->second;
        return true;
    }

    // The folder a native path leads to, following links; -1 when none.
    int Resolve(const std::string& native) const {
        for (const auto& [root, f] : roots) {
            if (native.compare(0, root.size(), root) != 0)
                continue;
            int at = f;
            std::size_t pos = root.size();
            while (pos < native.size()) {
                const std::size_t end = native.find('/', pos);
                const std::string part = native.substr(pos, end - pos);
                const auto it = folders[at].children.find(part);
                if (it == folders[at].children.end())
                    return -1;
                at = it->second;
                pos = end == std::string::npos ? native.size() : end + 1;
            }
            return at;
        }
        return -1;
    }

private:
    int NewFolder(std::uint64_t device) {
        Folder f;
        f.device = device;
        f.inode = 100 + folders.size();
        folders.push_back(f);
        return static_cast<int>(folders.size()) - 1;
    }
    void AddFolderEntry(int parent, const std::string& name, const std::string& nativeName,
                        int target, unsigned attributes) {
        DirEntry e;
        e.name = name;
        e.nativeName = nativeName;
        e.attributes = attributes;
        e.device = folders[target].device;
        e.inode = folders[target].inode;
        folders[parent].entries.push_back(e);
        folders[parent].children[nativeName] = target;
    }
};

// Version strings by native path and string name; counts the reads.
class FakeVersionStrings final : public VersionStrings {
public:
    std::map<std::pair<std::string, std::string>, std::string> values;
    mutable std::vector<std::string> reads; // "path|name"

    void Set(const std::string& path, const std::string& name, const std::string& value) {
        values[{path, name}] = value;
    }
    std::string Read(const std::string& nativePath, const std::string& name) const override {
        reads.push_back(nativePath + "|" + name);
        const auto it = values.find({nativePath, name});
        return it == values.end() ? std::string() : it->second;
    }
    std::map<std::string, ReadFault> faults; // files whose data cannot be read
    std::string ReadChecked(const std::string& nativePath, const std::string& name,
                            ReadFault& fault) const override {
        const auto it = faults.find(nativePath);
        fault = it == faults.end() ? ReadFault::None : it->second;
        return Read(nativePath, name);
    }
};

class FakeAppPaths final : public AppPaths {
public:
    std::set<std::string> names; // upper case
    mutable std::atomic<int> queries{0};
    bool IsRegistered(const std::string& upperName) const override {
        ++queries;
        return names.count(upperName) != 0;
    }
};

class FakeDrives final : public Drives {
public:
    std::vector<Drive> drives;
    std::vector<Drive> FixedDrives() const override { return drives; }
};

} // namespace ostravion::test

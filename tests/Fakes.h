// In-memory stand-ins for the ports, shared by the core tests.
#pragma once

#include "platform/Ports.h"

#include <deque>
#include <map>
#include <set>
#include <string>
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

// Files kept in a map keyed by the path text as given.
class MemoryFileSystem final : public FileSystem {
public:
    PathRules rules{true, true};
    std::map<std::string, std::string> files;
    std::set<std::string> directories;
    std::set<std::string> unwritable; // paths that cannot be opened for writing
    std::string cwd = "/work";

    PathRules Rules() const override { return rules; }
    bool ReadWhole(const std::string& path, std::string& bytes) const override {
        const auto it = files.find(path);
        if (it == files.end())
            return false;
        bytes = it->second;
        return true;
    }
    bool Exists(const std::string& path) const override { return files.count(path) != 0; }
    std::unique_ptr<OutFile> OpenWrite(const std::string& path, bool append) override;
    bool Remove(const std::string& path) override { return files.erase(path) != 0; }
    bool Rename(const std::string& from, const std::string& to) override {
        const auto it = files.find(from);
        if (it == files.end())
            return false;
        files[to] = it->second;
        files.erase(from);
        return true;
    }
    bool MakeDirectory(const std::string& path) override { return directories.insert(path).second; }
    bool IsDirectory(const std::string& path) const override {
        return directories.count(path) != 0;
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
        fs_.files[path_] += bytes;
        return true;
    }
    bool Close() override { return true; }

private:
    MemoryFileSystem& fs_;
    std::string path_;
};

inline std::unique_ptr<OutFile> MemoryFileSystem::OpenWrite(const std::string& path, bool append) {
    if (unwritable.count(path))
        return nullptr;
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

} // namespace ostravion::test

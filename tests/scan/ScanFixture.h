// A scan over in-memory ports, shared by the walk tests.
#pragma once

#include "Fakes.h"
#include "files/Container.h"
#include "scan/SearchThread.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ostravion::test {

inline const std::string kDomestic = "\xB1\xB9\xB3\xBB"; // 국내
inline const std::string kForeign = "\xB1\xB9\xBF\xDC";  // 국외

class RecordingSink final : public ProgramSink {
public:
    void AddFoundProgram(const FoundProgram& p) override {
        programs.push_back(p);
        if (onAdd)
            onAdd(p);
    }
    std::vector<FoundProgram> programs;
    std::function<void(const FoundProgram&)> onAdd;
};

struct ScanFixture : ::testing::Test {
    MemoryFileSystem fs;
    RecordingMessages messages;
    FakeProgressFactory progress;
    CAuditUtil util{fs, messages, &progress};
    FakeFileSearch search;
    FakeDrives drives;
    FakeVersionStrings versions;
    FakeAppPaths apps;
    RecordingSink sink;
    CSearchThread thread{util, ScanPorts{search, drives, versions, apps}, sink};

    void SetKeyList(const std::string& payload) {
        std::string container;
        ASSERT_TRUE(ScrambleText(payload, container));
        fs.files[kKeyListFile] = container;
    }
    void AddDrive(const std::string& text, const std::string& native, char separator = '\\') {
        drives.drives.push_back({text, native, separator});
    }
    // Folder and file name of each program the sink received, in order.
    std::vector<std::string> Found() const {
        std::vector<std::string> out;
        for (const FoundProgram& p : sink.programs)
            out.push_back(p.Folder + p.FileName);
        return out;
    }
};

} // namespace ostravion::test

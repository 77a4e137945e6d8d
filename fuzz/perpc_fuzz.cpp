// libFuzzer target for the per-PC result file: the input holds up to three
// ".ipt" files (split at fuzz::kPartSeparator); each is read on its own, then
// all are consolidated into a total file whose rows and history are read back.
#include "FuzzInput.h"
#include "doc/AuditLists.h"
#include "doc/ConsolidateRun.h"
#include "doc/OstravionDoc.h"
#include "doc/TotalReaders.h"
#include "files/PerPcReader.h"
#include "files/TotalFile.h"

#include <algorithm>

using namespace ostravion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const kNames[] = {"a.ipt", "b.ipt", "c.ipt"};
    const std::vector<std::string> parts = fuzz::SplitParts(data, size, 3);

    test::MemoryFileSystem fs;
    fuzz::QuietMessages messages;
    std::vector<std::string> selected;
    std::vector<std::size_t> listedIn;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string path = std::string(kWorkFolder) + kNames[i];
        fs.files[path] = parts[i];
        selected.push_back(kNames[i]);
        PerPcFile file;
        fuzz::Check(ReadPerPcFile(fs, path, file), "a file that exists is read");
        fuzz::Check(file.hasList || file.programs.empty(), "no list, no programs");
        listedIn.push_back(file.programs.size());
    }

    CAuditUtil util(fs, messages);
    AuditLists lists(util);
    COstravionDoc& doc = lists.doc;
    util.SetSelectedFiles(selected);
    const ConsolidateOutcome out = RunConsolidateCommand(doc, "total");
    fuzz::Check(out.name == NameCheck::Accepted, "a fresh total name is accepted");
    fuzz::Check(out.summary.totalWritten, "the total is written");
    // A file the consolidation refuses (a total's text under a per-PC name)
    // is named as unread, and none of its lines count.
    std::size_t listed = 0;
    for (std::size_t i = 0; i < listedIn.size(); ++i)
        if (std::find(out.summary.unreadable.begin(), out.summary.unreadable.end(), kNames[i]) ==
            out.summary.unreadable.end())
            listed += listedIn[i];
    fuzz::Check(out.summary.historyLines == static_cast<long long>(listed),
                "every list line of a file read reaches the history");
    fuzz::Check(out.summary.pcRead + static_cast<long long>(out.summary.unreadable.size()) ==
                    static_cast<long long>(parts.size()),
                "every file is read or named as unread");

    PcHistory history;
    fuzz::Check(ReadPcHistory(util, history), "the written total is read");
    std::vector<ResultRow> rows;
    AdminValues admin;
    fuzz::Check(ReadResultRows(util, rows, admin, 3), "the written total's rows are read");
    return 0;
}

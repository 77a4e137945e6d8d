#include "doc/Inspection.h"

namespace ostravion {

bool EnsureWorkFolder(FileSystem& fs, MessagePort& messages) {
    const std::string folder = ".\\CheckOut";
    if (fs.IsDirectory(folder) || fs.MakeDirectory(folder))
        return true;
    messages.Show(msg::kFolderCreateError);
    return false;
}

std::string ScanBaseName(const std::string& group, const std::string& resultName) {
    return group + "_" + resultName;
}

std::string ScanResultPathFor(const std::string& group, const std::string& resultName) {
    return std::string(kWorkFolder) + ScanBaseName(group, resultName) + ".ipt";
}

StartFieldCheck CheckStartFields(const FileSystem& fs, const std::string& group,
                                 const std::string& resultName, std::string* why) {
    if (group.empty())
        return StartFieldCheck::GroupMissing;
    // Group and name make one file name in the work folder, and nothing else.
    const std::string base = ScanBaseName(group, resultName);
    if (!IsPlainFileName(base))
        return StartFieldCheck::BadName;
    // And a name Windows holds, or the scan would run and its findings have
    // nowhere to go.
    if (std::string problem = WindowsNameProblem(fs, base); !problem.empty()) {
        if (why)
            *why = std::move(problem);
        return StartFieldCheck::BadName;
    }
    if (fs.Exists(ScanResultPathFor(group, resultName)))
        return StartFieldCheck::FileExists;
    return StartFieldCheck::Ok;
}

void BeginInspection(COstravionDoc& doc, const PcFacts& facts, const ScanRequest& request,
                     ScanHost& host) {
    CAuditUtil& util = doc.Util();
    // The computer name of the facts is the result file name the user gave.
    util.SetScanBaseName(ScanBaseName(facts.Group, facts.ComputerName));
    util.SetPcFacts(facts);
    if (util.GetLayoutFlag() == kTotalLayout)
        doc.SetLayoutMode(kScanLayout);
    util.SetWorkState(kScanning);
    doc.StartScan(request, host);
}

void EndInspection(COstravionDoc& doc) {
    doc.StopScan();
    doc.Util().SetWorkState(kIdle);
    doc.Util().DestroyProgress();
}

} // namespace ostravion

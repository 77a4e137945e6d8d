// A document that records what the desktop flows ask of it and changes the
// shared state as the program's document does, for the flows' tests and the
// tests of each front's wiring.
#pragma once

#include "desktop/DesktopDocument.h"
#include "doc/Inspection.h"
#include "util/AuditUtil.h"

#include <functional>
#include <string>
#include <vector>

namespace ostravion {

class RecordingDocument final : public DesktopDocument {
public:
    explicit RecordingDocument(CAuditUtil& util) : util(util) {}
    void SetLayoutMode(unsigned char mode) override {
        util.SetLayoutFlag(mode);
        Record("SetLayoutMode " + std::to_string(mode));
    }
    void ClearViews() override { Record("ClearViews"); }
    void LoadTotal() override { Record("LoadTotal"); }
    bool SaveTotal() override {
        Record("SaveTotal");
        return saves;
    }
    bool Consolidate() override {
        Record("Consolidate");
        return consolidates;
    }
    void PrepareScanProgress(const std::string& text) override { util.ShowProgress(text); }
    void BeginInspection(const PcFacts& facts) override {
        util.SetScanBaseName(ScanBaseName(facts.Group, facts.ComputerName));
        util.SetPcFacts(facts);
        if (util.GetLayoutFlag() == kTotalLayout)
            SetLayoutMode(kScanLayout);
        util.SetWorkState(kScanning);
        running = true;
        Record("BeginInspection");
    }
    void StopScan() override {
        running = false;
        Record("StopScan");
    }
    bool ScanRunning() const override { return running; }
    std::string faultText; // what the last scan could not read
    std::string ScanFaultText() const override { return faultText; }

    CAuditUtil& util;
    std::vector<std::string> calls;
    bool saves = true;
    bool consolidates = true;
    bool running = false;
    std::function<void(const std::string&)> onCall;

private:
    void Record(const std::string& call) {
        calls.push_back(call);
        if (onCall)
            onCall(call);
    }
};

} // namespace ostravion

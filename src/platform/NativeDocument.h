// The desktop programs' document on this machine: the core's document with
// its two result lists and its scan, as the desktop flows ask for them. Each
// front gives its own hand-over of the scan's work to its user-interface
// thread, and a way to release the scan thread's waiting questions.
#pragma once

#include "desktop/DesktopDocument.h"
#include "desktop/ScanHandOver.h"
#include "doc/AuditLists.h"
#include "platform/MappedFileDates.h"

#include <functional>

namespace ostravion {

class DesktopFlows;

class NativeDocument : public DesktopDocument {
public:
    // `host` outlives the document, whose scan thread may still call it while
    // the document goes. `cancelWaits` answers No to every question the scan
    // thread waits for.
    NativeDocument(CAuditUtil& util, NativePlatform& platform, const SystemInfo& system,
                   ScanHandOver& host, std::function<void()> cancelWaits);
    ~NativeDocument() override;

    // The flows hear of a completed scan and of the arrangement a loaded
    // total calls for.
    void SetFlows(DesktopFlows* flows);
    COstravionDoc& Doc() { return lists_.doc; }
    CResultList& NormalList() { return lists_.normal; }
    CResultList& ExtendedList() { return lists_.extended; }

    void SetLayoutMode(unsigned char mode) override;
    void ClearViews() override;
    void LoadTotal() override;
    bool SaveTotal() override;
    bool Consolidate() override;
    void PrepareScanProgress(const std::string& text) override;
    void BeginInspection(const PcFacts& facts) override;
    void StopScan() override;
    bool ScanRunning() const override { return lists_.doc.ScanRunning(); }
    std::string ScanFaultText() const override;

private:
    CAuditUtil& util_;
    NativePlatform& platform_;
    const SystemInfo& system_;
    ScanHandOver& host_;
    std::function<void()> cancelWaits_;
    MappedFileDates dates_;
    AuditLists lists_;
    DesktopFlows* flows_ = nullptr;
    bool awaitingEnd_ = false; // a started scan has neither completed nor been stopped
};

} // namespace ostravion

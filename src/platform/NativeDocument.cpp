#include "platform/NativeDocument.h"

#include "desktop/DesktopFlows.h"
#include "doc/Inspection.h"
#include "scan/SearchThread.h"

namespace ostravion {

NativeDocument::NativeDocument(CAuditUtil& util, NativePlatform& platform, const SystemInfo& system,
                               ScanHandOver& host, std::function<void()> cancelWaits)
    : util_(util), platform_(platform), system_(system), host_(host),
      cancelWaits_(std::move(cancelWaits)), dates_(platform), lists_(util, &dates_) {}

NativeDocument::~NativeDocument() {
    // A scan still running ends without another write.
    if (cancelWaits_)
        cancelWaits_();
    host_.completed = nullptr;
    host_.keyListFailed = nullptr;
}

void NativeDocument::SetFlows(DesktopFlows* flows) {
    flows_ = flows;
    // After a total was loaded or built: "확장" when the extended list holds rows.
    lists_.doc.SetArrangementHandler([this](bool extended) {
        if (flows_)
            flows_->ArrangementChosen(extended);
    });
    host_.completed = [this] {
        // A stop given after the walk ended but before this ran has put the
        // commands back already: no question then.
        if (!awaitingEnd_)
            return;
        awaitingEnd_ = false;
        if (flows_)
            flows_->ScanCompleted();
    };
    // Nothing was walked: the commands come back as after a stop, and no
    // per-PC file is written.
    host_.keyListFailed = [this] {
        if (!awaitingEnd_)
            return;
        if (flows_)
            flows_->StopInspection();
    };
}

void NativeDocument::SetLayoutMode(unsigned char mode) {
    lists_.doc.SetLayoutMode(mode);
}

void NativeDocument::ClearViews() {
    lists_.normal.Clear();
    lists_.extended.Clear();
}

void NativeDocument::LoadTotal() {
    lists_.doc.LoadTotal();
}

bool NativeDocument::SaveTotal() {
    return lists_.doc.SaveTotal();
}

bool NativeDocument::Consolidate() {
    return lists_.doc.Consolidate().totalWritten;
}

void NativeDocument::PrepareScanProgress(const std::string& text) {
    PrepareProgress(util_, platform_.Search(), platform_.DriveList(), text);
}

void NativeDocument::BeginInspection(const PcFacts& facts) {
    ScanRequest request{ScanPorts{platform_.Search(), platform_.DriveList(), platform_.Versions(),
                                  platform_.Apps()},
                        &system_, platform_.Threads(), kKeyListFile};
    dates_.Refresh();
    awaitingEnd_ = true;
    ostravion::BeginInspection(lists_.doc, facts, request, host_);
}

std::string NativeDocument::ScanFaultText() const {
    const WalkFaults faults = lists_.doc.LastWalkFaults();
    return faults.Any() ? WalkFaultText(faults, FaultLogPath(util_.ScanResultPath()))
                        : std::string();
}

void NativeDocument::StopScan() {
    // A question the scan thread waits for is given up, then the thread ends.
    if (cancelWaits_)
        cancelWaits_();
    awaitingEnd_ = false;
    lists_.doc.StopScan();
}

} // namespace ostravion

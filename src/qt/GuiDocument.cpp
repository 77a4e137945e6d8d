#include "qt/GuiDocument.h"

#include "desktop/DesktopFlows.h"
#include "desktop/NativeFolders.h"
#include "doc/Inspection.h"
#include "qt/GuiMessages.h"
#include "scan/SearchThread.h"

#include <QCoreApplication>

namespace ostravion::gui {

void GuiScanHost::Wake() {
    QMetaObject::invokeMethod(
        this, [this] { RunPending(); }, Qt::QueuedConnection);
}

void MappedFileDates::Refresh() {
    drives_ = platform_.DriveList().FixedDrives();
    read_ = true;
}

bool MappedFileDates::Created(const std::string& path, LocalTime& out) const {
    const FileDates* dates = platform_.Dates();
    if (!dates)
        return false;
    if (!read_)
        const_cast<MappedFileDates*>(this)->Refresh();
    TextCodec& codec = platform_.Codec();
    const std::string native =
        NativeFolder(path, drives_, platform_.Search().NativeSeparator(), codec);
    return dates->Created(codec.FromUtf8(native), out);
}

GuiDocument::GuiDocument(CAuditUtil& util, NativePlatform& platform, const SystemInfo& system,
                         GuiMessages* messages)
    : util_(util), platform_(platform), system_(system), messages_(messages), dates_(platform),
      lists_(util, &dates_) {}

GuiDocument::~GuiDocument() {
    // A scan still running ends without another write.
    if (messages_)
        messages_->CancelWaits();
    host_.completed = nullptr;
}

void GuiDocument::SetFlows(DesktopFlows* flows) {
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
}

void GuiDocument::SetLayoutMode(unsigned char mode) {
    lists_.doc.SetLayoutMode(mode);
}

void GuiDocument::ClearViews() {
    lists_.normal.Clear();
    lists_.extended.Clear();
}

void GuiDocument::LoadTotal() {
    lists_.doc.LoadTotal();
}

bool GuiDocument::SaveTotal() {
    return lists_.doc.SaveTotal();
}

void GuiDocument::Consolidate() {
    lists_.doc.Consolidate();
}

void GuiDocument::PrepareScanProgress(const std::string& text) {
    PrepareProgress(util_, platform_.Search(), platform_.DriveList(), text);
}

void GuiDocument::BeginInspection(const PcFacts& facts) {
    ScanRequest request{ScanPorts{platform_.Search(), platform_.DriveList(), platform_.Versions(),
                                  platform_.Apps()},
                        &system_, platform_.Threads(), kKeyListFile};
    dates_.Refresh();
    awaitingEnd_ = true;
    ostravion::BeginInspection(lists_.doc, facts, request, host_);
}

void GuiDocument::StopScan() {
    // A question the scan thread waits for is given up, then the thread ends.
    if (messages_)
        messages_->CancelWaits();
    awaitingEnd_ = false;
    lists_.doc.StopScan();
}

} // namespace ostravion::gui

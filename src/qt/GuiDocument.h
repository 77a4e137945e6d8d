// The program's document: the core's document with its two result lists,
// its scan thread and the hand-over of the scan's programs to the
// user-interface thread, as the main window asks for them.
#pragma once

#include "desktop/DesktopDocument.h"
#include "desktop/ScanHandOver.h"
#include "doc/AuditLists.h"
#include "platform/Native.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <mutex>
#include <vector>

namespace ostravion {
class DesktopFlows;
}

namespace ostravion::gui {

class GuiMessages;

// The hand-over of the scan's work to the user-interface thread, woken
// through Qt's event queue.
class GuiScanHost final : public QObject, public ScanHandOver {
    Q_OBJECT
public:
    explicit GuiScanHost(QObject* parent = nullptr) : QObject(parent) {}

protected:
    void Wake() override;
};

// Creation dates of listed files: the path as the list writes it (a drive
// letter where a folder stands in for a drive) is mapped to this system's
// path first.
class MappedFileDates final : public FileDates {
public:
    explicit MappedFileDates(NativePlatform& platform) : platform_(platform) {}
    bool Created(const std::string& path, LocalTime& out) const override;
    // Reads the drive list again (a new scan may walk other drives).
    void Refresh();

private:
    NativePlatform& platform_;
    std::vector<Drive> drives_;
    bool read_ = false;
};

class GuiDocument final : public DesktopDocument {
public:
    GuiDocument(CAuditUtil& util, NativePlatform& platform, const SystemInfo& system,
                GuiMessages* messages);
    ~GuiDocument() override;

    // The flows hear of a completed scan and of the arrangement a loaded
    // total calls for.
    void SetFlows(DesktopFlows* flows);
    COstravionDoc& Doc() { return lists_.doc; }
    CResultList& NormalList() { return lists_.normal; }
    CResultList& ExtendedList() { return lists_.extended; }
    GuiScanHost& Host() { return host_; }

    void SetLayoutMode(unsigned char mode) override;
    void ClearViews() override;
    void LoadTotal() override;
    bool SaveTotal() override;
    void Consolidate() override;
    void PrepareScanProgress(const std::string& text) override;
    void BeginInspection(const PcFacts& facts) override;
    void StopScan() override;
    bool ScanRunning() const override { return lists_.doc.ScanRunning(); }

private:
    CAuditUtil& util_;
    NativePlatform& platform_;
    const SystemInfo& system_;
    GuiMessages* messages_;
    // The host outlives the document, whose scan thread may still call it
    // while the document goes.
    GuiScanHost host_;
    MappedFileDates dates_;
    AuditLists lists_;
    DesktopFlows* flows_ = nullptr;
    bool awaitingEnd_ = false; // a started scan has neither completed nor been stopped
};

} // namespace ostravion::gui

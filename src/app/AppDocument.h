// What the main window asks of the document. The program's document
// implements it over the core; tests put a recording stand-in in its place.
#pragma once

namespace ostravion::gui {

class AppDocument {
public:
    virtual ~AppDocument() = default;
    // Stores the layout flag and rebuilds both views' columns.
    virtual void SetLayoutMode(unsigned char mode) = 0;
    // Empties both views, normal view first.
    virtual void ClearViews() = 0;
    // Fills both views from the total file the current result names name.
    virtual void LoadTotal() = 0;
    virtual void SaveTotal() = 0;
    virtual void Consolidate() = 0;
    // The number of top-level folders of all fixed drives, for the scan's
    // progress range.
    virtual long long CountTopFolders() = 0;
    virtual void StartScan() = 0;
    // Ends a running scan (nothing reaches the views afterwards) and writes
    // the per-PC result file.
    virtual void StopScan() = 0;
    virtual void WriteScanResults() = 0;
    // Ends a running scan without writing anything: the window is closing.
    virtual void AbandonScan() = 0;
};

} // namespace ostravion::gui

// What the main window asks of the document. The program's document
// implements it over the core; tests put a recording stand-in in its place.
#pragma once

#include <string>

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
    // Shows the scan's progress bar with `text` (CP949), its range made from
    // the top-level folders of all fixed drives.
    virtual void PrepareScanProgress(const std::string& text) = 0;
    virtual void StartScan() = 0;
    // Ends a running scan (nothing reaches the views afterwards) and writes
    // the per-PC result file.
    virtual void StopScan() = 0;
    virtual void WriteScanResults() = 0;
    // Ends a running scan's thread without writing anything. With `deliver`,
    // the programs it found up to then reach the views first; without, they
    // are dropped (the window is going).
    virtual void EndScanThread(bool deliver) = 0;
};

} // namespace ostravion::gui

// What the desktop flows ask of the document: the core's document with its
// two lists and its scan, as the program wires it. Tests put a recording
// stand-in in its place.
#pragma once

#include "util/Types.h"

#include <string>

namespace ostravion {

class DesktopDocument {
public:
    virtual ~DesktopDocument() = default;
    // Stores the layout flag and rebuilds both views' columns.
    virtual void SetLayoutMode(unsigned char mode) = 0;
    // Empties both views, normal view first.
    virtual void ClearViews() = 0;
    // Fills both views from the total file the current result names name.
    virtual void LoadTotal() = 0;
    // Saves the lists to the total and written-result files; false when
    // nothing was replaced.
    virtual bool SaveTotal() = 0;
    // Merges the chosen per-PC files into the total and the lists; false
    // when the total file could not be written.
    virtual bool Consolidate() = 0;
    // Shows the scan's progress bar with `text` (CP949), its range made from
    // the top-level folders of all fixed drives.
    virtual void PrepareScanProgress(const std::string& text) = 0;
    // Takes the facts and names of the run, switches to the scan layout,
    // sets WorkState 1 and starts the scan on its own thread. When it
    // completes, the document has written the per-PC file and set the work
    // state to 0, and the flows' ScanCompleted runs on the user-interface
    // thread.
    virtual void BeginInspection(const PcFacts& facts) = 0;
    // Ends a running scan (nothing reaches the views afterwards) and writes
    // the per-PC result file, whether or not a scan was running.
    virtual void StopScan() = 0;
    // True while a scan's thread runs.
    virtual bool ScanRunning() const = 0;
    // After a completed scan: what its walk could not read, as the message
    // that says so (CP949); empty when it read everything.
    virtual std::string ScanFaultText() const { return std::string(); }
};

} // namespace ostravion

// Records shared by every subsystem.
#pragma once

#include <array>
#include <string>

namespace ostravion {

// One identified program: sixteen texts in fixed slots.
struct FoundProgram {
    std::string Origin; // "2" from the key list, "9" not in it
    std::string KeyColumn0;
    std::string Kind; // key list column 1; "OS" marks an operating-system entry
    std::string KeyColumn2;
    std::string ProgramName;
    std::string Version;
    std::string FileName;
    std::string FileSize;
    std::string KeyColumn7;
    std::string Company;      // rights holder
    std::string DomesticCode; // "1" domestic, "2" foreign, or empty
    std::string Class;        // "1".."4"
    std::string Folder;       // ends with the folder separator
    std::string InstalledCount;
    std::string GenuineCount;
    std::string CopyCount;
    // Not a slot: the file's name as the walk found it, for looking the file
    // up again (FileName holds the key list's spelling once it is
    // identified). No file of the system holds it.
    std::string FoundName;

    // Every slot empty; the texts keep their storage, as the scan clears and
    // refills one record per file.
    void Clear() {
        for (std::string* slot : Slots())
            slot->clear();
        FoundName.clear();
    }
    std::array<std::string*, 16> Slots() {
        return {&Origin,   &KeyColumn0,     &Kind,         &KeyColumn2, &ProgramName,  &Version,
                &FileName, &FileSize,       &KeyColumn7,   &Company,    &DomesticCode, &Class,
                &Folder,   &InstalledCount, &GenuineCount, &CopyCount};
    }
    bool operator==(const FoundProgram&) const = default;
};

// The five texts naming one inspected PC, in their fixed order.
struct PcFacts {
    std::string Group;
    std::string ComputerName;
    std::string User;
    std::string PcModel;
    std::string ScanTime;
    bool operator==(const PcFacts&) const = default;
};

// Where the audit work stands.
enum WorkStateValue : int {
    kIdle = 0,
    kScanning = 1,
    kTotalOpened = 2,
    kConsolidated = 3,
    kWritingResult = 4,
    kSaved = 5,
    kSavedAs = 6,
    kEdited = 7,
    kPrinted = 8,
    kStartDialogOpen = 9,
};

// Layout flag values.
enum LayoutMode : unsigned char { kTotalLayout = 0, kScanLayout = 1 };

} // namespace ostravion

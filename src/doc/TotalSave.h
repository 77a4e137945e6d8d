// Saving the two lists to the total and written-result files, and loading a
// total file into them.
#pragma once

#include "doc/Consolidation.h"
#include "util/AuditUtil.h"
#include "util/Types.h"

#include <string>

namespace ostravion {

namespace totalsave {
// "저장되었습니다."
inline constexpr const char* kSaved = "\xC0\xFA\xC0\xE5\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.";
} // namespace totalsave

// One list as the save writers see it.
class SaveList {
public:
    virtual ~SaveList() = default;
    // The list's own sort on its third column (rights holder), ascending.
    virtual void SortByCompany() = 0;
    virtual int RowCount() const = 0;
    // The stored program behind a displayed row; null when there is none.
    virtual const FoundProgram* Program(int row) const = 0;
    virtual bool Ticked(int row) const = 0;
};

// The flag a saved row is written with: "9" when its box is clear; for a
// ticked row "2" in the normal list with class "1", "0" otherwise.
std::string SavedFlag(const FoundProgram& p, bool ticked, bool normalList);

// The save of a total file from the lists, normal list first: the
// administrative values and the PC history come from the previous total
// (the current total file; after a save under a new name, the path recorded
// by that command), every row goes to the total file and the ticked ones to
// the written-result file. Both files are written beside their names and
// replace them only once the two writers are done, so a failed save leaves
// the previous files as they were. Shows one message: "저장되었습니다.",
// "Result File Open Error..." when the previous total cannot be read, or
// "Write File Open Error...!!".
bool SaveTotal(CAuditUtil& util, SaveList& normal, SaveList& extended);

// Fills the lists through `sink` from the current total file: its rows
// (ReadTotalRows) of at least thirteen fields. Shows
// "Result File Open Error..." and returns false, handing over nothing, when
// the file cannot be read. The arrangement is picked after a consolidation or
// an opening (work states 3 and 2).
bool LoadTotal(CAuditUtil& util, TotalRowSink& sink);

} // namespace ostravion

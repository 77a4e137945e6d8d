// The document: the hub between the scan, the two result lists and the
// result files. It keeps no program table of its own: the programs on show
// live in the lists' row stores.
#pragma once

#include "util/AuditUtil.h"
#include "util/Types.h"
#include "views/ResultList.h"

namespace ostravion {

class COstravionDoc {
public:
    COstravionDoc(CAuditUtil& util, COstravionView& normal, CExtendView& extended);
    virtual ~COstravionDoc();
    COstravionDoc(const COstravionDoc&) = delete;
    COstravionDoc& operator=(const COstravionDoc&) = delete;

    CAuditUtil& Util() const { return util_; }
    COstravionView& NormalView() const { return normal_; }
    CExtendView& ExtendedView() const { return extended_; }

    // Stores the layout flag, then rebuilds the columns of both lists for it
    // (normal list first); their rows are gone afterwards.
    void SetLayoutMode(unsigned char mode);

    // Routes one program to a list. The first program after the lists were
    // restarted clears both lists first. A name shorter than 2 bytes is not
    // shown. In the scan layout a program whose name (letter case aside) is
    // already listed with a class not greater than its own becomes class "4".
    // Classes "3" and "4" go to the extended list, every other to the normal one.
    void AddFoundProgram(const FoundProgram& p);

    // The next program added clears both lists first (a loaded file, a
    // consolidation or a new scan replaces what they show).
    void RestartLists() { listsStarted_ = false; }
    bool ListsStarted() const { return listsStarted_; }
    // Clears both lists now (normal list first) and marks them started.
    void ClearLists();

    // The per-PC result file from both lists: the normal list sorted by rights
    // holder with the header, then the extended list sorted the same way; then
    // the journal is deleted. Failures show "Write File Open Error...!!"; the
    // journal is kept unless the whole file was written. True when it was.
    bool WriteScanResults();

    // Number of per-PC files of the last consolidation.
    int PcCount() const { return pcCount_; }
    void SetPcCount(int n) { pcCount_ = n; }

private:
    CAuditUtil& util_;
    COstravionView& normal_;
    CExtendView& extended_;
    bool listsStarted_ = false;
    int pcCount_ = 0;
};

// The rows of a list in display order, each as its stored program.
std::vector<const FoundProgram*> RowsInDisplayOrder(const CResultList& list);

} // namespace ostravion

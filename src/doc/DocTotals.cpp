// The document's part in consolidating, saving and loading total files and
// in reading them for the reports.
#include "doc/OstravionDoc.h"

#include "doc/TotalReaders.h"
#include "doc/TotalSave.h"
#include "files/TotalFile.h"

namespace ostravion {

namespace {

// Rows of a total go to the document, which routes them to its lists.
class DocumentRows final : public TotalRowSink {
public:
    DocumentRows(COstravionDoc& doc, const std::function<void(bool)>& arrangement)
        : doc_(doc), arrangement_(arrangement) {}
    void RestartLists() override { doc_.RestartLists(); }
    void AddFoundProgram(const FoundProgram& p) override { doc_.AddFoundProgram(p); }
    void ShowArrangement() override {
        if (arrangement_)
            arrangement_(doc_.ExtendedView().RowCount() > 0);
    }

private:
    COstravionDoc& doc_;
    const std::function<void(bool)>& arrangement_;
};

// A list as the save writers read it.
class ListRows final : public SaveList {
public:
    explicit ListRows(CResultList& list) : list_(list) {}
    void SortByCompany() override { list_.SortByColumn(kCompanyColumn, true); }
    int RowCount() const override { return list_.RowCount(); }
    const FoundProgram* Program(int row) const override { return list_.StoredForRow(row); }
    bool Ticked(int row) const override { return list_.GetCheck(row) == 1; }

private:
    CResultList& list_;
};

} // namespace

ConsolidationSummary COstravionDoc::Consolidate() {
    DocumentRows rows(*this, arrangement_);
    const ConsolidationSummary summary = ostravion::Consolidate(util_, rows);
    pcCount_ = static_cast<int>(summary.pcCount);
    return summary;
}

bool COstravionDoc::SaveTotal() {
    ListRows normal(normal_), extended(extended_);
    return ostravion::SaveTotal(util_, normal, extended);
}

bool COstravionDoc::LoadTotal() {
    DocumentRows rows(*this, arrangement_);
    return ostravion::LoadTotal(util_, rows);
}

bool COstravionDoc::ReadResultRows(std::vector<ResultRow>& target, AdminValues& admin,
                                   int reportKind) const {
    return ostravion::ReadResultRows(util_, target, admin, reportKind);
}

bool COstravionDoc::ReadPcHistory(PcHistory& target) const {
    return ostravion::ReadPcHistory(util_, target);
}

} // namespace ostravion

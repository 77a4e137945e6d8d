#include "views/ResultList.h"

#include "util/ListSort.h"
#include "util/Text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace ostravion {

namespace {
// Column captions (CP949).
constexpr const char* kNumber = "\xBC\xF8\xB9\xF8";                          // 순번
constexpr const char* kClass = "\xB1\xB8\xBA\xD0";                           // 구분
constexpr const char* kCompany = "\xC0\xFA\xC0\xDB\xB1\xC7\xBB\xE7";         // 저작권사
constexpr const char* kProgram = "\xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xB8\xED"; // 프로그램명
constexpr const char* kVersion = "\xB9\xF6\xC1\xAF\xC1\xA4\xBA\xB8";         // 버젼정보
constexpr const char* kInstalled = "\xBC\xB3\xC4\xA1\xB0\xB9\xBC\xF6";       // 설치갯수
constexpr const char* kMadeOn = "\xB8\xB8\xB5\xE7\xB3\xAF\xC2\xA5";          // 만든날짜
constexpr const char* kPath = "\xC6\xC4\xC0\xCF\xB0\xE6\xB7\xCE";            // 파일경로

std::string RowNumber(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%3d", n);
    return buf;
}

FoundProgram StoredCopy(const FoundProgram& p) {
    FoundProgram s;
    s.Origin = text::DashIfEmpty(p.Origin);
    s.KeyColumn0 = text::DashIfEmpty(p.KeyColumn0);
    s.Kind = text::DashIfEmpty(p.Kind);
    s.KeyColumn2 = text::DashIfEmpty(p.KeyColumn2);
    s.ProgramName = text::DashIfEmpty(p.ProgramName);
    s.Version = text::DashIfEmpty(p.Version);
    // No file shows these two, but the candidates file beside the per-PC
    // file names the executable and its size.
    s.FileName = p.FileName;
    s.FileSize = p.FileSize;
    s.KeyColumn7 = text::DashIfEmpty(p.KeyColumn7);
    s.Company = text::DashIfEmpty(p.Company);
    s.DomesticCode = text::DashIfEmpty(p.DomesticCode);
    s.Class = text::DashIfEmpty(p.Class);
    s.Folder = text::DashIfEmpty(p.Folder);
    s.InstalledCount = text::DashIfEmpty(p.InstalledCount);
    s.GenuineCount = text::DashIfEmpty(p.GenuineCount);
    s.CopyCount = text::DashIfEmpty(p.CopyCount);
    return s;
}
} // namespace

const std::vector<ListColumn>& LayoutColumns(unsigned char layout) {
    static const std::vector<ListColumn> total = {{kNumber, 60},   {kClass, 40},
                                                  {kCompany, 150}, {kProgram, 200},
                                                  {kVersion, 100}, {kInstalled, 100}};
    static const std::vector<ListColumn> scan = {{kNumber, 60},   {kClass, 40},    {kCompany, 150},
                                                 {kProgram, 200}, {kVersion, 100}, {kMadeOn, 100},
                                                 {kPath, 300}};
    return layout == kTotalLayout ? total : scan;
}

std::string CreationDateText(const LocalTime& t) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", t.year, t.month, t.day);
    return buf;
}

CResultList::CResultList(CAuditUtil& util, const FileDates* dates) : util_(util), dates_(dates) {}

void CResultList::AddObserver(ListObserver* o) {
    if (o && std::find(observers_.begin(), observers_.end(), o) == observers_.end())
        observers_.push_back(o);
}

void CResultList::RemoveObserver(ListObserver* o) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), o), observers_.end());
}

void CResultList::FreshStore() {
    store_.clear();
    store_.shrink_to_fit();
    leastClassByName_.clear();
}

void CResultList::BuildColumns() {
    if (HasColumns())
        return;
    FreshStore();
    rows_.clear();
    counter_ = 0;
    layout_ = util_.GetLayoutFlag() == kTotalLayout ? kTotalLayout : kScanLayout;
    columns_ = LayoutColumns(layout_);
    sortFlag_ = 0;
    Notify([&](ListObserver& o) { o.ColumnsChanged(*this); });
}

void CResultList::RemoveColumns() {
    rows_.clear();
    columns_.clear();
    counter_ = kNoColumns;
    Notify([&](ListObserver& o) { o.ColumnsChanged(*this); });
}

void CResultList::Clear() {
    FreshStore();
    rows_.clear();
    counter_ = 0;
    sortFlag_ = 0;
    Notify([&](ListObserver& o) { o.RowsCleared(*this); });
}

CResultList::Row CResultList::MakeRow(const FoundProgram& p, int number) const {
    Row r;
    r.cells.reserve(7);
    r.cells.push_back(RowNumber(number));
    r.cells.push_back(p.Class);
    r.cells.push_back(p.Company);
    r.cells.push_back(p.ProgramName);
    r.cells.push_back(p.Version);
    if (layout_ == kTotalLayout) {
        r.cells.push_back(p.InstalledCount);
        r.check = (p.Origin == "2" || p.Origin == "0") ? 1 : 0;
    } else {
        std::string made;
        LocalTime t;
        // The file the walk found, whatever the key list calls it.
        const std::string& name = p.FoundName.empty() ? p.FileName : p.FoundName;
        if (dates_ && dates_->Created(p.Folder + name, t))
            made = CreationDateText(t);
        r.cells.push_back(std::move(made));
        r.cells.push_back(p.Folder);
    }
    return r;
}

void CResultList::AddFoundProgram(const FoundProgram& p) {
    // A list always has its columns before it holds rows.
    BuildColumns();

    FoundProgram s = StoredCopy(p);
    const std::string key = text::ToUpper(s.ProgramName);
    const auto it = leastClassByName_.find(key);
    if (it == leastClassByName_.end())
        leastClassByName_.emplace(key, s.Class);
    else if (text::Compare(s.Class, it->second) < 0)
        it->second = s.Class;
    store_.push_back(std::make_shared<const FoundProgram>(std::move(s)));

    // New rows go to the end, whatever order a sort has left the others in;
    // the row number is the store entry's number.
    const int at = counter_;
    rows_.push_back(MakeRow(p, counter_ + 1));
    ++counter_;
    Notify([&](ListObserver& o) { o.RowAdded(*this, at); });
}

bool CResultList::HasNameWithClassAtMost(const std::string& name, const std::string& cls) const {
    const auto it = leastClassByName_.find(text::ToUpper(text::DashIfEmpty(name)));
    return it != leastClassByName_.end() && text::Compare(it->second, cls) <= 0;
}

std::string CResultList::ItemText(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0)
        return std::string();
    const Row& r = rows_[static_cast<std::size_t>(row)];
    if (column >= ColumnCount() || column >= static_cast<int>(r.cells.size()))
        return std::string();
    return r.cells[static_cast<std::size_t>(column)];
}

int CResultList::GetCheck(int row) const {
    if (row < 0 || row >= RowCount() || !HasCheckBoxes())
        return kNoCheckBox;
    return rows_[static_cast<std::size_t>(row)].check;
}

bool CResultList::SetCheck(int row, bool ticked) {
    if (GetCheck(row) == kNoCheckBox)
        return false;
    Row& r = rows_[static_cast<std::size_t>(row)];
    const int state = ticked ? 1 : 0;
    if (r.check != state) {
        r.check = state;
        Notify([&](ListObserver& o) { o.CheckChanged(*this, row); });
        ItemChanged();
    }
    return true;
}

const FoundProgram* CResultList::StoredForRow(int row) const {
    return SharedForRow(row).get();
}

std::shared_ptr<const FoundProgram> CResultList::SharedForRow(int row) const {
    if (row < 0 || row >= RowCount())
        return nullptr;
    const long n = std::strtol(rows_[static_cast<std::size_t>(row)].cells[0].c_str(), nullptr, 10);
    if (n < 1 || static_cast<std::size_t>(n) > store_.size())
        return nullptr;
    return store_[static_cast<std::size_t>(n - 1)];
}

void CResultList::SortByColumn(int column, bool ascending) {
    if (column < 0 || column >= ColumnCount())
        return;
    const auto c = static_cast<std::size_t>(column);
    SortRowsByText(
        rows_, [c](const Row& r) -> const std::string& { return r.cells[c]; }, ascending);
    Notify([&](ListObserver& o) { o.RowsMoved(*this); });
}

void CResultList::ColumnClicked(int column) {
    sortFlag_ = sortFlag_ == 0 ? 1 : 0;
    SortByColumn(column, sortFlag_ == 1);
}

std::string CResultList::DoubleClicked(int row) {
    if (!HasColumns() || layout_ != kScanLayout)
        return std::string();
    if (row < 0)
        return std::string();
    return ItemText(row, 6);
}

void CResultList::CheckToggled(int row) {
    if (GetCheck(row) == kNoCheckBox)
        return;
    SetCheck(row, GetCheck(row) == 0);
}

// After a check change, by click, by key or by a call: every change of a
// shown total marks the work edited, whatever command ran last (a cancelled
// start dialog or result writing included), so that Exit, the next start and
// any command that replaces the total offer to save it. A box exists only in
// the total layout.
void CResultList::ItemChanged() {
    if (layout_ != kTotalLayout || util_.GetWorkState() == kScanning)
        return;
    util_.SetWorkState(kEdited);
    Notify([&](ListObserver& o) { o.WorkEdited(*this); });
}

} // namespace ostravion

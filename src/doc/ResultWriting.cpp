#include "doc/ResultWriting.h"

#include "doc/OstravionDoc.h"
#include "doc/SharedWrite.h"
#include "files/ReplaceFiles.h"
#include "files/TotalFile.h"
#include "util/ListSort.h"
#include "util/Text.h"
#include "views/ReportLayout.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <unordered_set>

namespace ostravion {

using namespace resultwriting;

namespace {

constexpr std::size_t kShortestRow = 11;

// Column captions (CP949).
const std::vector<ListColumn>& ColumnTable() {
    static const std::vector<ListColumn> columns = {
        {"\xB9\xF8\xC8\xA3", 50},                          // 번호
        {"\xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xB8\xED", 200}, // 프로그램명
        {"\xC0\xFA\xC0\xDB\xBB\xE7\xB8\xED", 200},         // 저작사명
        {"\xBC\xB3\xC4\xA1\xBC\xF6\xB7\xAE", 80},          // 설치수량
        {"\xC1\xA4\xC7\xB0\xBC\xF6\xB7\xAE", 80},          // 정품수량
        {"\xBA\xB9\xC1\xA6\xBC\xF6\xB7\xAE", 80},          // 복제수량
        {"\xBA\xD2\xB9\xFD\xBA\xB9\xC1\xA6\xC0\xB2", 100}, // 불법복제율
        {"\xBA\xF1\xB0\xED", 80},                          // 비고
    };
    return columns;
}

template <typename Values> auto* FieldSlot(Values& a, ResultField field) {
    switch (field) {
    case ResultField::CheckDepartment:
        return &a.checkDepartment;
    case ResultField::Checker:
        return &a.checker;
    case ResultField::ConfirmDepartment:
        return &a.confirmDepartment;
    case ResultField::Confirmer:
        return &a.confirmer;
    case ResultField::PcCount:
        return &a.pcCount;
    case ResultField::Remark:
        break;
    }
    return &a.remark;
}

// Line breaks of every kind become CR LF; a TAB becomes a blank.
std::string RemarkText(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
                ++i;
        } else {
            out += c == '\t' ? ' ' : c;
        }
    }
    return out;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A count cell as a number, held within the int range so that a difference
// of two never overflows.
long long Count(std::string_view text) {
    const long long v = CountValue(text);
    return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : v;
}

// The copy count and rate cells from the two count cells: installed − genuine,
// and that as a share of the installed count.
void DeriveCells(ResultWriteRow& r) {
    const long long installed = Count(r.cells[kResultInstalled]);
    const long long copies = installed - Count(r.cells[kResultGenuine]);
    r.cells[kResultCopies] = std::to_string(copies);
    r.cells[kResultRate] = RateText(copies, installed);
}

} // namespace

// ---------------------------------------------------------------------------
// Counts

bool ParseCount(std::string_view s, int& value) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size())
        return false;
    value = v;
    return true;
}

// ---------------------------------------------------------------------------
// Reading rows

void ReadResultWriteRows(std::string_view bytes, std::vector<ResultWriteRow>& rows,
                         std::vector<FoundProgram>& store) {
    rows.clear();
    store.clear();
    std::vector<std::string_view> lines, fields;
    text::SplitTextViews(bytes, "\r\n", lines);
    const TotalParts parts = FindTotalParts(lines);
    for (std::size_t i = parts.list + 1; i < parts.history; ++i) {
        text::SplitTextViews(lines[i], "\t", fields);
        if (fields.size() < kShortestRow || fields[0] == "9")
            continue;
        store.push_back(ProgramFromRowLine(fields));
        const FoundProgram& s = store.back();
        ResultWriteRow r;
        r.cells[kResultNumber] = std::to_string(rows.size() + 1);
        r.cells[kResultProgram] = s.ProgramName;
        r.cells[kResultCompany] = s.Company;
        r.cells[kResultInstalled] = text::ZeroIfBlank(s.InstalledCount);
        r.cells[kResultGenuine] = text::ZeroIfBlank(s.GenuineCount);
        DeriveCells(r);
        r.cells[kResultRemark] = s.Origin == "2" ? kNormal : kException;
        rows.push_back(std::move(r));
    }
}

namespace {
// The program names of the row lines of a total or written result, each once
// per line, letter case aside, sorted; with `counted` only the rows that
// count (not flagged "9").
std::vector<std::string> ProgramNames(std::string_view bytes, bool counted) {
    std::vector<std::string_view> lines, fields;
    text::SplitTextViews(bytes, "\r\n", lines);
    const TotalParts parts = FindTotalParts(lines);
    std::vector<std::string> names;
    for (std::size_t i = parts.list + 1; i < parts.history; ++i) {
        text::SplitTextViews(lines[i], "\t", fields);
        if (fields.size() < kShortestRow || (counted && fields[0] == "9"))
            continue;
        names.push_back(text::ToLower(ProgramFromRowLine(fields).ProgramName));
    }
    std::sort(names.begin(), names.end());
    return names;
}
} // namespace

// Every save writes the written result from the rows the total counts, so a
// written result is its total's when it lists the programs the total counts,
// by name as the counts are matched (letter case aside), each as often. One of
// an earlier or another consolidation would put its rows, and its PC count,
// over the total's at the next save.
bool ResultBelongsToTotal(std::string_view result, std::string_view total) {
    return ProgramNames(result, false) == ProgramNames(total, true);
}

// ---------------------------------------------------------------------------
// The model

CResultWriting::CResultWriting(CAuditUtil& util) : util_(util) {}

void CResultWriting::AddObserver(ResultWriteObserver* o) {
    observers_.push_back(o);
}

void CResultWriting::RemoveObserver(ResultWriteObserver* o) {
    std::erase(observers_, o);
}

const std::vector<ListColumn>& CResultWriting::Columns() {
    return ColumnTable();
}

std::size_t CResultWriting::FieldLimit(ResultField field) {
    switch (field) {
    case ResultField::CheckDepartment:
    case ResultField::ConfirmDepartment:
        return 50;
    case ResultField::Checker:
    case ResultField::Confirmer:
        return 20;
    case ResultField::PcCount:
        return 0; // no length of its own: digits, with the spin range 0 to 1000
    case ResultField::Remark:
        break;
    }
    return 500;
}

bool CResultWriting::Open() {
    util_.ShowProgress(kReading);
    util_.StepProgress(2);
    fields_ = {};
    rows_.clear();
    store_.clear();
    lastNumber_ = 0;
    sortFlag_ = 0;
    refused_ = false;

    std::string bytes, total;
    // Both are remembered as read, for the save to compare with.
    const bool totalRead = ReadRemembered(util_, util_.ResultPath(".tls"), total);
    bool read = ReadRemembered(util_, util_.ResultPath(".rst"), bytes);
    if (read && totalRead && !ResultBelongsToTotal(bytes, total)) {
        read = false;
        refused_ = true;
        util_.Messages().Show(std::string(totalfile::kResultFileOpenError) + "\n" +
                              msg::kForeignResult + "\n" + resultwriting::kForeignPrograms);
    } else if (!read) {
        util_.Messages().Show(totalfile::kResultFileOpenError);
    } else {
        std::vector<std::string_view> lines;
        text::SplitTextViews(bytes, "\r\n", lines);
        const AdminValues a = ReadAdminValues(lines);
        // Values are taken as if typed: a TAB (or a stray line break) in a
        // file not written here must not reach the saved files, where it
        // would split a value line into fields.
        fields_.checkDepartment = text::BlankControls(text::EmptyIfDash(a.checkDepartment));
        fields_.checker = text::BlankControls(text::EmptyIfDash(a.checker));
        fields_.confirmDepartment = text::BlankControls(text::EmptyIfDash(a.confirmDepartment));
        fields_.confirmer = text::BlankControls(text::EmptyIfDash(a.confirmer));
        fields_.pcCount = text::BlankControls(text::EmptyIfDash(a.pcCount));
        fields_.remark = RemarkText(text::EmptyIfDash(text::ReplaceAll(a.remark, "#r#n", "\r\n")));
        ReadResultWriteRows(bytes, rows_, store_);
        lastNumber_ = RowCount();
    }
    util_.StepProgress(2);
    util_.DestroyProgress();
    Notify([&](ResultWriteObserver& o) { o.ModelReset(*this); });
    return read;
}

const std::string& CResultWriting::Field(ResultField field) const {
    return *FieldSlot(fields_, field);
}

void CResultWriting::SetField(ResultField field, std::string_view value) {
    *FieldSlot(fields_, field) =
        field == ResultField::Remark ? RemarkText(value) : text::BlankControls(value);
    Notify([&](ResultWriteObserver& o) { o.FieldChanged(*this, field); });
}

const std::string& CResultWriting::ItemText(int row, int column) const {
    static const std::string empty;
    if (!ValidRow(row) || column < 0 || column >= kResultColumnCount)
        return empty;
    return rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
}

bool CResultWriting::GetCheck(int row) const {
    return ValidRow(row) && rows_[static_cast<std::size_t>(row)].checked;
}

bool CResultWriting::SetCheck(int row, bool checked) {
    if (!ValidRow(row))
        return false;
    rows_[static_cast<std::size_t>(row)].checked = checked;
    Notify([&](ResultWriteObserver& o) { o.CheckChanged(*this, row); });
    return true;
}

const FoundProgram* CResultWriting::StoredForRow(int row) const {
    if (!ValidRow(row))
        return nullptr;
    const long long number = Count(rows_[static_cast<std::size_t>(row)].cells[kResultNumber]);
    if (number < 1 || static_cast<std::size_t>(number) > store_.size())
        return nullptr;
    return &store_[static_cast<std::size_t>(number) - 1];
}

EditOutcome CResultWriting::EndEdit(int row, int column, const std::optional<std::string>& text) {
    if (!text || !ValidRow(row) || !IsEditableColumn(column))
        return EditOutcome::Ignored;
    int value = 0;
    if (!ParseCount(*text, value)) {
        util_.Messages().Show(kCountNotNumber);
        return EditOutcome::Refused;
    }
    ResultWriteRow& r = rows_[static_cast<std::size_t>(row)];
    r.cells[static_cast<std::size_t>(column)] = std::to_string(value);
    EditOutcome outcome = EditOutcome::Stored;
    if (Count(r.cells[kResultGenuine]) > Count(r.cells[kResultInstalled])) {
        util_.Messages().Show(kGenuineAboveInstalled);
        r.cells[kResultGenuine] = "0";
        outcome = EditOutcome::GenuineReset;
    }
    DeriveCells(r);
    Notify([&](ResultWriteObserver& o) { o.RowChanged(*this, row); });
    return outcome;
}

void CResultWriting::ColumnClicked(int column) {
    sortFlag_ = sortFlag_ == 0 ? 1 : 0;
    SortByColumn(column, sortFlag_ == 1);
}

void CResultWriting::SortByColumn(int column, bool ascending) {
    if (column < 0 || column >= kResultColumnCount)
        return;
    const auto c = static_cast<std::size_t>(column);
    SortRowsByText(
        rows_, [c](const ResultWriteRow& r) -> const std::string& { return r.cells[c]; },
        ascending);
    Notify([&](ResultWriteObserver& o) { o.RowsMoved(*this); });
}

bool CResultWriting::AddProgram(const NewProgram& given) {
    const std::string name = text::BlankControls(given.programName);
    const std::string company = text::BlankControls(given.company);
    if (name.empty() || given.installed.empty() || company.empty()) {
        util_.Messages().Show(kProgramFieldsRequired);
        return false;
    }
    int installed = 0;
    if (!ParseCount(given.installed, installed)) {
        util_.Messages().Show(kCountNotNumber);
        return false;
    }
    const std::string count = std::to_string(installed);
    const int number = ++lastNumber_;

    FoundProgram s;
    s.Origin = "0";
    s.Class = "3";
    s.Version = text::BlankControls(given.version);
    s.InstalledCount = count;
    s.GenuineCount = "0";
    s.CopyCount = "0";
    store_.resize(static_cast<std::size_t>(number));
    store_.back() = std::move(s);

    ResultWriteRow r;
    r.cells[kResultNumber] = std::to_string(number);
    r.cells[kResultProgram] = name;
    r.cells[kResultCompany] = company;
    r.cells[kResultInstalled] = count;
    r.cells[kResultGenuine] = "0";
    DeriveCells(r);
    r.cells[kResultRemark] = kException;
    rows_.push_back(std::move(r));
    const int row = RowCount() - 1;
    Notify([&](ResultWriteObserver& o) { o.RowAdded(*this, row); });
    return true;
}

int CResultWriting::DeleteCheckedRows() {
    bool asked = false;
    int deleted = 0;
    for (int row = RowCount() - 1; row >= 0; --row) {
        if (!rows_[static_cast<std::size_t>(row)].checked)
            continue;
        if (!asked) {
            asked = true;
            if (!util_.Messages().Ask(kDeleteQuestion))
                return 0;
        }
        rows_.erase(rows_.begin() + row);
        ++deleted;
        Notify([&](ResultWriteObserver& o) { o.RowRemoved(*this, row); });
    }
    if (!asked)
        util_.Messages().Show(kNothingSelected);
    return deleted;
}

bool CResultWriting::CheckRequiredFields() const {
    const std::pair<const std::string*, const char*> required[] = {
        {&fields_.checkDepartment, kNoCheckDepartment},
        {&fields_.checker, kNoChecker},
        {&fields_.confirmDepartment, kNoConfirmDepartment},
        {&fields_.confirmer, kNoConfirmer},
    };
    for (const auto& [value, message] : required) {
        if (value->empty()) {
            util_.Messages().Show(message);
            return false;
        }
    }
    return true;
}

bool CResultWriting::BuildFiles(std::string& total, std::string& result) const {
    std::string old;
    if (!util_.Files().ReadWhole(util_.ResultPath(".tls"), old))
        return false;

    AdminValues admin = fields_;
    admin.remark = text::ReplaceAll(admin.remark, "\r\n", "#r#n");
    result = AdminPartText(admin);
    for (int row = 0; row < RowCount(); ++row) {
        const FoundProgram* stored = StoredForRow(row);
        if (!stored)
            continue;
        const auto& cells = rows_[static_cast<std::size_t>(row)].cells;
        FoundProgram p = *stored;
        p.ProgramName = cells[kResultProgram];
        p.InstalledCount = cells[kResultInstalled];
        p.GenuineCount = cells[kResultGenuine];
        p.CopyCount = cells[kResultCopies];
        p.Company = cells[kResultCompany];
        result += RowLineText(p, stored->Origin);
    }

    // The old total's rows that do not count, and its PC history, stay.
    total = result;
    AppendUncountedRowLines(old, total);
    total += totalfile::kHistory;
    total += "\r\n";
    const std::size_t history = HistoryStart(old);
    if (history == std::string::npos)
        total += "-\r\n";
    else
        total.append(old, history, std::string::npos);
    return true;
}

bool CResultWriting::Save(COstravionDoc* reload) {
    SortByColumn(kResultCompany, true);
    util_.ShowProgress(kSaving);
    util_.StepProgress(1);

    const auto write = [&] {
        if (refused_) {
            util_.Messages().Show(totalfile::kResultFileOpenError);
            return false;
        }
        if (!CheckRequiredFields())
            return false;
        // One writer of the total at a time, and nothing another auditor
        // saved since the dialog read the files is overwritten.
        util_.SetChangedElsewhere(false);
        WriteLock lock(util_.Files(), util_.ResultPath(".tls"));
        if (!TakeLock(util_, lock))
            return false;
        if (const std::string changed =
                ChangedSinceRead(util_, {util_.ResultPath(".tls"), util_.ResultPath(".rst")});
            !changed.empty()) {
            TellChangedElsewhere(util_, changed);
            return false;
        }
        std::string total, result;
        if (!BuildFiles(total, result)) {
            util_.Messages().Show(totalfile::kResultFileOpenError);
            return false;
        }
        // Neither file is touched until both new ones are written whole; the
        // total goes first, as in a save from the lists.
        if (!ReplaceFiles(util_.Files(), {{util_.ResultPath(".tls"), std::move(total)},
                                          {util_.ResultPath(".rst"), std::move(result)}})) {
            util_.Messages().Show(totalfile::kWriteFileOpenError);
            return false;
        }
        RememberFiles(util_, {util_.ResultPath(".tls"), util_.ResultPath(".rst")});
        return true;
    };
    const bool saved = write();
    if (saved) {
        util_.SetResultNames(util_.ResultPath(".tls"), CAuditUtil::NameForm::Path);
        if (reload)
            reload->LoadTotal();
    }
    util_.StepProgress(1);
    util_.DestroyProgress();
    return saved;
}

} // namespace ostravion

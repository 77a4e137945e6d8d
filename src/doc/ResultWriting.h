// Writing the result of an audit: the administrative data (who audited, who
// confirmed, how many PCs, remarks) and, per program, the number of genuine
// licences, from which the copy count and the illegal-copy rate follow. The
// model holds everything the result-writing dialog shows and does; a dialog
// draws it, forwards the user's actions to it and follows its changes
// through an observer. Messages and questions go through the message port.
#pragma once

#include "files/ReportTables.h"
#include "util/AuditUtil.h"
#include "util/Types.h"
#include "views/ResultList.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostravion {

class COstravionDoc;

namespace resultwriting {
// Progress texts.
// "결과 파일을 읽는 중입니다.."
inline constexpr const char* kReading =
    "\xB0\xE1\xB0\xFA \xC6\xC4\xC0\xCF\xC0\xBB \xC0\xD0\xB4\xC2 "
    "\xC1\xDF\xC0\xD4\xB4\xCF\xB4\xD9..";
// "결과 파일 저장중입니다..."
inline constexpr const char* kSaving =
    "\xB0\xE1\xB0\xFA \xC6\xC4\xC0\xCF \xC0\xFA\xC0\xE5\xC1\xDF\xC0\xD4\xB4\xCF\xB4\xD9...";

// Messages and questions.
// "프로그램명, 설치수량, 저작권사 항목은 필수 항목입니다."
inline constexpr const char* kProgramFieldsRequired =
    "\xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xB8\xED, \xBC\xB3\xC4\xA1\xBC\xF6\xB7\xAE, "
    "\xC0\xFA\xC0\xDB\xB1\xC7\xBB\xE7 \xC7\xD7\xB8\xF1\xC0\xBA \xC7\xCA\xBC\xF6 "
    "\xC7\xD7\xB8\xF1\xC0\xD4\xB4\xCF\xB4\xD9.";
// "선택된 항목을 삭제하시겠습니까?"
inline constexpr const char* kDeleteQuestion =
    "\xBC\xB1\xC5\xC3\xB5\xC8 \xC7\xD7\xB8\xF1\xC0\xBB "
    "\xBB\xE8\xC1\xA6\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
// "선택된 항목이 없습니다."
inline constexpr const char* kNothingSelected =
    "\xBC\xB1\xC5\xC3\xB5\xC8 \xC7\xD7\xB8\xF1\xC0\xCC \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";
// "정품 소프트웨어 수량은 설치된 소프트웨어 수량을 넘을수 없습니다."
inline constexpr const char* kGenuineAboveInstalled =
    "\xC1\xA4\xC7\xB0 \xBC\xD2\xC7\xC1\xC6\xAE\xBF\xFE\xBE\xEE \xBC\xF6\xB7\xAE\xC0\xBA "
    "\xBC\xB3\xC4\xA1\xB5\xC8 \xBC\xD2\xC7\xC1\xC6\xAE\xBF\xFE\xBE\xEE "
    "\xBC\xF6\xB7\xAE\xC0\xBB \xB3\xD1\xC0\xBB\xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";
// "수량은 0 이상의 숫자로 입력해주세요." (a count that is not a whole number)
inline constexpr const char* kCountNotNumber =
    "\xBC\xF6\xB7\xAE\xC0\xBA 0 \xC0\xCC\xBB\xF3\xC0\xC7 \xBC\xFD\xC0\xDA\xB7\xCE "
    "\xC0\xD4\xB7\xC2\xC7\xD8\xC1\xD6\xBC\xBC\xBF\xE4.";
// "점검부서를 입력해주세요."
inline constexpr const char* kNoCheckDepartment =
    "\xC1\xA1\xB0\xCB\xBA\xCE\xBC\xAD\xB8\xA6 \xC0\xD4\xB7\xC2\xC7\xD8\xC1\xD6\xBC\xBC\xBF\xE4.";
// "점검자명을 입력해주세요."
inline constexpr const char* kNoChecker =
    "\xC1\xA1\xB0\xCB\xC0\xDA\xB8\xED\xC0\xBB \xC0\xD4\xB7\xC2\xC7\xD8\xC1\xD6\xBC\xBC\xBF\xE4.";
// "확인부서를 입력해주세요."
inline constexpr const char* kNoConfirmDepartment =
    "\xC8\xAE\xC0\xCE\xBA\xCE\xBC\xAD\xB8\xA6 \xC0\xD4\xB7\xC2\xC7\xD8\xC1\xD6\xBC\xBC\xBF\xE4.";
// "확인자명을 입력해주세요."
inline constexpr const char* kNoConfirmer =
    "\xC8\xAE\xC0\xCE\xC0\xDA\xB8\xED\xC0\xBB \xC0\xD4\xB7\xC2\xC7\xD8\xC1\xD6\xBC\xBC\xBF\xE4.";

// "결과 파일의 프로그램이 Total 파일의 프로그램과 다릅니다. 아무것도 쓰지 않았습니다."
inline constexpr const char* kForeignPrograms =
    "\xB0\xE1\xB0\xFA \xC6\xC4\xC0\xCF\xC0\xC7 \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0\xCC "
    "Total \xC6\xC4\xC0\xCF\xC0\xC7 \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xB0\xFA "
    "\xB4\xD9\xB8\xA8\xB4\xCF\xB4\xD9. \xBE\xC6\xB9\xAB\xB0\xCD\xB5\xB5 "
    "\xBE\xB2\xC1\xF6 \xBE\xCA\xBE\xD2\xBD\xC0\xB4\xCF\xB4\xD9.";

// The remark column: a key-list program that counts ("정상") or any other ("예외").
inline constexpr const char* kNormal = "\xC1\xA4\xBB\xF3";    // 정상
inline constexpr const char* kException = "\xBF\xB9\xBF\xDC"; // 예외

// The PC count's spin range.
inline constexpr int kPcCountMin = 0;
inline constexpr int kPcCountMax = 1000;
} // namespace resultwriting

// The columns of the program list, in order.
enum ResultColumn : int {
    kResultNumber = 0,    // 번호: the row number, 1-based, kept through sorts and deletions
    kResultProgram = 1,   // 프로그램명
    kResultCompany = 2,   // 저작사명 (rights holder)
    kResultInstalled = 3, // 설치수량, editable
    kResultGenuine = 4,   // 정품수량, editable
    kResultCopies = 5,    // 복제수량
    kResultRate = 6,      // 불법복제율
    kResultRemark = 7,    // 비고
    kResultColumnCount = 8,
};

// The administrative fields, in the order of the file and of the checks.
enum class ResultField { CheckDepartment, Checker, ConfirmDepartment, Confirmer, PcCount, Remark };

// One row of the program list: its eight cell texts and its check box.
struct ResultWriteRow {
    std::array<std::string, kResultColumnCount> cells;
    bool checked = false;
    bool operator==(const ResultWriteRow&) const = default;
};

// The rows a file holds for result writing: every line between the list's
// start and the history's (FindTotalParts), split at TAB, unless its first
// field is "9" or it has fewer than 11 fields. Each such line adds its fields to `store`
// (Origin holds the flag; fields beyond the line stay empty) and a row to
// `rows`, numbered from 1 in file order.
void ReadResultWriteRows(std::string_view bytes, std::vector<ResultWriteRow>& rows,
                         std::vector<FoundProgram>& store);

// Whether a written result is its total's: it lists the programs the total
// counts (rows not flagged "9"), by name (letter case aside), each as often.
bool ResultBelongsToTotal(std::string_view result, std::string_view total);

// A count typed by the user: blanks around it aside, digits only, at most the
// int range. False for anything else (an empty text included).
bool ParseCount(std::string_view text, int& value);

class CResultWriting;

// Follows the model's changes; every call comes after the change.
class ResultWriteObserver {
public:
    virtual ~ResultWriteObserver() = default;
    // Fields and rows were replaced (opening): show everything again.
    virtual void ModelReset(const CResultWriting&) {}
    virtual void FieldChanged(const CResultWriting&, ResultField) {}
    // A row was appended at `row`.
    virtual void RowAdded(const CResultWriting&, int /*row*/) {}
    // The row at `row` was removed; the rows below it moved up by one.
    virtual void RowRemoved(const CResultWriting&, int /*row*/) {}
    // Rows changed places (a sort).
    virtual void RowsMoved(const CResultWriting&) {}
    // Cell texts of a row changed (an edit and what follows from it).
    virtual void RowChanged(const CResultWriting&, int /*row*/) {}
    virtual void CheckChanged(const CResultWriting&, int /*row*/) {}
};

// What the end of an in-place edit did.
enum class EditOutcome {
    Ignored,      // cancelled, or a row or column that cannot be edited: nothing changed
    Stored,       // the count was stored and the row's copy count and rate recomputed
    GenuineReset, // as Stored, but the genuine count exceeded the installed count: its
                  // message was shown and the genuine count set to "0"
    Refused,      // not a whole number: its message was shown and the cell kept its text
};

// A program entered through the add-program dialog.
struct NewProgram {
    std::string programName;
    std::string installed; // digits
    std::string company;   // rights holder
    std::string version;
};

class CResultWriting {
public:
    explicit CResultWriting(CAuditUtil& util);
    CResultWriting(const CResultWriting&) = delete;
    CResultWriting& operator=(const CResultWriting&) = delete;

    void AddObserver(ResultWriteObserver* o);
    void RemoveObserver(ResultWriteObserver* o);

    // The list's columns: caption and width in pixels.
    static const std::vector<ListColumn>& Columns();
    // Only the installed and the genuine count are edited in place.
    static bool IsEditableColumn(int column) {
        return column == kResultInstalled || column == kResultGenuine;
    }
    // The longest text each field takes, in bytes (CP949); 0 for the PC count,
    // which is limited by its digits and spin range instead.
    static std::size_t FieldLimit(ResultField field);

    // Reads the written-result file of the current result names: the six
    // administrative values ("#r#n" in the remark back to line breaks, "-"
    // read as empty) and the program rows. When the file cannot be read,
    // shows "Result File Open Error..." and leaves the model empty, ready to
    // be filled and saved. A file whose rows are not the rows the total
    // counts (one with no rows for a total with counted rows, or one of
    // another total) is refused the same way, with a line saying so, and the
    // model will not save: its save would strip the total of its rows.
    // Drives the progress bar.
    bool Open();
    // Open found a written result that is not this total's.
    bool Refused() const { return refused_; }

    // The administrative fields. A line break given in the remark (LF, CR or
    // CR LF) is kept as CR LF; any other control character (TAB, and line
    // breaks in the one-line fields) becomes a blank.
    const std::string& Field(ResultField field) const;
    void SetField(ResultField field, std::string_view text);

    // The program list.
    int RowCount() const { return static_cast<int>(rows_.size()); }
    // A cell's text; empty outside the list.
    const std::string& ItemText(int row, int column) const;
    const ResultWriteRow& Row(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    // False when the row has no check box (outside the list).
    bool GetCheck(int row) const;
    bool SetCheck(int row, bool checked);

    // The row store: the thirteen fields of every row ever listed, indexed by
    // row number − 1; deleted rows keep their entries.
    std::size_t StoredCount() const { return store_.size(); }
    const FoundProgram& Stored(std::size_t index) const { return store_.at(index); }
    // The entry behind a displayed row, through its row number; null if none.
    const FoundProgram* StoredForRow(int row) const;
    // The last row number given out; the next added row gets one more.
    int LastNumber() const { return lastNumber_; }

    // The end of an in-place edit of (row, column): the new text, or none
    // when it was cancelled. A stored count is kept as its number; the
    // genuine count never exceeds the installed count.
    EditOutcome EndEdit(int row, int column, const std::optional<std::string>& text);

    // A click on a column header: flips the one direction flag and sorts by
    // the column's text, ascending when the flag became 1.
    void ColumnClicked(int column);
    void SortByColumn(int column, bool ascending);
    int SortFlag() const { return sortFlag_; }

    // Adds a program at the end of the list. Without program name, installed
    // count or rights holder shows the required-field message and returns
    // false (the add dialog opens again with the values typed so far).
    bool AddProgram(const NewProgram& program);

    // Deletes the ticked rows after one question; with no ticked row says so.
    // Returns the number of rows deleted.
    int DeleteCheckedRows();

    // The first empty one of the four required fields, in order, is named by
    // its message; false then.
    bool CheckRequiredFields() const;

    // Saves: sorts the rows by rights holder, checks the required fields
    // (nothing is written when one is empty), then writes the written-result
    // file and the total file from the rows in display order; the total file
    // keeps the rows flagged "9" and the PC history of the current total.
    // Neither file is replaced unless both were written whole. Afterwards the
    // result names are taken again from the total's path and, when a
    // document is given, its lists are loaded again from the saved total.
    // Drives the progress bar. False when nothing was saved (its message was
    // shown).
    bool Save(COstravionDoc* reload = nullptr);

private:
    template <typename F> void Notify(F f) {
        for (ResultWriteObserver* o : observers_)
            f(*o);
    }
    bool ValidRow(int row) const { return row >= 0 && row < RowCount(); }
    // The total file's new text and the written-result file's, or false when
    // the current total cannot be read.
    bool BuildFiles(std::string& total, std::string& result) const;

    CAuditUtil& util_;
    std::vector<ResultWriteObserver*> observers_;
    AdminValues fields_;
    std::vector<ResultWriteRow> rows_;
    std::vector<FoundProgram> store_;
    int lastNumber_ = 0;
    bool refused_ = false;
    int sortFlag_ = 0;
};

} // namespace ostravion

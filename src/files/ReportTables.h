// The tables that the report readers deliver to the printed reports.
#pragma once

#include <string>
#include <vector>

namespace ostravion {

// The six administrative values of a total or written-result file, in file order.
struct AdminValues {
    std::string checkDepartment;   // [점검부서]
    std::string checker;           // [점검자]
    std::string confirmDepartment; // [확인부서]
    std::string confirmer;         // [확인자]
    std::string pcCount;           // [PC수량]
    std::string remark;            // [기타], line breaks as stored ("#r#n")
    bool operator==(const AdminValues&) const = default;
};

// One row of the results by program (kind 3) or of the confirmation sheet (kind 4).
struct ResultRow {
    std::string classLetter; // "A", "B", "C" or "-"
    std::string company;
    std::string installed; // "-" or empty read as "0"
    std::string flag;
    std::string program;
    std::string genuine; // kind 4 only
    std::string copies;  // kind 4 only
    bool operator==(const ResultRow&) const = default;
};

// One line of the PC history of a total file.
struct PcHistoryLine {
    std::string computer;
    std::string company;
    std::string program;
    std::string folder;
    std::string classLetter; // "A".."D"
    bool operator==(const PcHistoryLine&) const = default;
};

struct PcHistory {
    std::vector<PcHistoryLine> lines;
    std::vector<int> perPcCounts; // lines of each PC, in order
};

} // namespace ostravion

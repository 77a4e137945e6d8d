// Building blocks for the texts of per-PC, total and result files in tests.
#pragma once

#include <initializer_list>
#include <string>

namespace ostravion::test {

// Headers and words in CP949.
inline const std::string kComputerH = "[\xC4\xC4\xC7\xBB\xC5\xCD\xB8\xED]"; // [컴퓨터명]
inline const std::string kUserH =
    "[\xBE\xD7\xC6\xBC\xBA\xEA\xBB\xE7\xBF\xEB\xC0\xDA]"; // [액티브사용자]
inline const std::string kModelH = "[\xC4\xC4\xC7\xBB\xC5\xCD\xB1\xE2\xC1\xBE]"; // [컴퓨터기종]
inline const std::string kTimeH = "[\xB0\xCB\xBB\xE7\xC0\xCF\xBD\xC3]";          // [검사일시]
inline const std::string kGroupH = "[\xB1\xD7\xB7\xEC]";                         // [그룹]
inline const std::string kListH = "[\xB8\xAE\xBD\xBA\xC6\xAE]";                  // [리스트]
inline const std::string kCheckDeptH = "[\xC1\xA1\xB0\xCB\xBA\xCE\xBC\xAD]";     // [점검부서]
inline const std::string kCheckerH = "[\xC1\xA1\xB0\xCB\xC0\xDA]";               // [점검자]
inline const std::string kConfirmDeptH = "[\xC8\xAE\xC0\xCE\xBA\xCE\xBC\xAD]";   // [확인부서]
inline const std::string kConfirmerH = "[\xC8\xAE\xC0\xCE\xC0\xDA]";             // [확인자]
inline const std::string kPcCountH = "[PC\xBC\xF6\xB7\xAE]";                     // [PC수량]
inline const std::string kRemarkH = "[\xB1\xE2\xC5\xB8]";                        // [기타]
inline const std::string kHangul = "\xC7\xD1\xB1\xDB";                           // 한글
inline const std::string kHancom = "\xC7\xD1\xC4\xC4";                           // 한컴

// Fields each followed by TAB, then CR LF.
inline std::string Line(std::initializer_list<std::string> fields) {
    std::string s;
    for (const std::string& f : fields)
        s += f + "\t";
    return s + "\r\n";
}

// The eleven header lines of a per-PC file.
inline std::string PerPcHeader(const std::string& computer) {
    return kComputerH + "\r\n" + computer + "\r\n" + kUserH + "\r\nkim\r\n" + kModelH +
           "\r\nIntel\r\n" + kTimeH + "\r\n2004-3-3, 9:5 \r\n" + kGroupH + "\r\nAcme\r\n" + kListH +
           "\r\n";
}

// The administrative part of a total or result file.
inline std::string AdminPart(const std::string& dept, const std::string& checker,
                             const std::string& confirmDept, const std::string& confirmer,
                             const std::string& pcs, const std::string& remark) {
    return kCheckDeptH + "\r\n" + dept + "\r\n" + kCheckerH + "\r\n" + checker + "\r\n" +
           kConfirmDeptH + "\r\n" + confirmDept + "\r\n" + kConfirmerH + "\r\n" + confirmer +
           "\r\n" + kPcCountH + "\r\n" + pcs + "\r\n" + kRemarkH + "\r\n" + remark +
           "\r\n\r\n\r\n" + kListH + "\r\n";
}

} // namespace ostravion::test

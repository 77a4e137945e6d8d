#include "desktop/ResourceTable.h"

#include "desktop/CommandStates.h"
#include "views/PrintSelection.h"
#include "views/ReportTexts.h"

namespace ostravion {

const std::vector<ResourceId>& ResourceIds() {
    static const std::vector<ResourceId> ids = {{"ID_SCAN_START", ID_SCAN_START},
                                                {"ID_SCAN_STOP", ID_SCAN_STOP},
                                                {"ID_CONSOLIDATE", ID_CONSOLIDATE},
                                                {"ID_WRITE_RESULT", ID_WRITE_RESULT},
                                                {"ID_FILE_OPEN", ID_FILE_OPEN},
                                                {"ID_FILE_SAVE", ID_FILE_SAVE},
                                                {"ID_FILE_SAVE_AS", ID_FILE_SAVE_AS},
                                                {"ID_FILE_PRINT", ID_FILE_PRINT},
                                                {"ID_FILE_PREVIEW", ID_FILE_PREVIEW},
                                                {"ID_APP_EXIT", ID_APP_EXIT},
                                                {"ID_ABOUT_PRODUCT", ID_ABOUT_PRODUCT},
                                                {"ID_FILE_PRINT_SETUP", ID_FILE_PRINT_SETUP},
                                                {"ID_ABOUT_ORG", ID_ABOUT_ORG},
                                                {"ID_HELP_GUIDE", ID_HELP_GUIDE},
                                                {"ID_EXPORT_CANDIDATES", ID_EXPORT_CANDIDATES},
                                                {"ID_NEXT_PANE", ID_NEXT_PANE},
                                                {"ID_PREV_PANE", ID_PREV_PANE},
                                                {"IDC_START", IDC_START},
                                                {"IDC_CONSOLIDATE", IDC_CONSOLIDATE},
                                                {"IDC_WRITE_RESULT", IDC_WRITE_RESULT},
                                                {"IDC_PRINT", IDC_PRINT},
                                                {"IDC_NORMAL", IDC_NORMAL},
                                                {"IDC_EXTENDED", IDC_EXTENDED},
                                                {"IDC_STOP", IDC_STOP},
                                                {"IDC_PRINT_BY_PC", kIdPrintByPc},
                                                {"IDC_PRINT_BY_SOFTWARE", kIdPrintBySoftware},
                                                {"IDC_PRINT_SHEET", kIdPrintSheet},
                                                {"IDC_PRINT_PLEDGE", kIdPrintPledge},
                                                {"IDC_PRINT_LEDGER", kIdPrintLedger},
#define OSTRAVION_LIST_ID(name, value) {#name, name},
                                                OSTRAVION_DIALOG_IDS(OSTRAVION_LIST_ID)
#undef OSTRAVION_LIST_ID
    };
    return ids;
}

const std::vector<ResourceText>& ResourceTexts() {
    // clang-format off
    static const std::vector<ResourceText> texts = {
        {"TXT_START", "\xB0\xCB\xBB\xE7\xBD\xC3\xC0\xDB"},           // 검사시작
        {"TXT_STOP", "\xB0\xCB\xBB\xE7\xC1\xDF\xC1\xF6"},            // 검사중지
        {"TXT_CONSOLIDATE", "\xB0\xCB\xBB\xE7\xC3\xEB\xC7\xD5"},     // 검사취합
        {"TXT_WRITE_RESULT", "\xB0\xE1\xB0\xFA\xC0\xDB\xBC\xBA"},    // 결과작성
        {"TXT_PRINT", "\xC0\xCE\xBC\xE2"},                           // 인쇄
        {"TXT_NORMAL", "\xC0\xCF\xB9\xDD(&N)"},                      // 일반(&N)
        {"TXT_EXTENDED", "\xC8\xAE\xC0\xE5(&E)"},                    // 확장(&E)
        {"TXT_DIALOG_FONT", "\xB1\xBC\xB8\xB2"},                     // 굴림
        {"TXT_PRINT_CAPTION", report_text::kSelectCaption},
        {"TXT_PRINT_RESULTS", report_text::kSelectResults},
        {"TXT_PRINT_BY_PC", report_text::kSelectByPc},
        {"TXT_PRINT_BY_SOFTWARE", report_text::kSelectBySw},
        {"TXT_PRINT_SHEET", report_text::kSelectSheet},
        {"TXT_PRINT_FORMS", report_text::kSelectForms},
        {"TXT_PRINT_PLEDGE", report_text::kSelectPledge},
        {"TXT_PRINT_LEDGER", report_text::kSelectLedger},
        {"TXT_PRINT_OK", report_text::kSelectOk},
        {"TXT_PRINT_CANCEL", report_text::kSelectCancel},
#define OSTRAVION_LIST_TEXT(name, text) {#name, name},
        OSTRAVION_DIALOG_TEXTS(OSTRAVION_LIST_TEXT)
#undef OSTRAVION_LIST_TEXT
    };
    // clang-format on
    return texts;
}

std::string OrgInfoText() {
    // clang-format off
    static const char* const paragraph[8] = {
        "Velmora\xB4\xC2 \xBC\xD2\xC7\xC1\xC6\xAE\xBF\xFE\xBE\xEE \xC0\xFA\xC0\xDB\xB1\xC7 \xBA\xB8\xC8\xA3 \xB4\xDC\xC3\xBC\xC0\xD4\xB4\xCF\xB4\xD9.", // Velmora는 소프트웨어 저작권 보호 단체입니다.
        "\xC1\xA4\xC7\xB0 \xBC\xD2\xC7\xC1\xC6\xAE\xBF\xFE\xBE\xEE \xBB\xE7\xBF\xEB \xB9\xAE\xC8\xAD\xB8\xA6 \xB3\xCE\xB8\xAE \xBE\xCB\xB8\xB3\xB4\xCF\xB4\xD9.", // 정품 소프트웨어 사용 문화를 널리 알립니다.
        "\xB1\xE2\xB0\xFC\xB0\xFA \xB1\xE2\xBE\xF7\xC0\xC7 \xBC\xD2\xC7\xC1\xC6\xAE\xBF\xFE\xBE\xEE \xC0\xDA\xBB\xEA\xB0\xFC\xB8\xAE\xB8\xA6 \xB5\xBD\xBD\xC0\xB4\xCF\xB4\xD9.", // 기관과 기업의 소프트웨어 자산관리를 돕습니다.
        "\xC1\xA4\xC7\xB0 \xBB\xE7\xBF\xEB \xBD\xC7\xC5\xC2 \xC1\xA1\xB0\xCB\xB0\xFA \xBB\xF3\xB4\xE3\xC0\xBB \xC1\xF6\xBF\xF8\xC7\xD5\xB4\xCF\xB4\xD9.", // 정품 사용 실태 점검과 상담을 지원합니다.
        "\xBA\xD2\xB9\xFD\xBA\xB9\xC1\xA6 \xBF\xB9\xB9\xE6 \xB1\xB3\xC0\xB0\xB0\xFA \xC8\xAB\xBA\xB8\xB8\xA6 \xC6\xEE\xC4\xA8\xB4\xCF\xB4\xD9.", // 불법복제 예방 교육과 홍보를 펼칩니다.
        "\xC0\xDA\xBB\xEA\xB0\xFC\xB8\xAE \xC1\xF6\xC4\xA7\xB0\xFA \xC1\xA1\xB0\xCB \xB5\xB5\xB1\xB8\xB8\xA6 \xBA\xB8\xB1\xDE\xC7\xD5\xB4\xCF\xB4\xD9.", // 자산관리 지침과 점검 도구를 보급합니다.
        "\xB1\xB9\xB3\xBB\xBF\xDC \xB0\xFC\xB7\xC3 \xB4\xDC\xC3\xBC\xBF\xCD \xC7\xD4\xB2\xB2 \xC0\xCF\xC7\xD5\xB4\xCF\xB4\xD9.", // 국내외 관련 단체와 함께 일합니다.
        "Ostravion\xC0\xBA \xB9\xAB\xB7\xE1\xB7\xCE \xB9\xE8\xC6\xF7\xB5\xC7\xB4\xC2 \xC1\xA1\xB0\xCB \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0\xD4\xB4\xCF\xB4\xD9.", // Ostravion은 무료로 배포되는 점검 프로그램입니다.
    };
    // clang-format on
    const std::string crlf = "\r\n";
    const std::string indent(11, ' ');
    std::string t;
    for (const char* line : paragraph)
        t += "   " + std::string(line) + crlf + crlf;
    t += crlf + crlf;
    t += indent + "\xC8\xA8\xC6\xE4\xC0\xCC\xC1\xF6: " + kHomePageAddress + crlf; // 홈페이지:
    t += indent + "\xB4\xEB\xC7\xA5\xC0\xFC\xC8\xAD: 02-000-0000" + crlf + crlf;  // 대표전화
    return t;
}

} // namespace ostravion

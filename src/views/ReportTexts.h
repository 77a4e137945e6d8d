// The fixed texts of the printed reports, forms and print-selection dialog,
// as CP949 bytes. Each is preceded by its reading.
#pragma once

namespace ostravion::report_text {

// Font faces requested by the reports.
// "굴림체"
inline constexpr const char kFaceGulimChe[] = "\xB1\xBC\xB8\xB2\xC3\xBC";
// "신명조체"
inline constexpr const char kFaceSinMyeongjoChe[] = "\xBD\xC5\xB8\xED\xC1\xB6\xC3\xBC";
// "바탕체"
inline constexpr const char kFaceBatangChe[] = "\xB9\xD9\xC5\xC1\xC3\xBC";
// "Time New Roman"
inline constexpr const char kFaceTimes[] = "Time New Roman";

// Progress and the no-data message.
// "데이타를 읽어오고  있습니다.."
inline constexpr const char kReadingData[] =
    "\xB5\xA5\xC0\xCC\xC5\xB8\xB8\xA6 \xC0\xD0\xBE\xEE\xBF\xC0\xB0\xED  "
    "\xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9..";
// "출력할 데이타가 없습니다."
inline constexpr const char kNoData[] =
    "\xC3\xE2\xB7\xC2\xC7\xD2 \xB5\xA5\xC0\xCC\xC5\xB8\xB0\xA1 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";

// Titles.
// "PC별 검사 결과"
inline constexpr const char kTitleByPc[] = "PC\xBA\xB0 \xB0\xCB\xBB\xE7 \xB0\xE1\xB0\xFA";
// "SW별 검사 결과"
inline constexpr const char kTitleBySw[] = "SW\xBA\xB0 \xB0\xCB\xBB\xE7 \xB0\xE1\xB0\xFA";
// "S/W 불법복제 점검결과 확인표"
inline constexpr const char kTitleSheet[] =
    "S/W \xBA\xD2\xB9\xFD\xBA\xB9\xC1\xA6 \xC1\xA1\xB0\xCB\xB0\xE1\xB0\xFA "
    "\xC8\xAE\xC0\xCE\xC7\xA5";
// "서 약 서"
inline constexpr const char kTitlePledge[] = "\xBC\xAD \xBE\xE0 \xBC\xAD";
// "S/W 관리 대장"
inline constexpr const char kTitleLedger[] = "S/W \xB0\xFC\xB8\xAE \xB4\xEB\xC0\xE5";

// Table header captions.
// "PC명"
inline constexpr const char kCapPcName[] = "PC\xB8\xED";
// "저작권사"
inline constexpr const char kCapCompany[] = "\xC0\xFA\xC0\xDB\xB1\xC7\xBB\xE7";
// "S/W명"
inline constexpr const char kCapSwName[] = "S/W\xB8\xED";
// "파일위치"
inline constexpr const char kCapFolder[] = "\xC6\xC4\xC0\xCF\xC0\xA7\xC4\xA1";
// "비고"
inline constexpr const char kCapNote[] = "\xBA\xF1\xB0\xED";
// "순번"
inline constexpr const char kCapSeq[] = "\xBC\xF8\xB9\xF8";
// "수량"
inline constexpr const char kCapQuantity[] = "\xBC\xF6\xB7\xAE";
// "번호"
inline constexpr const char kCapNumber[] = "\xB9\xF8\xC8\xA3";
// "저작자명"
inline constexpr const char kCapAuthor[] = "\xC0\xFA\xC0\xDB\xC0\xDA\xB8\xED";
// "프로그램명"
inline constexpr const char kCapProgram[] = "\xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xB8\xED";
// "설치수량"
inline constexpr const char kCapInstalled[] = "\xBC\xB3\xC4\xA1\xBC\xF6\xB7\xAE";
// "정품수량"
inline constexpr const char kCapGenuine[] = "\xC1\xA4\xC7\xB0\xBC\xF6\xB7\xAE";
// "복제수량"
inline constexpr const char kCapCopies[] = "\xBA\xB9\xC1\xA6\xBC\xF6\xB7\xAE";

// Subtotals and totals of the result reports.
// "%s 소     계 %s  %s종 S/W %s개 발견"
inline constexpr const char kFmtPcSubtotal[] =
    "%s \xBC\xD2     \xB0\xE8 %s  %s\xC1\xBE S/W %s\xB0\xB3 \xB9\xDF\xB0\xDF";
// "%s 합     계 %s 총 %d대 PC   %d종 S/W %d개 발견"
inline constexpr const char kFmtPcTotal[] = "%s \xC7\xD5     \xB0\xE8 %s \xC3\xD1 %d\xB4\xEB PC   "
                                            "%d\xC1\xBE S/W %d\xB0\xB3 \xB9\xDF\xB0\xDF";
// "%s 소     계 %s  0종 S/W 0개 발견"
inline constexpr const char kFmtEmptySubtotal[] =
    "%s \xBC\xD2     \xB0\xE8 %s  0\xC1\xBE S/W 0\xB0\xB3 \xB9\xDF\xB0\xDF";
// "%s 합     계 %s 총 %s대 PC   %d종 S/W %d개 발견"
inline constexpr const char kFmtSwTotal[] = "%s \xC7\xD5     \xB0\xE8 %s \xC3\xD1 %s\xB4\xEB PC   "
                                            "%d\xC1\xBE S/W %d\xB0\xB3 \xB9\xDF\xB0\xDF";

// Confirmation sheet closing block.
// "합     계"
inline constexpr const char kSheetTotal[] = "\xC7\xD5     \xB0\xE8";
// "총  %s대 PC %d종 S/W %d개"
inline constexpr const char kFmtSheetSummary[] =
    "\xC3\xD1  %s\xB4\xEB PC %d\xC1\xBE S/W %d\xB0\xB3";
// "비     율"
inline constexpr const char kSheetRatio[] = "\xBA\xF1     \xC0\xB2";
// "                    위   점 검 결 과 가   틀 림 없 음 을   확 인 합 니 다. "
inline constexpr const char kSheetConfirm[] =
    "                    \xC0\xA7   \xC1\xA1 \xB0\xCB \xB0\xE1 \xB0\xFA \xB0\xA1   \xC6\xB2 "
    "\xB8\xB2 \xBE\xF8 \xC0\xBD \xC0\xBB   \xC8\xAE \xC0\xCE \xC7\xD5 \xB4\xCF \xB4\xD9. ";
// "                                       년          월          일"
inline constexpr const char kSheetDate[] =
    "                                       \xB3\xE2          \xBF\xF9          \xC0\xCF";
// "          확  인  자     부  서  명 :  %s"
inline constexpr const char kFmtSheetDepartment[] =
    "          \xC8\xAE  \xC0\xCE  \xC0\xDA     \xBA\xCE  \xBC\xAD  \xB8\xED :  %s";
// "                            성       명 :  %s       (서명 또는 인)"
inline constexpr const char kFmtSheetSignNormal[] =
    "                            \xBC\xBA       \xB8\xED :  %s       (\xBC\xAD\xB8\xED "
    "\xB6\xC7\xB4\xC2 \xC0\xCE)";
// "                          성         명 :  %s       (서명 또는 인)"
inline constexpr const char kFmtSheetSignExtended[] =
    "                          \xBC\xBA         \xB8\xED :  %s       (\xBC\xAD\xB8\xED "
    "\xB6\xC7\xB4\xC2 \xC0\xCE)";

// Pledge.
// "소   속 : __________________"
inline constexpr const char kPledgeBelong[] = "\xBC\xD2   \xBC\xD3 : __________________";
// "직   급 : __________________"
inline constexpr const char kPledgeRank[] = "\xC1\xF7   \xB1\xDE : __________________";
// "성   명 : __________________"
inline constexpr const char kPledgeName[] = "\xBC\xBA   \xB8\xED : __________________";
// "  본인은 저작권사상을 존중하고, _______________의 소 프트웨어 사용방침을 충분히 이해하며, 이
// 방침에 따를 것을 동의합니다."
inline constexpr const char kPledgeParagraph1[] =
    "  \xBA\xBB\xC0\xCE\xC0\xBA \xC0\xFA\xC0\xDB\xB1\xC7\xBB\xE7\xBB\xF3\xC0\xBB "
    "\xC1\xB8\xC1\xDF\xC7\xCF\xB0\xED, _______________\xC0\xC7 \xBC\xD2 "
    "\xC7\xC1\xC6\xAE\xBF\xFE\xBE\xEE \xBB\xE7\xBF\xEB\xB9\xE6\xC4\xA7\xC0\xBB "
    "\xC3\xE6\xBA\xD0\xC8\xF7 \xC0\xCC\xC7\xD8\xC7\xCF\xB8\xE7, \xC0\xCC \xB9\xE6\xC4\xA7\xBF\xA1 "
    "\xB5\xFB\xB8\xA6 \xB0\xCD\xC0\xBB \xB5\xBF\xC0\xC7\xC7\xD5\xB4\xCF\xB4\xD9.";
// "   본인은 _______________내에서 사용하고 있는 컴퓨터 에서 정품 소프트웨어만을 사용하고, 불법
// 소프트웨어 사용과 관련하여 발생되는 "
inline constexpr const char kPledgeParagraph2a[] =
    "   \xBA\xBB\xC0\xCE\xC0\xBA _______________\xB3\xBB\xBF\xA1\xBC\xAD "
    "\xBB\xE7\xBF\xEB\xC7\xCF\xB0\xED \xC0\xD6\xB4\xC2 \xC4\xC4\xC7\xBB\xC5\xCD \xBF\xA1\xBC\xAD "
    "\xC1\xA4\xC7\xB0 \xBC\xD2\xC7\xC1\xC6\xAE\xBF\xFE\xBE\xEE\xB8\xB8\xC0\xBB "
    "\xBB\xE7\xBF\xEB\xC7\xCF\xB0\xED, \xBA\xD2\xB9\xFD \xBC\xD2\xC7\xC1\xC6\xAE\xBF\xFE\xBE\xEE "
    "\xBB\xE7\xBF\xEB\xB0\xFA \xB0\xFC\xB7\xC3\xC7\xCF\xBF\xA9 \xB9\xDF\xBB\xFD\xB5\xC7\xB4\xC2 ";
// "모든 문제에 대하여 책임을 질것을 서약합니다."
inline constexpr const char kPledgeParagraph2b[] =
    "\xB8\xF0\xB5\xE7 \xB9\xAE\xC1\xA6\xBF\xA1 \xB4\xEB\xC7\xCF\xBF\xA9 \xC3\xA5\xC0\xD3\xC0\xBB "
    "\xC1\xFA\xB0\xCD\xC0\xBB \xBC\xAD\xBE\xE0\xC7\xD5\xB4\xCF\xB4\xD9.";
// "컴퓨터 고유번호 : _______________________________\n\n\n\n"
inline constexpr const char kPledgeSerial[] =
    "\xC4\xC4\xC7\xBB\xC5\xCD \xB0\xED\xC0\xAF\xB9\xF8\xC8\xA3 : "
    "_______________________________\n\n\n\n";
// "                     년     월     일\n\n\n\n\n"
inline constexpr const char kPledgeDate[] =
    "                     \xB3\xE2     \xBF\xF9     \xC0\xCF\n\n\n\n\n";
// "                          본인 :              (인)\n\n\n"
inline constexpr const char kPledgeSigner[] =
    "                          \xBA\xBB\xC0\xCE :              (\xC0\xCE)\n\n\n";
// "                                           장 귀하"
inline constexpr const char kPledgeAddressee[] =
    "                                           \xC0\xE5 \xB1\xCD\xC7\xCF";

// Ledger.
// "S/W 명칭 : _____________________________________________\n\n"
inline constexpr const char kLedgerName[] =
    "S/W \xB8\xED\xC4\xAA : _____________________________________________\n\n";
// "저작권사 : ________________ 등록번호 : _________________\n\n"
inline constexpr const char kLedgerCompany[] =
    "\xC0\xFA\xC0\xDB\xB1\xC7\xBB\xE7 : ________________ \xB5\xEE\xB7\xCF\xB9\xF8\xC8\xA3 : "
    "_________________\n\n";
// "담당자"
inline constexpr const char kLedgerClerk[] = "\xB4\xE3\xB4\xE7\xC0\xDA";
// "책임자"
inline constexpr const char kLedgerChief[] = "\xC3\xA5\xC0\xD3\xC0\xDA";
// "구입신청자"
inline constexpr const char kLedgerApplicant[] = "\xB1\xB8\xC0\xD4\xBD\xC5\xC3\xBB\xC0\xDA";
// "과        직급 :           성명 :"
inline constexpr const char kLedgerApplicantValue[] =
    "\xB0\xFA        \xC1\xF7\xB1\xDE :           \xBC\xBA\xB8\xED :";
// "제공회사명"
inline constexpr const char kLedgerSupplier[] = "\xC1\xA6\xB0\xF8\xC8\xB8\xBB\xE7\xB8\xED";
// "구입방법"
inline constexpr const char kLedgerPurchase[] = "\xB1\xB8\xC0\xD4\xB9\xE6\xB9\xFD";
// "허용복제매수"
inline constexpr const char kLedgerAllowed[] = "\xC7\xE3\xBF\xEB\xBA\xB9\xC1\xA6\xB8\xC5\xBC\xF6";
// "복제수량"
inline constexpr const char kLedgerCopies[] = "\xBA\xB9\xC1\xA6\xBC\xF6\xB7\xAE";
// "사용장소"
inline constexpr const char kLedgerPlace[] = "\xBB\xE7\xBF\xEB\xC0\xE5\xBC\xD2";
// "관리책임자명"
inline constexpr const char kLedgerManager[] = "\xB0\xFC\xB8\xAE\xC3\xA5\xC0\xD3\xC0\xDA\xB8\xED";
// "사용개시일"
inline constexpr const char kLedgerStart[] = "\xBB\xE7\xBF\xEB\xB0\xB3\xBD\xC3\xC0\xCF";
// "사용종료일"
inline constexpr const char kLedgerEnd[] = "\xBB\xE7\xBF\xEB\xC1\xBE\xB7\xE1\xC0\xCF";
// "처분방법"
inline constexpr const char kLedgerDisposal[] = "\xC3\xB3\xBA\xD0\xB9\xE6\xB9\xFD";

// Print selection dialog.
// "결과별 인쇄"
inline constexpr const char kSelectCaption[] = "\xB0\xE1\xB0\xFA\xBA\xB0 \xC0\xCE\xBC\xE2";
// "결과인쇄"
inline constexpr const char kSelectResults[] = "\xB0\xE1\xB0\xFA\xC0\xCE\xBC\xE2";
// "PC별 결과"
inline constexpr const char kSelectByPc[] = "PC\xBA\xB0 \xB0\xE1\xB0\xFA";
// "SW별 결과"
inline constexpr const char kSelectBySw[] = "SW\xBA\xB0 \xB0\xE1\xB0\xFA";
// "점검 확인표"
inline constexpr const char kSelectSheet[] = "\xC1\xA1\xB0\xCB \xC8\xAE\xC0\xCE\xC7\xA5";
// "양식인쇄"
inline constexpr const char kSelectForms[] = "\xBE\xE7\xBD\xC4\xC0\xCE\xBC\xE2";
// "서  약  서"
inline constexpr const char kSelectPledge[] = "\xBC\xAD  \xBE\xE0  \xBC\xAD";
// "S/W 관리대장"
inline constexpr const char kSelectLedger[] = "S/W \xB0\xFC\xB8\xAE\xB4\xEB\xC0\xE5";
// "선택"
inline constexpr const char kSelectOk[] = "\xBC\xB1\xC5\xC3";
// "취소"
inline constexpr const char kSelectCancel[] = "\xC3\xEB\xBC\xD2";

} // namespace ostravion::report_text

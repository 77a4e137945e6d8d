// The texts of the desktop program's flows, CP949. The Qt and Windows fronts
// show them as they are; none is written a second time anywhere.
#pragma once

namespace ostravion::desktop {

// The window title's prefix before the file name.
inline constexpr const char* kTitlePrefix = "OstravionV3.1-";
// The title the window carries until the first title is set.
inline constexpr const char* kInitialTitle = "Normal.tls - OstravionV3.1";
// "준비": the status bar's message pane when no flow is under way
inline constexpr const char* kIdleMessage = "\xC1\xD8\xBA\xF1";
// "저장하시겠습니까?"
inline constexpr const char* kAskSave =
    "\xC0\xFA\xC0\xE5\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
// "검색중" (the scan's progress)
inline constexpr const char* kSearching = "\xB0\xCB\xBB\xF6\xC1\xDF";
// " (이 PC가 아닌 디스크: ", after "검색중" when a disk is audited in place of
// this PC; the disk and ")" follow
inline constexpr const char* kSearchingDisk =
    " (\xC0\xCC PC\xB0\xA1 \xBE\xC6\xB4\xD1 \xB5\xF0\xBD\xBA\xC5\xA9: ";
// "결과 파일 읽는 중..."
inline constexpr const char* kReadingTotal =
    "\xB0\xE1\xB0\xFA \xC6\xC4\xC0\xCF \xC0\xD0\xB4\xC2 \xC1\xDF...";
// "결과 파일 저장중..."
inline constexpr const char* kSavingTotal =
    "\xB0\xE1\xB0\xFA \xC6\xC4\xC0\xCF \xC0\xFA\xC0\xE5\xC1\xDF...";
// "이미 작성된 파일이 있습니다.\n 저장후 계속 작성하시겠습니까?" (one blank after the break)
inline constexpr const char* kWrittenExistsSaveFirst =
    "\xC0\xCC\xB9\xCC \xC0\xDB\xBC\xBA\xB5\xC8 \xC6\xC4\xC0\xCF\xC0\xCC "
    "\xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9.\n \xC0\xFA\xC0\xE5\xC8\xC4 \xB0\xE8\xBC\xD3 "
    "\xC0\xDB\xBC\xBA\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
// "이미 작성된 파일이 있습니다.\n  계속 작성하시겠습니까?" (two blanks after the break)
inline constexpr const char* kWrittenExistsGoOn =
    "\xC0\xCC\xB9\xCC \xC0\xDB\xBC\xBA\xB5\xC8 \xC6\xC4\xC0\xCF\xC0\xCC "
    "\xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9.\n  \xB0\xE8\xBC\xD3 "
    "\xC0\xDB\xBC\xBA\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
// "인쇄할 프린터가 없습니다.\n프린터를 설치하거나 [인쇄 설정]에서 프린터를 선택하십시오."
inline constexpr const char* kNoPrinter =
    "\xC0\xCE\xBC\xE2\xC7\xD2 \xC7\xC1\xB8\xB0\xC5\xCD\xB0\xA1 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.\n"
    "\xC7\xC1\xB8\xB0\xC5\xCD\xB8\xA6 \xBC\xB3\xC4\xA1\xC7\xCF\xB0\xC5\xB3\xAA [\xC0\xCE\xBC\xE2 "
    "\xBC\xB3\xC1\xA4]\xBF\xA1\xBC\xAD \xC7\xC1\xB8\xB0\xC5\xCD\xB8\xA6 "
    "\xBC\xB1\xC5\xC3\xC7\xCF\xBD\xCA\xBD\xC3\xBF\xC0.";
// "파일을 열 수 없습니다.\n", followed by the file's path
inline constexpr const char* kCannotOpen =
    "\xC6\xC4\xC0\xCF\xC0\xBB \xBF\xAD \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.\n";
// "열기" and "다른 이름으로 저장": the captions of the two file dialogs
inline constexpr const char* kOpenCaption = "\xBF\xAD\xB1\xE2";
inline constexpr const char* kSaveAsCaption =
    "\xB4\xD9\xB8\xA5 \xC0\xCC\xB8\xA7\xC0\xB8\xB7\xCE \xC0\xFA\xC0\xE5";
// "Total결과파일(*.tls)|*.tls||": the file dialogs' filter, pairs of a
// caption and a pattern separated by "|"
inline constexpr const char* kTotalFilter = "Total\xB0\xE1\xB0\xFA\xC6\xC4\xC0\xCF(*.tls)|*.tls||";

} // namespace ostravion::desktop

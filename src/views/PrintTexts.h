// The texts of printing and print preview that each window system shows
// around the printed pages, CP949.
#pragma once

namespace ostravion::print {

// "인쇄 미리 보기": the preview window's title
inline constexpr const char* kPreviewTitle = "\xC0\xCE\xBC\xE2 \xB9\xCC\xB8\xAE \xBA\xB8\xB1\xE2";
// The preview's buttons: "인쇄(&P)...", "다음 페이지(&N)", "이전 페이지(&V)",
// "두 페이지(&T)", "한 페이지(&O)", "확대(&I)", "축소(&U)", "닫기(&C)"
inline constexpr const char* kPreviewPrint = "\xC0\xCE\xBC\xE2(&P)...";
inline constexpr const char* kPreviewNext = "\xB4\xD9\xC0\xBD \xC6\xE4\xC0\xCC\xC1\xF6(&N)";
inline constexpr const char* kPreviewPrevious = "\xC0\xCC\xC0\xFC \xC6\xE4\xC0\xCC\xC1\xF6(&V)";
inline constexpr const char* kPreviewTwoPages = "\xB5\xCE \xC6\xE4\xC0\xCC\xC1\xF6(&T)";
inline constexpr const char* kPreviewOnePage = "\xC7\xD1 \xC6\xE4\xC0\xCC\xC1\xF6(&O)";
inline constexpr const char* kPreviewZoomIn = "\xC8\xAE\xB4\xEB(&I)";
inline constexpr const char* kPreviewZoomOut = "\xC3\xE0\xBC\xD2(&U)";
inline constexpr const char* kPreviewClose = "\xB4\xDD\xB1\xE2(&C)";
// "페이지 %d / %d" and "페이지 %d-%d / %d": the pages shown, of how many
inline constexpr const char* kPreviewPageOf = "\xC6\xE4\xC0\xCC\xC1\xF6 %d / %d";
inline constexpr const char* kPreviewPagesOf = "\xC6\xE4\xC0\xCC\xC1\xF6 %d-%d / %d";
// "굴림": the face of the preview's buttons, as of the program's dialogs
inline constexpr const char* kPreviewFace = "\xB1\xBC\xB8\xB2";
// "프린터를 시작할 수 없습니다."
inline constexpr const char* kPrinterStartFailed =
    "\xC7\xC1\xB8\xB0\xC5\xCD\xB8\xA6 \xBD\xC3\xC0\xDB\xC7\xD2 \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF"
    "\xB4\xD9.";
// "인쇄하지 못했습니다.": a job the printer took but could not finish
inline constexpr const char* kPrintFailed =
    "\xC0\xCE\xBC\xE2\xC7\xCF\xC1\xF6 \xB8\xF8\xC7\xDF\xBD\xC0\xB4\xCF\xB4\xD9.";

} // namespace ostravion::print

// The names the Windows resources are built from: control and command ids,
// and every caption and label of the dialogs and the command bar (CP949).
// The resource compiler cannot read C++, so the build writes these out as
// #define lines; the Qt front uses the same texts from here.
#pragma once

#include <string>
#include <vector>

namespace ostravion {

struct ResourceId {
    const char* name; // "IDC_START"
    int id;
};

struct ResourceText {
    const char* name; // "TXT_CAPTION"
    const char* text; // CP949
};

const std::vector<ResourceId>& ResourceIds();
const std::vector<ResourceText>& ResourceTexts();

// The application title, string 57344: every message box carries it.
inline constexpr int kAppTitleString = 57344;
inline constexpr const char* kAppTitle = "Ostravion";

// The dialogs' control ids (the push buttons use IDOK 1 and IDCANCEL 2).
#define OSTRAVION_DIALOG_IDS(X)                                                                    \
    /* the start dialog */                                                                         \
    X(IDC_GROUP, 1038)                                                                             \
    X(IDC_COMPUTER, 1040)                                                                          \
    X(IDC_USER, 1041)                                                                              \
    X(IDC_MODEL, 1042)                                                                             \
    X(IDC_RESULT_NAME, 1043)                                                                       \
    /* the file-selection dialog */                                                                \
    X(IDC_FILE_LIST, 1090)                                                                         \
    X(IDC_SELECT_ALL, 1091)                                                                        \
    X(IDC_TOTAL_NAME, 1092)                                                                        \
    /* the result-writing dialog */                                                                \
    X(IDC_ADD_PROGRAM, 3)                                                                          \
    X(IDC_DELETE_PROGRAMS, 4)                                                                      \
    X(IDC_PROGRAM_LIST, 1009)                                                                      \
    X(IDC_PC_SPIN, 1021)                                                                           \
    X(IDC_REMARK, 1040)                                                                            \
    X(IDC_CONFIRM_DEPARTMENT, 1046)                                                                \
    X(IDC_CHECK_DEPARTMENT, 1059)                                                                  \
    X(IDC_CHECKER, 1061)                                                                           \
    X(IDC_CONFIRMER, 1062)                                                                         \
    X(IDC_PC_COUNT, 1063)                                                                          \
    X(IDC_IN_PLACE_EDIT, 2233)                                                                     \
    /* the add-program dialog */                                                                   \
    X(IDC_PROGRAM, 1013)                                                                           \
    X(IDC_INSTALLED, 1014)                                                                         \
    X(IDC_COMPANY, 1015)                                                                           \
    X(IDC_VERSION, 1018)                                                                           \
    X(IDC_INSTALLED_SPIN, 1076)                                                                    \
    /* the information boxes */                                                                    \
    X(IDC_ORG_TEXT, 1084)                                                                          \
    X(IDC_ABOUT_PICTURE, 1129)

// The dialogs' captions, labels and button texts (CP949).
// clang-format off
#define OSTRAVION_DIALOG_TEXTS(X) \
    /* OK */ \
    X(TXT_OK, "OK") \
    /* Cancel */ \
    X(TXT_CANCEL, "Cancel") \
    /* 확인 */ \
    X(TXT_CONFIRM, "\xC8\xAE\xC0\xCE") \
    /* 취소 */ \
    X(TXT_CANCEL_KO, "\xC3\xEB\xBC\xD2") \
    /* 사용자 정보를 입력하세요. */ \
    X(TXT_USER_CAPTION, "\xBB\xE7\xBF\xEB\xC0\xDA \xC1\xA4\xBA\xB8\xB8\xA6 \xC0\xD4\xB7\xC2\xC7\xCF\xBC\xBC\xBF\xE4.") \
    /* 회사(그룹)명: */ \
    X(TXT_USER_GROUP, "\xC8\xB8\xBB\xE7(\xB1\xD7\xB7\xEC)\xB8\xED:") \
    /* PC 기종: */ \
    X(TXT_USER_MODEL, "PC \xB1\xE2\xC1\xBE:") \
    /* 컴퓨터명: */ \
    X(TXT_USER_COMPUTER, "\xC4\xC4\xC7\xBB\xC5\xCD\xB8\xED:") \
    /* 결과파일명: */ \
    X(TXT_USER_RESULT_NAME, "\xB0\xE1\xB0\xFA\xC6\xC4\xC0\xCF\xB8\xED:") \
    /* (확장자 생략) */ \
    X(TXT_USER_NO_EXTENSION, "(\xC8\xAE\xC0\xE5\xC0\xDA \xBB\xFD\xB7\xAB)") \
    /* 사  용  자: */ \
    X(TXT_USER_USER, "\xBB\xE7  \xBF\xEB  \xC0\xDA:") \
    /* 취합할 파일을 선택하세요. */ \
    X(TXT_FILES_CAPTION, "\xC3\xEB\xC7\xD5\xC7\xD2 \xC6\xC4\xC0\xCF\xC0\xBB \xBC\xB1\xC5\xC3\xC7\xCF\xBC\xBC\xBF\xE4.") \
    /* 파일명 */ \
    X(TXT_FILES_COLUMN, "\xC6\xC4\xC0\xCF\xB8\xED") \
    /* 전체선택 */ \
    X(TXT_FILES_SELECT_ALL, "\xC0\xFC\xC3\xBC\xBC\xB1\xC5\xC3") \
    /* 결과파일명 */ \
    X(TXT_FILES_RESULT_NAME, "\xB0\xE1\xB0\xFA\xC6\xC4\xC0\xCF\xB8\xED") \
    /* 결과 작성 */ \
    X(TXT_RESULT_CAPTION, "\xB0\xE1\xB0\xFA \xC0\xDB\xBC\xBA") \
    /* 점검부서 : */ \
    X(TXT_RESULT_CHECK_DEPARTMENT, "\xC1\xA1\xB0\xCB\xBA\xCE\xBC\xAD :") \
    /* 점검자 : */ \
    X(TXT_RESULT_CHECKER, "\xC1\xA1\xB0\xCB\xC0\xDA :") \
    /* 확인부서 : */ \
    X(TXT_RESULT_CONFIRM_DEPARTMENT, "\xC8\xAE\xC0\xCE\xBA\xCE\xBC\xAD :") \
    /* 확인자 : */ \
    X(TXT_RESULT_CONFIRMER, "\xC8\xAE\xC0\xCE\xC0\xDA :") \
    /* PC 수량 : */ \
    X(TXT_RESULT_PC_COUNT, "PC \xBC\xF6\xB7\xAE :") \
    /* 기타 : */ \
    X(TXT_RESULT_REMARK, "\xB1\xE2\xC5\xB8 :") \
    /* 목록추가(&A) */ \
    X(TXT_RESULT_ADD, "\xB8\xF1\xB7\xCF\xC3\xDF\xB0\xA1(&A)") \
    /* 목록삭제(&D) */ \
    X(TXT_RESULT_DELETE, "\xB8\xF1\xB7\xCF\xBB\xE8\xC1\xA6(&D)") \
    /* 저장(&S) */ \
    X(TXT_RESULT_SAVE, "\xC0\xFA\xC0\xE5(&S)") \
    /* 프로그램 목록 추가 */ \
    X(TXT_ADD_CAPTION, "\xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5 \xB8\xF1\xB7\xCF \xC3\xDF\xB0\xA1") \
    /* 프로그램명: */ \
    X(TXT_ADD_PROGRAM, "\xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xB8\xED:") \
    /* 설치수량 : */ \
    X(TXT_ADD_INSTALLED, "\xBC\xB3\xC4\xA1\xBC\xF6\xB7\xAE :") \
    /* 저작권사 : */ \
    X(TXT_ADD_COMPANY, "\xC0\xFA\xC0\xDB\xB1\xC7\xBB\xE7 :") \
    /* Version : */ \
    X(TXT_ADD_VERSION, "Version :") \
    /* Velmora 정보 */ \
    X(TXT_ORG_CAPTION, "Velmora \xC1\xA4\xBA\xB8") \
    /* Ostravion 버전 3.1 */ \
    X(TXT_ORG_VERSION, "Ostravion \xB9\xF6\xC0\xFC 3.1") \
    /* Copyright (C) Velmora. All rights reserved. */ \
    X(TXT_ORG_RIGHTS, "Copyright (C) Velmora. All rights reserved.") \
    /* Ostravion V3.1 정보 */ \
    X(TXT_ABOUT_CAPTION, "Ostravion V3.1 \xC1\xA4\xBA\xB8")
// clang-format on

#define OSTRAVION_DECLARE_ID(name, value) inline constexpr int name = value;
OSTRAVION_DIALOG_IDS(OSTRAVION_DECLARE_ID)
#undef OSTRAVION_DECLARE_ID
#define OSTRAVION_DECLARE_TEXT(name, text) inline constexpr const char name[] = text;
OSTRAVION_DIALOG_TEXTS(OSTRAVION_DECLARE_TEXT)
#undef OSTRAVION_DECLARE_TEXT

// The organisation's home page, opened from the command bar's logo and named
// in the organisation information box.
inline constexpr const char* kHomePageAddress = "https://www.velmora.example/";

// The organisation information box's text (CP949, CR LF): eight lines about
// the organisation, each indented by three blanks and followed by an empty
// line, one more empty line, then the home-page and telephone lines indented
// by eleven blanks.
std::string OrgInfoText();

// The framework's next-pane and previous-pane commands (F6, Shift+F6).
inline constexpr int ID_NEXT_PANE = 0xE150;
inline constexpr int ID_PREV_PANE = 0xE151;

} // namespace ostravion

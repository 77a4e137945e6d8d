#include "desktop/ResourceTable.h"

#include "desktop/CommandStates.h"

namespace ostravion {

const std::vector<ResourceId>& ResourceIds() {
    static const std::vector<ResourceId> ids = {
        {"ID_SCAN_START", ID_SCAN_START},
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
        {"ID_NEXT_PANE", ID_NEXT_PANE},
        {"ID_PREV_PANE", ID_PREV_PANE},
        {"IDC_START", IDC_START},
        {"IDC_CONSOLIDATE", IDC_CONSOLIDATE},
        {"IDC_WRITE_RESULT", IDC_WRITE_RESULT},
        {"IDC_PRINT", IDC_PRINT},
        {"IDC_NORMAL", IDC_NORMAL},
        {"IDC_EXTENDED", IDC_EXTENDED},
        {"IDC_STOP", IDC_STOP},
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
        {"TXT_NORMAL", "\xC0\xCF\xB9\xDD"},                          // 일반
        {"TXT_EXTENDED", "\xC8\xAE\xC0\xE5"},                        // 확장
        {"TXT_DIALOG_FONT", "\xB1\xBC\xB8\xB2"},                     // 굴림
    };
    // clang-format on
    return texts;
}

} // namespace ostravion

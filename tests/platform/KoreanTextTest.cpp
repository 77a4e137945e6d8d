// The system's Korean texts, written as CP949 escapes in the core, checked
// against their UTF-8 spelling through the codec.
#include "doc/Inspection.h"
#include "files/PcResultFile.h"
#include "platform/posix/PosixPlatform.h"
#include "views/ResultList.h"

#include <gtest/gtest.h>

using namespace ostravion;

TEST(KoreanTexts, MessagesOfTheInspection) {
    posix::IconvCodec codec;
    EXPECT_EQ(codec.ToUtf8(msg::kScanComplete),
              "검색을 완료하였습니다.\n 프로그램을 닫으시겠습니까?");
    EXPECT_EQ(codec.ToUtf8(msg::kGroupRequired), "회사(그룹)명은 필수항목 입니다.");
    EXPECT_EQ(codec.ToUtf8(msg::kOverwriteQuestion),
              "같은 이름의 파일이 있습니다.\n 덮어쓰시겠습니까..?");
    EXPECT_EQ(codec.ToUtf8(msg::kFolderCreateError), "폴더 생성 에러");
}

TEST(KoreanTexts, ListCaptions) {
    posix::IconvCodec codec;
    std::string scan, total;
    for (const ListColumn& c : LayoutColumns(kScanLayout))
        scan += codec.ToUtf8(c.caption) + ":" + std::to_string(c.width) + " ";
    for (const ListColumn& c : LayoutColumns(kTotalLayout))
        total += codec.ToUtf8(c.caption) + ":" + std::to_string(c.width) + " ";
    EXPECT_EQ(scan, "순번:60 구분:40 저작권사:150 프로그램명:200 버젼정보:100 만든날짜:100 "
                    "파일경로:300 ");
    EXPECT_EQ(total, "순번:60 구분:40 저작권사:150 프로그램명:200 버젼정보:100 설치갯수:100 ");
}

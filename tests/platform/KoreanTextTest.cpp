// The system's Korean texts, written as CP949 escapes in the core, checked
// against their UTF-8 spelling through the codec.
#include "doc/Inspection.h"
#include "files/PcResultFile.h"
#include "platform/posix/PosixPlatform.h"
#include "util/InputText.h"
#include "util/Messages.h"
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

// What a user hands in: UTF-8 when it is well-formed UTF-8, else CP949; a
// character without a CP949 form is refused where it stands, never made "?".
TEST(KoreanTexts, InputTextRule) {
    posix::IconvCodec codec;
    InputText in;
    UnwritableCharacter bad;
    ASSERT_TRUE(DecodeInputText("\xEF\xBB\xBF국외\tA\r\n", codec, in, bad));
    EXPECT_EQ(in.encoding, InputEncoding::Utf8);
    EXPECT_EQ(in.cp949, "\xB1\xB9\xBF\xDC\tA\r\n");
    ASSERT_TRUE(DecodeInputText("\xB1\xB9\xBF\xDC\tA", codec, in, bad));
    EXPECT_EQ(in.encoding, InputEncoding::Cp949);
    EXPECT_EQ(in.cp949, "\xB1\xB9\xBF\xDC\tA");
    // Overlong and surrogate forms are no UTF-8.
    EXPECT_FALSE(text::IsValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(text::IsValidUtf8("\xED\xA0\x80"));
    EXPECT_TRUE(text::IsValidUtf8("a국😀"));

    const std::pair<const char*, std::string> refused[] = {{"a\n국😀", "😀"}, {"a\n국㐀", "㐀"}};
    for (const auto& [given, character] : refused) {
        EXPECT_FALSE(DecodeInputText(given, codec, in, bad)) << given;
        EXPECT_EQ(in.cp949, "");
        EXPECT_EQ(bad.line, 2);
        EXPECT_EQ(bad.column, 2);
        EXPECT_EQ(bad.character, character);
    }
    std::string value;
    EXPECT_FALSE(ValueToCp949("김😀", codec, value, bad));
    EXPECT_EQ(bad.codePoint, "U+1F600");
    EXPECT_TRUE(ValueToCp949("김?", codec, value, bad));
    EXPECT_EQ(value, "\xB1\xE8?");
}

TEST(KoreanTexts, EnglishFileMessagesGetAKoreanLine) {
    posix::IconvCodec codec;
    EXPECT_EQ(codec.ToUtf8(msg::WithKoreanLine(msg::kWriteFileOpenError)),
              "Write File Open Error...!!\n파일을 쓸 수 없습니다.");
    EXPECT_EQ(codec.ToUtf8(msg::WithKoreanLine(std::string(msg::kBadPathOrParam) + "\nwhy")),
              "File is Bad Path or Bad Function paramater...\n파일 이름으로 쓸 수 없는 "
              "이름입니다.\nwhy");
    EXPECT_EQ(msg::WithKoreanLine("Key File Open Error...x"), "Key File Open Error...x");
}

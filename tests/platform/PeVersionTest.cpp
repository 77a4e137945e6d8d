#include "platform/pe/PeVersion.h"
#include "platform/PeBuilder.h"
#include "platform/posix/PosixPlatform.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace ostravion;
using namespace ostravion::test;
using pe::VersionBlock;

namespace {

const posix::IconvUtf16ToCp949& Conv() {
    static const posix::IconvUtf16ToCp949 conv;
    return conv;
}

const std::string kKorean = "\xB1\xB9\xB3\xBB"; // "국내"

std::string FromTree(const VersionNode& tree, std::string_view name) {
    return VersionBlock(Encode(tree)).ReadString(name, Conv());
}

std::string FromFile(const std::string& bytes, std::string_view name = "CompanyName") {
    return pe::ReadVersionString(bytes, name, Conv());
}

std::string FromPe(const PeImage& img, std::string_view name = "CompanyName") {
    return FromFile(img.bytes, name);
}

// Where a node's key stands in an encoded resource.
std::size_t KeyAt(const std::string& block, std::u16string_view key) {
    const std::size_t at = block.find(Utf16Bytes(key) + std::string(2, '\0'));
    EXPECT_NE(at, std::string::npos);
    return at - 6;
}

} // namespace

TEST(Utf16ToCp949, UnitByUnitWithQuestionMarks) {
    const auto& c = Conv();
    EXPECT_EQ(c.Convert(u"A\uAD6D\uB0B4"), "A" + kKorean);
    EXPECT_EQ(c.Convert(u"\uB620"), "\x8C\x63"); // beyond KS X 1001, still CP949
    EXPECT_EQ(c.Convert(u"\u0416\u20AC"), "\xAC\xA8\xA2\xE6");
    // No CP949 form: a look-alike where Windows has one, else "?".
    EXPECT_EQ(c.Convert(u"caf\u00E9 \u00C5 \u00A9 \u0080"), "cafe A \xA8\xCF \x80");
    EXPECT_EQ(c.Convert(u"\u0E01\uFFFF"), "??");
    // A pair of surrogates is two units, each without a form; so is a lone one.
    EXPECT_EQ(c.Convert(u"\U0001F600"), "??");
    EXPECT_EQ(c.Convert(std::u16string(1, static_cast<char16_t>(0xDC00))), "?");
    EXPECT_EQ(c.Convert(std::u16string(u"a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(c.Convert(u""), "");
}

TEST(VersionTree, ReadsTheTableNamedByTheFirstTranslation) {
    const VersionNode tree = KoreanTree();
    EXPECT_EQ(FromTree(tree, "CompanyName"), kKorean);
    EXPECT_EQ(FromTree(tree, "FileDescription"), "Tool");
    EXPECT_EQ(FromTree(tree, "ProductVersion"), "1.0");
    EXPECT_EQ(FromTree(tree, "LegalCopyright"), "");
    EXPECT_EQ(FromTree(tree, ""), "");

    // VarFileInfo first; keys in any letter case.
    VersionNode swapped = Root({
        Block(u"VARFILEINFO",
              {Binary(u"translation", TranslationBytes({{0x0409, 0x04E4}, {0x0412, 1200}}))}),
        Block(u"stringFileInfo", {Block(u"041204B0", {Text(u"CompanyName", u"Korean table")}),
                                  Block(u"040904E4", {Text(u"COMPANYNAME", u"English table")})}),
    });
    EXPECT_EQ(FromTree(swapped, "CompanyName"), "English table");
}

TEST(VersionTree, NoUsableTranslationMeansNoStrings) {
    VersionNode tree = KoreanTree();
    tree.children.pop_back();
    EXPECT_EQ(FromTree(tree, "CompanyName"), "");

    // Shorter than one pair, or empty.
    for (const std::string& bytes : {std::string("\x12\x04\xB0", 3), std::string()}) {
        VersionNode t = KoreanTree();
        t.children[1].children[0] = Binary(u"Translation", bytes);
        EXPECT_EQ(FromTree(t, "CompanyName"), "");
    }
    // A pair naming a table that is not there.
    VersionNode other = KoreanTree();
    other.children[1].children[0] = Binary(u"Translation", TranslationBytes({{0x0409, 1252}}));
    EXPECT_EQ(FromTree(other, "CompanyName"), "");

    EXPECT_EQ(VersionBlock().ReadString("CompanyName", Conv()), "");
    EXPECT_EQ(VersionBlock(std::string()).ReadString("CompanyName", Conv()), "");
}

TEST(VersionTree, TranslationMarkedAsTextIsConvertedFirst) {
    // Units 0x12 and 0x04 convert to the bytes 12 04: language 0x0412, code page 0.
    VersionNode t = Root({
        Block(u"StringFileInfo", {Block(u"04120000", {Text(u"CompanyName", u"X")})}),
        Block(u"VarFileInfo", {Binary(u"Translation", Utf16Bytes(u"\x12\x04"))}),
    });
    t.children[1].children[0].type = 1;
    t.children[1].children[0].valueLength = 2;
    EXPECT_EQ(FromTree(t, "CompanyName"), "X");
}

TEST(VersionTree, ValueLengthsAsTheSystemReadsThem) {
    // Without terminator, the value is all its characters.
    VersionNode t = KoreanTree();
    VersionNode& company = t.children[0].children[0].children[0];
    company.value = Utf16Bytes(u"ABCD");
    company.valueLength = 4;
    EXPECT_EQ(FromTree(t, "CompanyName"), "ABCD");
    EXPECT_EQ(FromTree(t, "FileDescription"), "Tool");

    // Counted in bytes instead of characters: the text still ends at its zero.
    company = Text(u"CompanyName", u"Value");
    company.valueLength = 12;
    EXPECT_EQ(FromTree(t, "CompanyName"), "Value");
    EXPECT_EQ(FromTree(t, "FileDescription"), "Tool");

    // An odd node length: the next node still starts on the next boundary.
    company = Text(u"CompanyName", u"Odd");
    std::string block = Encode(t);
    Set16(block, KeyAt(block, u"CompanyName"), 0x25); // 0x28 in truth
    EXPECT_EQ(VersionBlock(block).ReadString("CompanyName", Conv()), "Odd");
    EXPECT_EQ(VersionBlock(block).ReadString("FileDescription", Conv()), "Tool");

    // Length 0 is no value; a zero inside ends it.
    company = Text(u"CompanyName", u"Value");
    company.valueLength = 0;
    EXPECT_EQ(FromTree(t, "CompanyName"), "");
    company = Text(u"CompanyName", std::u16string(u"ab\0cd", 5));
    EXPECT_EQ(FromTree(t, "CompanyName"), "ab");

    // A binary value handed out as text: its bytes up to the first zero.
    company = Binary(u"CompanyName", Utf16Bytes(u"AB"));
    EXPECT_EQ(FromTree(t, "CompanyName"), "A");
}

TEST(VersionTree, LengthsPastTheEndGiveNothing) {
    VersionNode t = KoreanTree();
    t.children[0].children[0].children[3].valueLength = 0xFFFF; // the last value
    EXPECT_EQ(FromTree(t, "ProductVersion"), "");
    EXPECT_EQ(FromTree(t, "CompanyName"), kKorean);

    // A block claiming more than its parent holds: what lies inside is still
    // found, the search for what is not ends without reading outside.
    VersionNode varFirst = KoreanTree();
    std::swap(varFirst.children[0], varFirst.children[1]);
    std::string block = Encode(varFirst);
    Set16(block, KeyAt(block, u"StringFileInfo"), 0xFFFF);
    Set16(block, KeyAt(block, u"041204b0"), 0xFFF0);
    VersionBlock big(block);
    EXPECT_EQ(big.ReadString("CompanyName", Conv()), kKorean);
    EXPECT_EQ(big.ReadString("Missing", Conv()), "");

    // The root shorter than its content: the value lies past the room the
    // conversion may use.
    block = Encode(KoreanTree());
    Set16(block, 0, static_cast<std::uint16_t>(KeyAt(block, u"StringFileInfo") + 4));
    Set16(block, KeyAt(block, u"VarFileInfo"), 0); // also ends the search there
    EXPECT_EQ(VersionBlock(block).ReadString("CompanyName", Conv()), "");

    // A child of length 0 ends the search: no endless loop.
    block = Encode(KoreanTree());
    Set16(block, KeyAt(block, u"StringFileInfo"), 0);
    EXPECT_EQ(VersionBlock(block).ReadString("CompanyName", Conv()), "");
}

TEST(VersionTree, GarbageGivesNothing) {
    // Keys without an end, lengths everywhere, a block marked as 16-bit.
    EXPECT_EQ(VersionBlock(std::string(64, 'A')).ReadString("CompanyName", Conv()), "");
    EXPECT_EQ(VersionBlock(std::string(3, '\x10')).ReadString("CompanyName", Conv()), "");
    std::string block = Encode(KoreanTree());
    block[4] = 'V';
    EXPECT_EQ(VersionBlock(block).ReadString("CompanyName", Conv()), "");
    // Every cut of a good block: no crash, the full value or nothing.
    const std::string full = Encode(KoreanTree());
    for (std::size_t n = 0; n < full.size(); ++n) {
        const std::string v = VersionBlock(full.substr(0, n)).ReadString("CompanyName", Conv());
        EXPECT_TRUE(v.empty() || v == kKorean) << n;
    }
}

TEST(PeFile, ReadsPe32AndPe32Plus) {
    const std::string resource = Encode(KoreanTree());
    for (bool plus : {true, false}) {
        const PeImage img = MakePe({{0x0412, resource}}, plus);
        EXPECT_EQ(FromPe(img), kKorean) << plus;
        EXPECT_EQ(FromPe(img, "ProductName"), "Product") << plus;
    }
}

TEST(PeFile, LanguageAsAKoreanSystemPrefersIt) {
    const auto tree = [](const std::u16string& company) {
        VersionNode t = KoreanTree();
        t.children[0].children[0].children[0] = Text(u"CompanyName", company);
        return Encode(t);
    };
    const std::string en = tree(u"en"), ko = tree(u"ko"), de = tree(u"de"), fr = tree(u"fr"),
                      neutral = tree(u"neutral");
    EXPECT_EQ(FromPe(MakePe({{0x0409, en}, {0x0412, ko}})), "ko");
    EXPECT_EQ(FromPe(MakePe({{0x0407, de}, {0x0409, en}})), "en");
    EXPECT_EQ(FromPe(MakePe({{0x0407, de}, {0x040C, fr}})), "de");
    EXPECT_EQ(FromPe(MakePe({{0x0000, neutral}, {0x0412, ko}})), "neutral");
    EXPECT_EQ(FromPe(MakePe({{0x0012, ko}, {0x0409, en}})), "ko");
}

TEST(PeFile, OnlyTheVersionResourceWithId1) {
    const std::string resource = Encode(KoreanTree());
    EXPECT_EQ(FromPe(MakePe({{0x0412, resource}}, true, 16, 2)), "");
    EXPECT_EQ(FromPe(MakePe({{0x0412, resource}}, true, 6, 1)), "");
    // The type given by name, not by id.
    PeImage named = MakePe({{0x0412, resource}});
    Set16(named.bytes, named.root + 12, 1);
    Set16(named.bytes, named.root + 14, 0);
    EXPECT_EQ(FromPe(named), "");
}

TEST(PeFile, BrokenHeadersGiveNothing) {
    const PeImage good = MakePe({{0x0412, Encode(KoreanTree())}});
    ASSERT_EQ(FromPe(good), kKorean);
    const auto broken = [&](auto change) {
        PeImage img = good;
        change(img);
        return FromPe(img);
    };
    EXPECT_EQ(broken([](PeImage& i) { i.bytes[0] = 'N'; }), "");
    EXPECT_EQ(broken([](PeImage& i) { Set32(i.bytes, 0x3C, 0xFFFFFFF0u); }), "");
    EXPECT_EQ(broken([](PeImage& i) { Set32(i.bytes, 0x3C, 0x7FFFFFFFu); }), "");
    EXPECT_EQ(broken([](PeImage& i) { i.bytes[i.pe + 2] = 'X'; }), "");
    EXPECT_EQ(broken([](PeImage& i) { Set16(i.bytes, i.optional, 0x107); }), "");
    EXPECT_EQ(broken([](PeImage& i) { Set32(i.bytes, i.rvaCount, 2); }), "");
    EXPECT_EQ(broken([](PeImage& i) { Set32(i.bytes, i.rvaCount + 4 + 16 + 4, 0); }), "");
    // A resource address in no section and past the headers.
    EXPECT_EQ(broken([](PeImage& i) { Set32(i.bytes, i.rvaCount + 4 + 16, 0x9000); }), "");
    // More sections than the file holds.
    EXPECT_EQ(broken([](PeImage& i) { Set16(i.bytes, i.pe + 6, 0xFFFF); }), "");
    // The section's raw data moved past the end.
    EXPECT_EQ(broken([](PeImage& i) { Set32(i.bytes, i.sections + 20, 0xFFFFFF00u); }), "");
}

TEST(PeFile, HostileResourceDirectories) {
    const PeImage good = MakePe({{0x0412, Encode(KoreanTree())}});
    const auto broken = [&](auto change) {
        PeImage img = good;
        change(img);
        return FromPe(img);
    };
    // Every level pointing back at the root, under every id asked for: only
    // three levels are ever followed.
    EXPECT_EQ(broken([](PeImage& i) {
                  Set16(i.bytes, i.root + 14, 2);
                  Set32(i.bytes, i.root + 16, 1);
                  Set32(i.bytes, i.root + 20, 0x80000000u);
                  Set32(i.bytes, i.root + 24, 16);
                  Set32(i.bytes, i.root + 28, 0x80000000u);
              }),
              "");
    // Absurd entry counts.
    EXPECT_EQ(broken([](PeImage& i) {
                  Set16(i.bytes, i.languageDir + 12, 0xFFFF);
                  Set16(i.bytes, i.languageDir + 14, 0xFFFF);
              }),
              "");
    // A directory offset past the end; a language entry that is a directory.
    EXPECT_EQ(broken([](PeImage& i) { Set32(i.bytes, i.root + 20, 0xFFFFFFFFu); }), "");
    EXPECT_EQ(broken([](PeImage& i) { Set32(i.bytes, i.languageDir + 20, 0x80000000u); }), "");
    // Data outside every section, past the end of the file, too large, empty.
    EXPECT_EQ(broken([](PeImage& i) { Set32(i.bytes, i.dataEntry, 0x50000); }), "");
    EXPECT_EQ(broken([](PeImage& i) { Set32(i.bytes, i.dataEntry + 4, 0x100000); }), "");
    EXPECT_EQ(broken([](PeImage& i) { Set32(i.bytes, i.dataEntry + 4, 0xFFFFFFFFu); }), "");
    EXPECT_EQ(broken([](PeImage& i) { Set32(i.bytes, i.dataEntry + 4, 0); }), "");
}

TEST(PeFile, TruncatedFiles) {
    const PeImage img = MakePe({{0x0412, Encode(KoreanTree())}});
    const std::size_t dataEnd = img.data + Encode(KoreanTree()).size();
    for (std::size_t n = 0; n < img.bytes.size(); ++n) {
        const std::string v = FromFile(img.bytes.substr(0, n));
        EXPECT_EQ(v, n < dataEnd ? "" : kKorean) << n;
    }
}

namespace {
struct TempFiles : ::testing::Test {
    std::filesystem::path dir;
    void SetUp() override {
        char tmpl[] = "/tmp/ostravion-pe-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return path;
    }
};
using VersionFiles = TempFiles;

std::string WithCompany(const std::u16string& company) {
    VersionNode t = KoreanTree();
    t.children[0].children[0].children[0] = Text(u"CompanyName", company);
    return MakePe({{0x0412, Encode(t)}}).bytes;
}
} // namespace

TEST_F(VersionFiles, FourStringsOfOneFileParseItOnce) {
    pe::PeVersionStrings versions(Conv());
    const std::string a = Write("a.exe", WithCompany(u"first"));
    const std::string b = Write("b.exe", WithCompany(u"other"));
    EXPECT_EQ(versions.Read(a, "CompanyName"), "first");
    EXPECT_EQ(versions.Read(a, "FileDescription"), "Tool");
    EXPECT_EQ(versions.Read(a, "ProductName"), "Product");
    EXPECT_EQ(versions.Read(a, "ProductVersion"), "1.0");
    EXPECT_EQ(versions.FilesParsed(), 1u);
    EXPECT_EQ(versions.Read(b, "CompanyName"), "other");
    EXPECT_EQ(versions.Read(a, "CompanyName"), "first");
    EXPECT_EQ(versions.FilesParsed(), 3u);

    // The same path with other content is read again.
    Write("a.exe", WithCompany(u"changed text"));
    EXPECT_EQ(versions.Read(a, "CompanyName"), "changed text");
    EXPECT_EQ(versions.FilesParsed(), 4u);
}

TEST_F(VersionFiles, UnreadableFilesHaveNoStrings) {
    pe::PeVersionStrings versions(Conv());
    EXPECT_EQ(versions.Read((dir / "missing.exe").string(), "CompanyName"), "");
    EXPECT_EQ(versions.Read(dir.string(), "CompanyName"), "");
    EXPECT_EQ(versions.Read(Write("empty.exe", ""), "CompanyName"), "");
    EXPECT_EQ(versions.Read(Write("text.exe", "MZ not really"), "CompanyName"), "");
    // A good file after the bad ones.
    EXPECT_EQ(versions.Read(Write("good.exe", WithCompany(u"ok")), "CompanyName"), "ok");
}

#ifdef OSTRAVION_PE_FIXTURES
namespace {
std::string Fixture(const std::string& name) {
    return std::string(OSTRAVION_PE_FIXTURES) + "/" + name;
}
} // namespace

TEST(PeFixtures, KoreanStringsFromTheResourceCompiler) {
    pe::PeVersionStrings versions(Conv());
    for (const char* file : {"korean.exe", "korean.dll", "korean32.dll"}) {
        const std::string path = Fixture(file);
        EXPECT_EQ(versions.Read(path, "CompanyName"),
                  "\xB1\xB9\xB3\xBB \xBC\xD2\xC7\xC1\xC6\xAE\xBF\xFE\xBE\xEE(\xC1\xD6)")
            << file;
        EXPECT_EQ(versions.Read(path, "FileDescription"), "\xB0\xA8\xBB\xE7 \xB5\xB5\xB1\xB8");
        EXPECT_EQ(versions.Read(path, "ProductName"),
                  "\xBF\xC0\xBD\xBA\xC6\xAE\xB6\xF3\xBA\xF1\xBF\xC2 \xC1\xA1\xB0\xCB");
        EXPECT_EQ(versions.Read(path, "ProductVersion"), "1, 2, 3, 4");
    }
    // Unicode code page, table key in capitals, characters without a CP949 form.
    EXPECT_EQ(versions.Read(Fixture("unicode.dll"), "CompanyName"), "\x8C\x63\xBE\xE7 Co.");
    EXPECT_EQ(versions.Read(Fixture("unicode.dll"), "FileDescription"),
              "Cafe \xAC\xA8 ?? \xA2\xE6");
    // The Korean language of the resource, on a Korean system.
    EXPECT_EQ(versions.Read(Fixture("multilang.dll"), "CompanyName"),
              "\xC7\xD1\xB1\xB9 \xC8\xB8\xBB\xE7");
}

TEST(PeFixtures, FirstTranslationAndRawLineBreaks) {
    pe::PeVersionStrings versions(Conv());
    EXPECT_EQ(versions.Read(Fixture("english.dll"), "CompanyName"), "Example Software Inc.");
    EXPECT_EQ(versions.Read(Fixture("english.dll"), "ProductVersion"), "5.6.7");
    // The port hands the value over whole; the scan keeps the first line.
    EXPECT_EQ(versions.Read(Fixture("twoline.dll"), "FileDescription"), "line1\r\nline2");
    EXPECT_EQ(versions.Read(Fixture("twoline.dll"), "ProductName"), "first\rsecond");
    EXPECT_EQ(versions.Read(Fixture("twoline.dll"), "ProductVersion"), "3.0\nbeta");
}

TEST(PeFixtures, FilesWithoutStrings) {
    pe::PeVersionStrings versions(Conv());
    for (const char* file : {"notrans.dll", "nover.dll", "norsrc.exe", "named.dll"})
        for (const char* name : {"CompanyName", "ProductName"})
            EXPECT_EQ(versions.Read(Fixture(file), name), "") << file << " " << name;
}
#endif

// Wine's own Windows programs and libraries: hundreds of real PE files.
TEST(WineFiles, EveryFileReadsWithoutHarm) {
    std::vector<std::filesystem::path> files;
    for (const char* root :
         {"/usr/lib/x86_64-linux-gnu/wine", "/usr/lib/i386-linux-gnu/wine", "/usr/lib/wine"}) {
        std::error_code ec;
        for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
            if (it->is_regular_file(ec) &&
                it->path().parent_path().filename().string().find("-windows") != std::string::npos)
                files.push_back(it->path());
    }
    if (files.empty())
        GTEST_SKIP() << "Wine is not installed";
    pe::PeVersionStrings versions(Conv());
    std::size_t withVersion = 0;
    for (const auto& f : files) {
        std::string value;
        for (const char* name : {"CompanyName", "FileDescription", "ProductName", "ProductVersion"})
            value = versions.Read(f.string(), name);
        withVersion += !value.empty();
    }
    EXPECT_EQ(versions.FilesParsed(), files.size());
    // Many of them carry a version resource (the others have none at all).
    EXPECT_GT(withVersion, files.size() / 5) << withVersion << " of " << files.size();
    const std::string kernel = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/kernel32.dll";
    if (std::filesystem::exists(kernel)) {
        EXPECT_EQ(versions.Read(kernel, "CompanyName"), "Microsoft Corporation");
        EXPECT_EQ(versions.Read(kernel, "ProductName"), "Wine");
    }
}

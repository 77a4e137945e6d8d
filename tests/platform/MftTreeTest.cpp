// The folder tree read from an NTFS volume's MFT lists what each folder's own
// index lists, in the same order.
#include "platform/disk/MftTree.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

using namespace ostravion::disk;

namespace {

void Put16(std::string& b, std::size_t at, unsigned v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}
void Put64(std::string& b, std::size_t at, std::uint64_t v) {
    Put32(b, at, static_cast<std::uint32_t>(v));
    Put32(b, at + 4, static_cast<std::uint32_t>(v >> 32));
}

// Appends a resident attribute with `value` and returns where it starts.
std::size_t Resident(std::string& b, std::size_t& at, std::uint32_t type, const std::string& value,
                     const std::u16string& name = u"") {
    const std::size_t start = at;
    const std::size_t valueAt = 0x18 + 2 * name.size();
    const std::size_t length = (valueAt + value.size() + 7) / 8 * 8;
    Put32(b, at, type);
    Put32(b, at + 4, static_cast<std::uint32_t>(length));
    b[at + 9] = static_cast<char>(name.size());
    Put16(b, at + 10, 0x18);
    for (std::size_t i = 0; i < name.size(); ++i)
        Put16(b, at + 0x18 + 2 * i, name[i]);
    Put32(b, at + 0x10, static_cast<std::uint32_t>(value.size()));
    Put16(b, at + 0x14, static_cast<unsigned>(valueAt));
    b.replace(at + valueAt, value.size(), value);
    at += length;
    return start;
}

std::string FileName(std::uint64_t parent, std::uint8_t space, const std::u16string& name) {
    std::string v(0x42 + 2 * name.size(), '\0');
    Put64(v, 0, parent);
    v[0x40] = static_cast<char>(name.size());
    v[0x41] = static_cast<char>(space);
    for (std::size_t i = 0; i < name.size(); ++i)
        Put16(v, 0x42 + 2 * i, name[i]);
    return v;
}

// A folder record in use: standard information, a long and a short name,
// an unnamed data stream kept elsewhere, a file name index; protected by
// an update sequence over its two 512-byte blocks.
std::string FolderRecord() {
    std::string b(1024, '\0');
    b.replace(0, 4, "FILE");
    Put16(b, 4, 0x30); // update sequence at 0x30, 3 entries
    Put16(b, 6, 3);
    Put16(b, 0x10, 7); // sequence number
    Put16(b, 0x14, 0x38);
    Put16(b, 0x16, 3); // in use, folder
    std::size_t at = 0x38;
    std::string si(0x48, '\0');
    Put64(si, 0, 1234);
    Put32(si, 0x20, 0x22);
    Resident(b, at, 0x10, si);
    const std::uint64_t parent = (std::uint64_t{3} << 48) | 5;
    Resident(b, at, 0x30, FileName(parent, 1, u"Programme Files"));
    Resident(b, at, 0x30, FileName(parent, 2, u"PROGRA~1"));
    // Unnamed data, not resident, 123456 bytes.
    Put32(b, at, 0x80);
    Put32(b, at + 4, 0x48);
    b[at + 8] = 1;
    Put64(b, at + 0x30, 123456);
    at += 0x48;
    Resident(b, at, 0x90, std::string(16, '\0'), u"$I30");
    Put32(b, at, 0xFFFFFFFF);
    Put32(b, 0x18, static_cast<std::uint32_t>(at + 8));
    // The last two bytes of each block go to the array; the blocks end
    // with the sequence number 0x0101.
    Put16(b, 0x30, 0x0101);
    Put16(b, 0x32, 0xCDAB);
    Put16(b, 0x34, 0x3412);
    Put16(b, 510, 0x0101);
    Put16(b, 1022, 0x0101);
    return b;
}

} // namespace

TEST(MftRecord, NamesSizeAndFolderOfARecordWithItsUpdateSequenceUndone) {
    std::string b = FolderRecord();
    MftTree::Record r;
    ASSERT_TRUE(MftTree::ParseRecord(b, r));
    EXPECT_TRUE(r.inUse);
    EXPECT_TRUE(r.folder);
    EXPECT_FALSE(r.extension || r.attributeList);
    EXPECT_EQ(r.sequence, 7u);
    EXPECT_EQ(r.flags, 0x22u);
    EXPECT_EQ(r.created, 1234u);
    EXPECT_EQ(r.size, 123456u);
    ASSERT_EQ(r.names.size(), 1u); // the short name is no name of its own
    EXPECT_EQ(r.names[0].text, u"Programme Files");
    EXPECT_EQ(r.names[0].parent, (std::uint64_t{3} << 48) | 5);
    EXPECT_EQ(static_cast<unsigned char>(b[510]), 0xABu);
    EXPECT_EQ(static_cast<unsigned char>(b[1023]), 0x34u);

    // A block written only in part, an attribute running past the record,
    // and a damaged record are damage; a free record is none.
    std::string torn = FolderRecord();
    torn[1022] = 9;
    EXPECT_FALSE(MftTree::ParseRecord(torn, r));
    std::string runaway = FolderRecord();
    Put32(runaway, 0x38 + 4, 0x7000);
    EXPECT_FALSE(MftTree::ParseRecord(runaway, r));
    std::string bad = FolderRecord();
    bad.replace(0, 4, "BAAD");
    EXPECT_FALSE(MftTree::ParseRecord(bad, r));
    std::string free = FolderRecord();
    Put16(free, 0x16, 0);
    EXPECT_TRUE(MftTree::ParseRecord(free, r));
    EXPECT_FALSE(r.inUse);
}

namespace {

struct Listed {
    NtfsVolume::Listing listing;
    std::vector<std::tuple<std::string, std::uint64_t, unsigned, std::uint64_t>> names;
    bool operator==(const Listed&) const = default;
};

// Every folder below `folder`, listed by both volumes, compared one by one.
void CompareTrees(const NtfsVolume& tree, const NtfsVolume& indexes, const std::string& folder,
                  int& folders) {
    Listed a, b;
    std::vector<NtfsEntry> entries;
    a.listing = tree.List(folder, entries);
    for (const NtfsEntry& e : entries)
        a.names.emplace_back(e.name, e.size, e.attributes, e.record);
    b.listing = indexes.List(folder, entries);
    for (const NtfsEntry& e : entries)
        b.names.emplace_back(e.name, e.size, e.attributes, e.record);
    ASSERT_EQ(a, b) << "in \"" << folder << "\"";
    ++folders;
    for (const auto& [name, size, attributes, record] : a.names)
        if (attributes & 0x10)
            CompareTrees(tree, indexes, folder.empty() ? name : folder + "/" + name, folders);
}

bool Shell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

} // namespace

TEST(MftTree, ListsEveryFolderAsItsIndexDoes) {
    if (::geteuid() != 0 || !Shell("command -v mkntfs >/dev/null && command -v ntfs-3g >/dev/null"))
        GTEST_SKIP() << "needs root, mkntfs and ntfs-3g";
    const std::string work =
        std::filesystem::temp_directory_path() / ("ostravion-mft-" + std::to_string(::getpid()));
    const std::string img = work + "/v.img", mnt = work + "/mnt";
    std::filesystem::create_directories(mnt);
    ASSERT_TRUE(
        Shell("truncate -s 24M " + img + " && mkntfs -F -Q -q " + img + " >/dev/null 2>&1"));
    if (!Shell("ntfs-3g " + img + " " + mnt + " 2>/dev/null")) {
        std::filesystem::remove_all(work);
        GTEST_SKIP() << "ntfs-3g cannot mount here";
    }
    // Names whose order tells upper-case collation from byte order, Korean
    // and other non-ASCII names, a folder large enough for a multi-level
    // index, a second name of a file, files deleted again, a deep folder.
    {
        std::ofstream script(work + "/fill.sh");
        script << "cd '" << mnt << "' || exit 1\n"
               << "mkdir -p Mixed Many Deep/d2/d3 Gone && cd Mixed || exit 1\n"
                  "for n in b.txt B2.txt a.TXT _u Zeta '[x]' '~t' '\xC3\xA9"
                  ".dat' '\xC3\x89"
                  "2.dat' "
                  "'\xC3\x9F"
                  ".dat' '\xED\x95\x9C\xEA\xB8\x80"
                  ".exe' '\xEA\xB0\x80"
                  ".dll' "
                  "'\xCE\xA9' 'z~1' 'a b' a.b.c; do echo x > \"$n\" || exit 1; done\n"
                  "cd .. && for i in $(seq 1 400); do echo $i > Many/F$i.exe; done\n"
                  "ln Mixed/a.TXT Many/Link.TXT && head -c 5000 /dev/zero > Deep/d2/d3/big.exe\n"
                  "for i in $(seq 1 60); do echo $i > Gone/x$i; done && rm -r Gone\n"
                  "mkdir Gone && echo again > Gone/x1\n";
    }
    const bool filled = Shell("sh " + work + "/fill.sh");
    Shell("fusermount -u " + mnt);
    ASSERT_TRUE(filled);

    std::string why;
    const auto tree = NtfsVolume::Open(img, why);
    const auto indexes = NtfsVolume::Open(img, why);
    ASSERT_TRUE(tree && indexes) << why;
    indexes->ListFromIndexes();
    int folders = 0;
    CompareTrees(*tree, *indexes, "", folders);
    EXPECT_GE(folders, 7);
    std::filesystem::remove_all(work);
}

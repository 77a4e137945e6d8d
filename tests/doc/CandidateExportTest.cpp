#include "doc/CandidateExport.h"
#include "Fakes.h"
#include "files/FileTexts.h"
#include "scan/KeyList.h"

#include <gtest/gtest.h>

using namespace ostravion;
using namespace ostravion::test;

// The review file leaves out what the key list identifies (by size or by
// version, as the scan would) and what too few PCs have, and takes blanks
// off the texts; a key list that cannot be read leaves everything in.
TEST(CandidateExport, ReviewFileSkipsWhatTheKeyListHolds) {
    const std::string total =
        Line({"-", "-", "-", " Tool ", "1.0 ", "T.EXE", "10", "-", "Co", "-", "C:\\T\\", "3"}) +
        Line({"-", "-", "-", "New", "2.0", "w.exe", "99", "-", "Co", "-", "C:\\W\\", "2"}) +
        Line({"-", "-", "-", "Old", "9.0", "W.EXE", "77", "-", "Co", "-", "C:\\W\\", "2"}) +
        Line({"-", "-", "-", "Rare", "1", "R.EXE", "5", "-", "Co", "-", "C:\\R\\", "1"});
    MemoryFileSystem fs;
    fs.files["T.cand"] = total;
    KeyList keys;
    keys.LoadFromPayload("caption\tx\tx\tx\tx\r\n"
                         "k\tAPP\tk\tWord\t9.0\tWINWORD.EXE\t1\tk\tCo\r\n"
                         "k\tAPP\tk\tWord\t8.0\tW.EXE\t77\tk\tCo\r\n"
                         "k\tAPP\tk\tRare\t1\tR.EXE\t1\tk\tCo\r\n");
    std::size_t written = 0;
    const std::string text = CandidatesReviewText(ReadCandidates(total), &keys, 2, written);
    EXPECT_EQ(written, 2u);
    EXPECT_EQ(text, CandidatesCaption() + "\r\n" +
                        "-\t-\t-\tTool\t1.0\tT.EXE\t10\t-\tCo\t-\tC:\\T\\\t3\r\n"
                        "-\t-\t-\tNew\t2.0\tw.exe\t99\t-\tCo\t-\tC:\\W\\\t2\r\n");
    // R.EXE is held by its version "1".
    CandidatesReviewText(ReadCandidates(total), &keys, 1, written);
    EXPECT_EQ(written, 2u);

    const CandidateReview review = ReviewCandidates(fs, "T.cand", "missing.dat", 1);
    EXPECT_TRUE(review.read);
    EXPECT_FALSE(review.keyListRead);
    EXPECT_EQ(review.count, 4u);
    EXPECT_FALSE(ReviewCandidates(fs, "none.cand", "missing.dat", 1).read);
}

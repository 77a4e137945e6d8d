// libFuzzer target for the candidates files: the input holds up to three of
// them (split at fuzz::kPartSeparator), each read as a PC's; they are
// gathered as a consolidation gathers them, the total's file is written and
// read back, and the review file made from it.
#include "FuzzInput.h"
#include "doc/CandidateExport.h"
#include "files/CandidateFile.h"

using namespace ostravion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> parts = fuzz::SplitParts(data, size, 3);
    CandidateGathering gathering;
    std::size_t lines = 0;
    for (const std::string& part : parts) {
        long long bad = 0;
        const std::vector<Candidate> read = ReadCandidates(part, &bad);
        fuzz::Check(bad >= 0, "bad lines are counted");
        for (const Candidate& c : read)
            fuzz::Check(c.pcs >= 1 && c.columns[candfile::kExeName] != "-",
                        "a candidate names its executable and at least one PC");
        lines += read.size();
        gathering.AddPc(read);
    }
    const std::vector<Candidate> gathered = gathering.Result();
    fuzz::Check(gathered.size() <= lines, "gathering adds no candidate");
    for (std::size_t i = 1; i < gathered.size(); ++i)
        fuzz::Check(gathered[i - 1].pcs >= gathered[i].pcs, "most PCs first");

    long long bad = 0;
    const std::vector<Candidate> back = ReadCandidates(TotalCandidatesText(gathered), &bad);
    fuzz::Check(bad == 0 && back.size() == gathered.size(), "the total's file reads back whole");
    for (std::size_t i = 0; i < back.size(); ++i)
        fuzz::Check(back[i].pcs == gathered[i].pcs, "PC counts read back");

    std::size_t written = 0;
    const std::string review = CandidatesReviewText(gathered, nullptr, 1, written);
    fuzz::Check(written == gathered.size(), "without a key list every candidate is written");
    fuzz::Check(review.size() >= 2 && review.substr(review.size() - 2) == "\r\n",
                "the review file ends its lines with CR LF");
    return 0;
}

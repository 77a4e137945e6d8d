// The two blank forms: the user's pledge and the S/W management ledger.
#include "views/ReportLayout.h"
#include "views/ReportTexts.h"

#include "util/Text.h"

namespace ostravion {

namespace rt = report_text;

namespace {
constexpr std::size_t kPledgeLineBytes = 55;

void CaptionBox(PageCanvas& canvas, const TwipRect& box, std::string_view caption) {
    canvas.Box(box);
    if (!caption.empty())
        canvas.CentredText(box, caption);
}
} // namespace

std::vector<std::string> BreakPledgeParagraph(std::string_view paragraph) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < paragraph.size()) {
        const std::size_t rest = paragraph.size() - pos;
        if (rest < kPledgeLineBytes) {
            lines.emplace_back(paragraph.substr(pos));
            break;
        }
        // A space byte never occurs inside a double-byte character, so the
        // last space of the window is a safe place to cut.
        const std::string_view window = paragraph.substr(pos, kPledgeLineBytes);
        std::size_t cut = window.rfind(' ');
        if (cut != std::string_view::npos) {
            cut += 1;
        } else {
            // No space to break at: cut at the last whole character instead.
            cut = 0;
            while (cut < window.size()) {
                const std::size_t len = text::CharLength(paragraph, pos + cut);
                if (cut + len > window.size())
                    break;
                cut += len;
            }
            if (cut == 0)
                cut = window.size();
        }
        lines.emplace_back(paragraph.substr(pos, cut));
        pos += cut;
    }
    return lines;
}

std::string PledgeBodyText() {
    const std::string paragraphs[] = {
        rt::kPledgeParagraph1,
        std::string(rt::kPledgeParagraph2a) + rt::kPledgeParagraph2b,
    };
    std::string body;
    for (const std::string& p : paragraphs) {
        for (const std::string& line : BreakPledgeParagraph(p))
            body += line + "\n\n";
        body += "\n\n";
    }
    body += rt::kPledgeSerial;
    body += rt::kPledgeDate;
    body += rt::kPledgeSigner;
    body += rt::kPledgeAddressee;
    return body;
}

void DrawPledgeForm(PageCanvas& canvas) {
    {
        FontScope font(canvas, FontRole::Title);
        canvas.CentredText({4000, -900, 8000, -1400}, rt::kTitlePledge);
    }
    FontScope font(canvas, FontRole::Pledge);
    canvas.WrappedTextBlock({5900, -3100, 10300, -4800}, std::string(rt::kPledgeBelong) + "\n\n" +
                                                             rt::kPledgeRank + "\n\n" +
                                                             rt::kPledgeName + "\n\n\n\n");
    canvas.WrappedTextBlock({1350, -5300, 9750, -18000}, PledgeBodyText());
}

void DrawLedgerForm(PageCanvas& canvas) {
    {
        FontScope font(canvas, FontRole::Title);
        canvas.CentredText({4000, -900, 8000, -1400}, rt::kTitleLedger);
        canvas.Rule(4000, -1400, 8000, -1400);
        canvas.Rule(4000, -1450, 8000, -1450);
    }
    FontScope font(canvas, FontRole::Ledger);
    canvas.TextBlock({400, -2600, 8300, -3600}, std::string(rt::kLedgerName) + rt::kLedgerCompany);

    // Approval boxes at the top right.
    CaptionBox(canvas, {8400, -2300, 9600, -2700}, rt::kLedgerClerk);
    CaptionBox(canvas, {8400, -2700, 9600, -3800}, {});
    CaptionBox(canvas, {9600, -2300, 10800, -2700}, rt::kLedgerChief);
    CaptionBox(canvas, {9600, -2700, 10800, -3800}, {});

    // Three label rows.
    const struct {
        int top;
        const char* label;
        const char* value;
    } labels[] = {{-3800, rt::kLedgerApplicant, rt::kLedgerApplicantValue},
                  {-4180, rt::kLedgerSupplier, ""},
                  {-4560, rt::kLedgerPurchase, ""}};
    for (const auto& l : labels) {
        CaptionBox(canvas, {400, l.top, 2390, l.top - 380}, l.label);
        CaptionBox(canvas, {2390, l.top, 10800, l.top - 380}, l.value);
    }

    CaptionBox(canvas, {400, -4940, 2390, -5320}, rt::kLedgerAllowed);
    CaptionBox(canvas, {2390, -4940, 6550, -5320}, {});
    CaptionBox(canvas, {6550, -4940, 8630, -5320}, rt::kLedgerCopies);
    CaptionBox(canvas, {8630, -4940, 10800, -5320}, {});

    // The usage table: a header row and 26 empty rows.
    const int columns[] = {400, 2390, 4470, 6550, 8630, 10800};
    const char* captions[] = {rt::kLedgerPlace, rt::kLedgerManager, rt::kLedgerStart,
                              rt::kLedgerEnd, rt::kLedgerDisposal};
    for (int c = 0; c < 5; ++c)
        CaptionBox(canvas, {columns[c], -5320, columns[c + 1], -5700}, captions[c]);
    for (int row = 0; row < 26; ++row) {
        const int top = -5700 - 380 * row;
        for (int c = 0; c < 5; ++c)
            CaptionBox(canvas, {columns[c], top, columns[c + 1], top - 380}, {});
    }
}

} // namespace ostravion

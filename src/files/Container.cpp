#include "files/Container.h"

#include "util/Text.h"

#include <utility>

namespace ostravion {

namespace {
std::string SwapPairs(std::string_view in) {
    // An odd last byte has no partner and is dropped.
    std::string out(in.size() & ~std::size_t{1}, '\0');
    for (std::size_t i = 0; i + 1 < in.size(); i += 2) {
        out[i] = in[i + 1];
        out[i + 1] = in[i];
    }
    return out;
}
} // namespace

std::string UnscrambleText(std::string_view container) {
    std::string plain = SwapPairs(container);
    if (const std::size_t nul = plain.find('\0'); nul != std::string::npos)
        plain.resize(nul);
    std::string_view rest = plain;

    // An absent start marker counts as position -1: the retained text then
    // begins 26 bytes in.
    const std::size_t start = text::Find(rest, kContainerStart);
    const std::size_t from = (start == std::string_view::npos) ? kContainerStart.size() - 1
                                                               : start + kContainerStart.size();
    rest = from < rest.size() ? rest.substr(from) : std::string_view();

    const std::size_t end = text::Find(rest, kContainerEnd);
    if (end == std::string_view::npos)
        return std::string();
    rest = rest.substr(0, end);

    if (const std::size_t term = text::Find(rest, kContainerTerminator);
        term != std::string_view::npos)
        rest = rest.substr(0, term);

    return text::ReplaceAll(rest, kContainerLineBreak, "\r\n");
}

bool ScrambleText(std::string_view payload, std::string& out) {
    out.clear();
    if (payload.find('\0') != std::string_view::npos ||
        text::Contains(payload, kContainerTerminator) || text::Contains(payload, kContainerStart) ||
        text::Contains(payload, kContainerEnd) || text::Contains(payload, kContainerLineBreak))
        return false;
    std::string plain = "KEYLIST ";
    plain += kContainerStart;
    plain += text::ReplaceAll(payload, "\r\n", kContainerLineBreak);
    plain += kContainerTerminator;
    plain += kContainerEnd;
    // The swap needs an even length to survive intact.
    if (plain.size() % 2 != 0)
        plain += ' ';
    out = SwapPairs(plain);
    // Escapes that touch the text around them could still decode differently.
    if (UnscrambleText(out) != payload) {
        out.clear();
        return false;
    }
    return true;
}

} // namespace ostravion

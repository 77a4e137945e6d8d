// A page canvas that records every call, for checking layouts exactly.
#pragma once

#include "views/PageCanvas.h"

#include <string>
#include <vector>

namespace ostravion::test {

struct CanvasOp {
    enum Kind { Centred, Left, Block, Wrapped, Box, Rule } kind;
    TwipRect rect;    // for a rule: x1, y1, x2, y2
    std::string text; // the text drawn (CP949)
    FontRole font;    // the font selected when the call was made
    bool operator==(const CanvasOp&) const = default;
};

class RecordingCanvas final : public PageCanvas {
public:
    FontRole SelectFont(FontRole role) override {
        const FontRole previous = font;
        font = role;
        ++selections;
        return previous;
    }
    void CentredText(const TwipRect& box, std::string_view text) override {
        Add(CanvasOp::Centred, box, text);
    }
    void LeftText(const TwipRect& box, std::string_view text) override {
        Add(CanvasOp::Left, box, text);
    }
    void TextBlock(const TwipRect& box, std::string_view text) override {
        Add(CanvasOp::Block, box, text);
    }
    void WrappedTextBlock(const TwipRect& box, std::string_view text) override {
        Add(CanvasOp::Wrapped, box, text);
    }
    void Box(const TwipRect& box) override { Add(CanvasOp::Box, box, {}); }
    void Rule(int x1, int y1, int x2, int y2) override {
        Add(CanvasOp::Rule, {x1, y1, x2, y2}, {});
    }

    // The ops that drew the given text.
    std::vector<CanvasOp> WithText(std::string_view text) const {
        std::vector<CanvasOp> out;
        for (const CanvasOp& op : ops)
            if (op.text == text && op.kind != CanvasOp::Box && op.kind != CanvasOp::Rule)
                out.push_back(op);
        return out;
    }
    std::vector<CanvasOp> OfKind(CanvasOp::Kind kind) const {
        std::vector<CanvasOp> out;
        for (const CanvasOp& op : ops)
            if (op.kind == kind)
                out.push_back(op);
        return out;
    }
    bool HasRule(int x1, int y1, int x2, int y2) const {
        for (const CanvasOp& op : ops)
            if (op.kind == CanvasOp::Rule && op.rect == TwipRect{x1, y1, x2, y2})
                return true;
        return false;
    }
    void Clear() { ops.clear(); }

    std::vector<CanvasOp> ops;
    FontRole font = FontRole::Device;
    int selections = 0;

private:
    void Add(CanvasOp::Kind kind, const TwipRect& r, std::string_view text) {
        ops.push_back({kind, r, std::string(text), font});
    }
};

} // namespace ostravion::test

#pragma once
// A surface that keeps a list of what was drawn instead of pixels, for tests of chart
// geometry. Text extents follow a fixed metric: every character is 0.6 font sizes wide,
// every line 1.5 font sizes high. Put_Pixels is kept, so Get_Point answers for images.

#include <algorithm>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace vantrel {

struct Recorded_Op {
    enum Kind { k_clear, k_line, k_box, k_fill, k_point, k_text, k_copy } kind;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Colour colour = 0;
    std::string text;
    int width = 1;
    Line_Style style = Line_Style::k_solid;
    Draw_Mode mode = Draw_Mode::k_normal;
    double font_size = 0;
};

class Recording_Surface : public Surface {
public:
    Recording_Surface(int width = 0, int height = 0) : width_(width), height_(height) {}

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void Resize(int width, int height) override {
        width_ = std::max(width, 0);
        height_ = std::max(height, 0);
        pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), Back_Color);
    }
    void Clear() override {
        std::fill(pixels_.begin(), pixels_.end(), Back_Color);
        Current_X = Current_Y = 0;
        Add(Recorded_Op::k_clear, 0, 0, width_, height_, Back_Color);
    }
    void Draw_Line(double x1, double y1, double x2, double y2) override {
        Add(Recorded_Op::k_line, x1, y1, x2, y2, Fore_Color);
        Current_X = x2;
        Current_Y = y2;
    }
    void Draw_Box(double x1, double y1, double x2, double y2) override { Add(Recorded_Op::k_box, x1, y1, x2, y2, Fore_Color); }
    void Fill_Box(double x1, double y1, double x2, double y2) override { Add(Recorded_Op::k_fill, x1, y1, x2, y2, Fill_Color); }
    void Set_Point(double x, double y, Colour colour) override {
        Add(Recorded_Op::k_point, x, y, x, y, colour);
        Current_X = x;
        Current_Y = y;
    }
    Colour Get_Point(double x, double y) const override {
        const int px = static_cast<int>(x), py = static_cast<int>(y);
        if (px < 0 || py < 0 || px >= width_ || py >= height_ || pixels_.empty()) return Back_Color;
        return pixels_[static_cast<std::size_t>(py) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(px)];
    }
    void Put_Pixels(int width, int height, const std::vector<Colour>& pixels) override {
        width_ = width;
        height_ = height;
        pixels_ = pixels;
    }
    void Print_Text(std::string_view text) override {
        Add(Recorded_Op::k_text, Current_X, Current_Y, Current_X + TextWidth(text), Current_Y + TextHeight(text),
            Fore_Color).text = std::string(text);
        Current_Y += TextHeight(text);
    }
    double TextWidth(std::string_view text) const override {
        std::size_t longest = 0, run = 0;
        for (char c : text) {
            if (c == '\r' || c == '\n') {
                run = 0;
                continue;
            }
            // UTF-8 continuation bytes do not start a character.
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) longest = std::max(longest, ++run);
        }
        return static_cast<double>(longest) * Font_Size() * 0.6;
    }
    double TextHeight(std::string_view text) const override {
        int lines = 1;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            if ((text[i] == '\r' || text[i] == '\n') && i + 1 < text.size()) ++lines;
        }
        return lines * Font_Size() * 1.5;
    }
    void Copy_Image(const Surface&, int, int, int, int, int dst_x, int dst_y, int dst_w, int dst_h) override {
        Add(Recorded_Op::k_copy, dst_x, dst_y, dst_x + dst_w, dst_y + dst_h, 0);
    }

    std::unique_ptr<Surface> Create_Surface(int width, int height) const override {
        auto s = std::make_unique<Recording_Surface>(width, height);
        s->Resize(width, height);
        return s;
    }

    std::vector<Recorded_Op> ops;

    // The recorded texts, in drawing order.
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& op : ops)
            if (op.kind == Recorded_Op::k_text) out.push_back(op.text);
        return out;
    }
    // The first recorded text op equal to text, or nullptr.
    const Recorded_Op* Find_Text(std::string_view text) const {
        for (const auto& op : ops)
            if (op.kind == Recorded_Op::k_text && op.text == text) return &op;
        return nullptr;
    }

private:
    Recorded_Op& Add(Recorded_Op::Kind kind, double x1, double y1, double x2, double y2, Colour colour) {
        Recorded_Op op{kind, x1, y1, x2, y2, colour, {}, Draw_Width, Draw_Style, Drawing_Mode, Font_Size()};
        ops.push_back(std::move(op));
        return ops.back();
    }

    int width_, height_;
    std::vector<Colour> pixels_;
};

}  // namespace vantrel

#pragma once
// The abstract drawing surface every chart draws on. Coordinates are user units
// (pixels with y growing downwards unless Set_Scale says otherwise); colours are
// 24-bit values red + 256 green + 65536 blue.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

using Colour = std::int32_t;

constexpr Colour Rgb(int red, int green, int blue) { return red + 256 * green + 65536 * blue; }
constexpr int Red_Of(Colour c) { return c & 0xFF; }
constexpr int Green_Of(Colour c) { return (c >> 8) & 0xFF; }
constexpr int Blue_Of(Colour c) { return (c >> 16) & 0xFF; }

constexpr Colour k_black = 0;
constexpr Colour k_white = 0xFFFFFF;

enum class Line_Style { k_solid, k_dotted, k_dashed };
enum class Draw_Mode { k_normal, k_invert };  // invert: colour XOR the image, so a second pass erases

class Surface {
public:
    virtual ~Surface() = default;

    // Size in pixels; resizing clears to the background colour.
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void Resize(int width, int height) = 0;

    // Fills with the background colour and moves the current position to (0, 0).
    virtual void Clear() = 0;

    // Lines, boxes and points in user units; a line leaves the current position at its end.
    virtual void Draw_Line(double x1, double y1, double x2, double y2) = 0;
    virtual void Draw_Box(double x1, double y1, double x2, double y2) = 0;  // open, foreground colour
    virtual void Fill_Box(double x1, double y1, double x2, double y2) = 0;  // filled, fill colour, no outline
    // A dot of the current line width in the given colour; moves the current position there.
    virtual void Set_Point(double x, double y, Colour colour) = 0;
    // Colour of the pixel under a point; the background colour outside the surface.
    virtual Colour Get_Point(double x, double y) const = 0;
    // Replaces the whole image by width x height pixels given row by row (the fast way to set
    // many points); the surface takes that size.
    virtual void Put_Pixels(int width, int height, const std::vector<Colour>& pixels) = 0;

    // Writes text with its top-left corner at the current position; "\r\n" or "\r" start a new
    // line. Afterwards the current position is at the start of the line below the text.
    virtual void Print_Text(std::string_view text) = 0;
    // Extent of a text in user units in the current font (lines split as Print_Text does).
    virtual double TextWidth(std::string_view text) const = 0;
    virtual double TextHeight(std::string_view text) const = 0;

    // Copies a rectangle of another surface's image into a rectangle of this one, stretched
    // when the sizes differ. Rectangles in pixels.
    virtual void Copy_Image(const Surface& source, int src_x, int src_y, int src_w, int src_h, int dst_x, int dst_y,
                            int dst_w, int dst_h) = 0;

    // A new surface of the same kind, cleared to white.
    virtual std::unique_ptr<Surface> Create_Surface(int width, int height) const = 0;

    // A surface that draws straight into a rectangle of this one, saving the copy back; its
    // pixels start as they are here. Null where it cannot share them or the rectangle does
    // not fit. Nothing else may draw on this surface while the view lives.
    virtual std::unique_ptr<Surface> Create_View(int /*x*/, int /*y*/, int /*width*/, int /*height*/) {
        return nullptr;
    }

    // User scale: the surface's left, top, right and bottom edges take these user values.
    void Set_Scale(double left, double top, double right, double bottom) {
        scale_x_ = (right - left) != 0 ? Width() / (right - left) : 1;
        scale_y_ = (bottom - top) != 0 ? Height() / (bottom - top) : 1;
        origin_x_ = left;
        origin_y_ = top;
    }
    void Reset_Scale() {
        scale_x_ = scale_y_ = 1;
        origin_x_ = origin_y_ = 0;
    }

    // The pixel column and row a point falls in, rounded to the nearest as lines are drawn.
    int Pixel_Column(double x) const { return Round_Pixel(To_Pixel_X(x)); }
    int Pixel_Row(double y) const { return Round_Pixel(To_Pixel_Y(y)); }
    static int Round_Pixel(double v) { return static_cast<int>(v < 0 ? v - 0.5 : v + 0.5); }

    // Line from the current position.
    void Line_To(double x, double y) { Draw_Line(Current_X, Current_Y, x, y); }
    // Moves the current position and writes a text there.
    void Print_At(double x, double y, std::string_view text) {
        Current_X = x;
        Current_Y = y;
        Print_Text(text);
    }

    double Current_X = 0, Current_Y = 0;
    Colour Fore_Color = k_black;
    Colour Back_Color = k_white;
    Colour Fill_Color = k_black;
    int Draw_Width = 1;
    Line_Style Draw_Style = Line_Style::k_solid;
    Draw_Mode Drawing_Mode = Draw_Mode::k_normal;
    bool Font_Transparent = true;

    void Set_Font(std::string_view name, double size, bool bold) {
        font_name_ = name;
        font_size_ = size;
        font_bold_ = bold;
        Font_Changed();
    }
    void Set_Font_Size(double size) { Set_Font(font_name_, size, font_bold_); }
    const std::string& Font_Name() const { return font_name_; }
    double Font_Size() const { return font_size_; }
    bool Font_Bold() const { return font_bold_; }

protected:
    virtual void Font_Changed() {}
    double To_Pixel_X(double x) const { return (x - origin_x_) * scale_x_; }
    double To_Pixel_Y(double y) const { return (y - origin_y_) * scale_y_; }
    double Pixel_Scale_X() const { return scale_x_; }
    double Pixel_Scale_Y() const { return scale_y_; }

private:
    double scale_x_ = 1, scale_y_ = 1, origin_x_ = 0, origin_y_ = 0;
    std::string font_name_ = "Arial";
    double font_size_ = 10;
    bool font_bold_ = false;
};

}  // namespace vantrel

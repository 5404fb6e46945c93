#pragma once
// The drawing surface over a QImage. The painter stays open between operations, so
// drawing many small segments stays cheap; Image() closes it before handing the image out.

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/output_file.h"
#include "platform/surface.h"

namespace vantrel {

// Makes sure a QGuiApplication exists (fonts need one), on the offscreen platform when
// no display is set. Safe to call many times.
void Ensure_Gui_Application();

class QImage_Surface : public Surface {
public:
    QImage_Surface(int width = 1, int height = 1);
    ~QImage_Surface() override;
    QImage_Surface(const QImage_Surface&) = delete;
    QImage_Surface& operator=(const QImage_Surface&) = delete;

    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    void Resize(int width, int height) override;
    void Clear() override;
    void Draw_Line(double x1, double y1, double x2, double y2) override;
    void Draw_Box(double x1, double y1, double x2, double y2) override;
    void Fill_Box(double x1, double y1, double x2, double y2) override;
    void Set_Point(double x, double y, Colour colour) override;
    Colour Get_Point(double x, double y) const override;
    void Put_Pixels(int width, int height, const std::vector<Colour>& pixels) override;
    void Print_Text(std::string_view text) override;
    double TextWidth(std::string_view text) const override;
    double TextHeight(std::string_view text) const override;
    void Copy_Image(const Surface& source, int src_x, int src_y, int src_w, int src_h, int dst_x, int dst_y,
                    int dst_w, int dst_h) override;

    // A surface of the same pixel ratio.
    std::unique_ptr<Surface> Create_Surface(int width, int height) const override;
    // A surface over a rectangle of this image's own pixels, of the same pixel ratio.
    std::unique_ptr<Surface> Create_View(int x, int y, int width, int height) override;

    // Device pixels per logical pixel of the screen the image is shown on: text keeps its
    // size in points, so it is drawn with that many more pixels.
    void Set_Pixel_Ratio(double ratio);
    double Pixel_Ratio() const { return pixel_ratio_; }

    // The image as drawn so far.
    const QImage& Image();
    // Writes the image as PNG under the output rule (platform/output_file.h).
    Outcome Save_Png(const std::string& file_name, const std::vector<std::string>& inputs = {},
                     Existing_Output existing = Existing_Output::k_refuse);

protected:
    void Font_Changed() override;

private:
    QPainter& Painter();
    void End_Painter();
    void Apply_Pen(Colour colour, int width, Line_Style style);
    void Apply_Mode();
    void New_Image(int width, int height);
    void Apply_Dots();
    // A thin solid line along a row or a column in normal mode, written into the pixels.
    void Draw_Straight_Line(QPoint a, QPoint b);
    void Write_Pixel(int x, int y, Colour colour);  // normal mode; nothing outside the image

    QImage image_;
    double pixel_ratio_ = 1;
    std::unique_ptr<QPainter> painter_;
    // The image's pixels and row length while the painter is open.
    QRgb* pixels_ = nullptr;
    qsizetype bytes_per_line_ = 0;
    QFont font_;
    QFontMetricsF metrics_;
    // What the painter was last given, so unchanged state is not set again.
    std::optional<Colour> pen_colour_;
    int pen_width_ = -1;
    Line_Style pen_style_ = Line_Style::k_solid;
    std::optional<Draw_Mode> mode_;
    bool font_set_ = false;
    // End pixel of the last line drawn in normal mode with a solid pen, and that pen.
    QPoint last_end_;
    bool last_end_valid_ = false;
    Colour last_end_colour_ = 0;
    int last_end_width_ = 0;
};

// Converts between the surface's colour numbers and Qt's.
QColor To_QColor(Colour colour);
Colour From_QRgb(QRgb rgb);

// Writes image as PNG under the output rule (platform/output_file.h).
Outcome Save_Png_File(const QImage& image, const std::string& file_name, const std::vector<std::string>& inputs = {},
                      Existing_Output existing = Existing_Output::k_refuse);

}  // namespace vantrel

#include "platform/qt/qimage_surface.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <climits>
#include <cstdlib>

namespace vantrel {

void Ensure_Gui_Application() {
    if (QGuiApplication::instance()) return;
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "vantrel";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

QColor To_QColor(Colour colour) { return QColor(Red_Of(colour), Green_Of(colour), Blue_Of(colour)); }
Colour From_QRgb(QRgb rgb) { return Rgb(qRed(rgb), qGreen(rgb), qBlue(rgb)); }

namespace {

// Nearest pixel; halves away from zero.
int Px(double v) { return Surface::Round_Pixel(v); }

// Lines of a text as Print_Text splits them.
QStringList Split_Lines(std::string_view text) {
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (s.endsWith(QLatin1Char('\n'))) s.chop(1);
    return s.split(QLatin1Char('\n'));
}

}  // namespace

QImage_Surface::QImage_Surface(int width, int height) : metrics_(QFont()) {
    Ensure_Gui_Application();
    New_Image(width, height);
    image_.fill(To_QColor(Back_Color));
    Font_Changed();
}

void QImage_Surface::New_Image(int width, int height) {
    image_ = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    Apply_Dots();
}

void QImage_Surface::Apply_Dots() {
    // 96 logical dots per inch, in device pixels.
    const int dots_per_metre = static_cast<int>(std::lround(96 / 0.0254 * pixel_ratio_));
    image_.setDotsPerMeterX(dots_per_metre);
    image_.setDotsPerMeterY(dots_per_metre);
}

void QImage_Surface::Set_Pixel_Ratio(double ratio) {
    ratio = std::clamp(ratio, 1.0, 8.0);
    if (ratio == pixel_ratio_) return;
    pixel_ratio_ = ratio;
    End_Painter();
    Apply_Dots();
    Font_Changed();
}

std::unique_ptr<Surface> QImage_Surface::Create_Surface(int width, int height) const {
    auto surface = std::make_unique<QImage_Surface>(width, height);
    surface->Set_Pixel_Ratio(pixel_ratio_);
    return surface;
}

std::unique_ptr<Surface> QImage_Surface::Create_View(int x, int y, int width, int height) {
    if (x < 0 || y < 0 || width <= 0 || height <= 0 || width > Width() - x || height > Height() - y) return nullptr;
    End_Painter();
    last_end_valid_ = false;
    auto view = std::make_unique<QImage_Surface>(1, 1);
    // bits() makes the pixels this image's own before they are shared.
    uchar* first = image_.bits() + y * image_.bytesPerLine() + x * (image_.depth() / 8);
    view->image_ = QImage(first, width, height, image_.bytesPerLine(), image_.format());
    view->pixel_ratio_ = pixel_ratio_;
    view->Apply_Dots();
    view->Font_Changed();
    return view;
}

QImage_Surface::~QImage_Surface() { End_Painter(); }

QPainter& QImage_Surface::Painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        // The painter has made the image its own; these stay valid while it is open.
        pixels_ = reinterpret_cast<QRgb*>(image_.bits());
        bytes_per_line_ = image_.bytesPerLine();
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::TextAntialiasing, true);
        painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
        pen_colour_.reset();
        pen_width_ = -1;
        mode_.reset();
        font_set_ = false;
    }
    return *painter_;
}

void QImage_Surface::End_Painter() {
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
}

void QImage_Surface::Apply_Mode() {
    QPainter& p = Painter();
    if (mode_ != Drawing_Mode) {
        p.setCompositionMode(Drawing_Mode == Draw_Mode::k_invert ? QPainter::RasterOp_SourceXorDestination
                                                                 : QPainter::CompositionMode_SourceOver);
        mode_ = Drawing_Mode;
    }
}

void QImage_Surface::Apply_Pen(Colour colour, int width, Line_Style style) {
    QPainter& p = Painter();
    Apply_Mode();
    if (pen_colour_ == colour && pen_width_ == width && pen_style_ == style) return;
    QPen pen(To_QColor(colour));
    pen.setWidth(std::max(width, 1));
    pen.setStyle(style == Line_Style::k_dotted   ? Qt::DotLine
                 : style == Line_Style::k_dashed ? Qt::DashLine
                                                 : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    pen_colour_ = colour;
    pen_width_ = width;
    pen_style_ = style;
}

void QImage_Surface::Resize(int width, int height) {
    last_end_valid_ = false;
    End_Painter();
    New_Image(width, height);
    image_.fill(To_QColor(Back_Color));
}

void QImage_Surface::Clear() {
    last_end_valid_ = false;
    End_Painter();
    image_.fill(To_QColor(Back_Color));
    Current_X = Current_Y = 0;
}

void QImage_Surface::Draw_Line(double x1, double y1, double x2, double y2) {
    const QPoint a(Px(To_Pixel_X(x1)), Px(To_Pixel_Y(y1))), b(Px(To_Pixel_X(x2)), Px(To_Pixel_Y(y2)));
    Current_X = x2;
    Current_Y = y2;
    // Traces of many ensembles per pixel repeat the pixel the last line ended on; drawing it
    // again changes nothing (except when inverting), so it costs not even a pen check.
    const bool same_pen = last_end_valid_ && last_end_colour_ == Fore_Color && last_end_width_ == Draw_Width;
    if (a == b && same_pen && a == last_end_ && Drawing_Mode == Draw_Mode::k_normal) return;
    if ((a.x() == b.x() || a.y() == b.y()) && Draw_Width <= 1 && Draw_Style == Line_Style::k_solid &&
        Drawing_Mode == Draw_Mode::k_normal) {
        if (a == b)
            Write_Pixel(a.x(), a.y(), Fore_Color);
        else
            Draw_Straight_Line(a, b);
    } else {
        Apply_Pen(Fore_Color, Draw_Width, Draw_Style);
        if (a == b)
            painter_->drawPoint(a);
        else
            painter_->drawLine(a, b);
    }
    last_end_ = b;
    last_end_valid_ = Drawing_Mode == Draw_Mode::k_normal && Draw_Style == Line_Style::k_solid;
    last_end_colour_ = Fore_Color;
    last_end_width_ = Draw_Width;
}

void QImage_Surface::Draw_Straight_Line(QPoint a, QPoint b) {
    // The painter's thin flat-capped line covers [min, max) of its varying coordinate, in
    // either direction; written straight into the image (as are single pixels) it costs a
    // fraction of a painter call.
    Painter();
    const QRgb colour = To_QColor(Fore_Color).rgb();
    const qsizetype stride = bytes_per_line_ / static_cast<qsizetype>(sizeof(QRgb));
    const int w = image_.width(), h = image_.height();
    if (a.x() == b.x()) {
        const int x = a.x();
        if (x < 0 || x >= w) return;
        const int from = std::max(std::min(a.y(), b.y()), 0), to = std::min(std::max(a.y(), b.y()), h);
        QRgb* pixel = pixels_ + static_cast<qsizetype>(from) * stride + x;
        for (int y = from; y < to; ++y, pixel += stride) *pixel = colour;
    } else {
        const int y = a.y();
        if (y < 0 || y >= h) return;
        const int from = std::max(std::min(a.x(), b.x()), 0), to = std::min(std::max(a.x(), b.x()), w);
        QRgb* line = pixels_ + static_cast<qsizetype>(y) * stride;
        for (int x = from; x < to; ++x) line[x] = colour;
    }
}

void QImage_Surface::Write_Pixel(int x, int y, Colour colour) {
    Painter();
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
    pixels_[static_cast<qsizetype>(y) * (bytes_per_line_ / static_cast<qsizetype>(sizeof(QRgb))) + x] =
        To_QColor(colour).rgb();
}

void QImage_Surface::Draw_Box(double x1, double y1, double x2, double y2) {
    last_end_valid_ = false;
    Apply_Pen(Fore_Color, Draw_Width, Draw_Style);
    const int l = Px(To_Pixel_X(std::min(x1, x2))), r = Px(To_Pixel_X(std::max(x1, x2)));
    const int t = Px(To_Pixel_Y(std::min(y1, y2))), b = Px(To_Pixel_Y(std::max(y1, y2)));
    painter_->drawRect(l, t, r - l, b - t);
}

void QImage_Surface::Fill_Box(double x1, double y1, double x2, double y2) {
    last_end_valid_ = false;
    Painter();
    Apply_Mode();
    const int l = Px(To_Pixel_X(std::min(x1, x2))), r = Px(To_Pixel_X(std::max(x1, x2)));
    const int t = Px(To_Pixel_Y(std::min(y1, y2))), b = Px(To_Pixel_Y(std::max(y1, y2)));
    // Both corners are inside the box.
    painter_->fillRect(l, t, r - l + 1, b - t + 1, To_QColor(Fill_Color));
}

void QImage_Surface::Set_Point(double x, double y, Colour colour) {
    last_end_valid_ = false;
    const int px = Px(To_Pixel_X(x)), py = Px(To_Pixel_Y(y));
    if (Draw_Width <= 1 && Drawing_Mode == Draw_Mode::k_normal) {
        Write_Pixel(px, py, colour);
    } else if (Draw_Width <= 1) {
        Apply_Pen(colour, 1, Line_Style::k_solid);
        painter_->drawPoint(px, py);
    } else {
        Painter();
        Apply_Mode();
        const int half = Draw_Width / 2;
        painter_->fillRect(px - half, py - half, Draw_Width, Draw_Width, To_QColor(colour));
    }
    Current_X = x;
    Current_Y = y;
}

Colour QImage_Surface::Get_Point(double x, double y) const {
    const int px = Px(To_Pixel_X(x)), py = Px(To_Pixel_Y(y));
    if (!image_.valid(px, py)) return Back_Color;
    return From_QRgb(image_.pixel(px, py));
}

void QImage_Surface::Put_Pixels(int width, int height, const std::vector<Colour>& pixels) {
    last_end_valid_ = false;
    End_Painter();
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (image_.width() != width || image_.height() != height) New_Image(width, height);
    const std::size_t w = static_cast<std::size_t>(width);
    const auto convert = [](Colour c) { return qRgb(Red_Of(c), Green_Of(c), Blue_Of(c)); };
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        const std::size_t row = static_cast<std::size_t>(y) * w;
        // Rows given in full go without a check a pixel, which the compiler can vectorise.
        const std::size_t given = pixels.size() > row ? std::min(pixels.size() - row, w) : 0;
        const Colour* in = pixels.data() + (given ? row : 0);
        for (std::size_t x = 0; x < given; ++x) line[x] = convert(in[x]);
        for (std::size_t x = given; x < w; ++x) line[x] = convert(Back_Color);
    }
}

void QImage_Surface::Font_Changed() {
    font_ = QFont(QString::fromStdString(Font_Name()));
    font_.setPointSizeF(std::max(Font_Size(), 1.0));
    font_.setBold(Font_Bold());
    font_.setStyleStrategy(QFont::PreferAntialias);
    metrics_ = QFontMetricsF(font_, &image_);
    font_set_ = false;
}

double QImage_Surface::TextWidth(std::string_view text) const {
    double w = 0;
    for (const QString& line : Split_Lines(text)) w = std::max(w, metrics_.horizontalAdvance(line));
    return w / Pixel_Scale_X();
}

double QImage_Surface::TextHeight(std::string_view text) const {
    return static_cast<double>(Split_Lines(text).size()) * metrics_.height() / Pixel_Scale_Y();
}

void QImage_Surface::Print_Text(std::string_view text) {
    last_end_valid_ = false;
    QPainter& p = Painter();
    Apply_Mode();
    if (!font_set_) {
        p.setFont(font_);
        font_set_ = true;
    }
    p.setPen(To_QColor(Fore_Color));
    pen_colour_.reset();
    double y = To_Pixel_Y(Current_Y);
    const double x = To_Pixel_X(Current_X);
    for (const QString& line : Split_Lines(text)) {
        if (!Font_Transparent)
            p.fillRect(QRectF(x, y, metrics_.horizontalAdvance(line), metrics_.height()), To_QColor(Back_Color));
        p.drawText(QPointF(std::round(x), std::round(y) + metrics_.ascent()), line);
        y += metrics_.height();
    }
    Current_Y += TextHeight(text);
}

void QImage_Surface::Copy_Image(const Surface& source, int src_x, int src_y, int src_w, int src_h, int dst_x,
                                int dst_y, int dst_w, int dst_h) {
    if (src_w <= 0 || src_h <= 0 || dst_w <= 0 || dst_h <= 0) return;
    if (auto* q = dynamic_cast<const QImage_Surface*>(&source); q && q != this) {
        // The source's open painter must finish before its image is read; that changes no pixel.
        const_cast<QImage_Surface*>(q)->End_Painter();
        QPainter& p = Painter();
        p.setCompositionMode(QPainter::CompositionMode_Source);
        mode_.reset();
        p.drawImage(QRect(dst_x, dst_y, dst_w, dst_h), q->image_, QRect(src_x, src_y, src_w, src_h));
        last_end_valid_ = false;
        return;
    }
    // Any other surface: nearest source pixel for every target pixel.
    End_Painter();
    last_end_valid_ = false;
    for (int y = 0; y < dst_h; ++y) {
        const int ty = dst_y + y;
        if (ty < 0 || ty >= image_.height()) continue;
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(ty));
        const int sy = src_y + static_cast<int>(static_cast<long long>(y) * src_h / dst_h);
        for (int x = 0; x < dst_w; ++x) {
            const int tx = dst_x + x;
            if (tx < 0 || tx >= image_.width()) continue;
            const int sx = src_x + static_cast<int>(static_cast<long long>(x) * src_w / dst_w);
            const Colour c = source.Get_Point(sx, sy);
            line[tx] = qRgb(Red_Of(c), Green_Of(c), Blue_Of(c));
        }
    }
}

const QImage& QImage_Surface::Image() {
    End_Painter();
    return image_;
}

Outcome QImage_Surface::Save_Png(const std::string& file_name, const std::vector<std::string>& inputs,
                                 Existing_Output existing) {
    return Save_Png_File(Image(), file_name, inputs, existing);
}

Outcome Save_Png_File(const QImage& image, const std::string& file_name, const std::vector<std::string>& inputs,
                      Existing_Output existing) {
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return Failure(Outcome_Kind::k_cannot_write, "Cannot write " + file_name + ": the image could not be encoded");
    return Write_Output_File(file_name, std::string_view(png.constData(), static_cast<std::size_t>(png.size())), inputs,
                             existing);
}

}  // namespace vantrel

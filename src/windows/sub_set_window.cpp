#include "windows/sub_set_window.h"

#include <QScreen>
#include <cmath>

#include "app_state.h"
#include "platform/qt/qimage_surface.h"

namespace vantrel {

Sub_Set_Window::Sub_Set_Window(Shell& shell, QWidget* parent) : Data_Chart_Window(shell, QStringLiteral("Sub Set"), parent) {}

void Sub_Set_Window::Draw(QImage_Surface& surface, App_State& state) {
    // The contour image is never wider than the screen, in device pixels.
    const QScreen* on = screen();
    const int screen_width =
        on ? static_cast<int>(std::lround(on->geometry().width() * surface.Pixel_Ratio())) : surface.Width();
    Draw_Sub_Set_Window(surface, state, view_, std::max(screen_width, surface.Width()));
}

}  // namespace vantrel

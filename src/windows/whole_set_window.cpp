#include "windows/whole_set_window.h"

#include "app_state.h"
#include "platform/qt/qimage_surface.h"

namespace vantrel {

Whole_Set_Window::Whole_Set_Window(Shell& shell, QWidget* parent)
    : Data_Chart_Window(shell, QStringLiteral("Whole Set"), parent) {}

void Whole_Set_Window::Draw(QImage_Surface& surface, App_State& state) { Draw_Whole_Set_Chart(surface, state, view_); }

}  // namespace vantrel

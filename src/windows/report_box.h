#pragma once
// The read-only fixed-pitch text box of the program's text windows.

#include <string>

class QPlainTextEdit;
class QWidget;

namespace vantrel {

// A read-only text box in "Courier New" (or the system's fixed-pitch face) that keeps its
// lines as they are.
QPlainTextEdit* Make_Report_Box(QWidget* parent, int point_size);

// Shows a report whose lines end in CR LF.
void Set_Report_Text(QPlainTextEdit& box, const std::string& report);

}  // namespace vantrel

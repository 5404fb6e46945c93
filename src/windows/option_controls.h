#pragma once
// Builders for the control groups the chart options dialog and the export window share:
// columns of data-type buttons under headings, Min/Max scale grids, number fields and
// the 255-item bin lists. Each builds from a compact table and returns its controls in
// control-array order.

#include <QString>
#include <initializer_list>
#include <vector>

class QAbstractButton;
class QBoxLayout;
class QButtonGroup;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace vantrel {

// A heading (may be empty) over a column of button captions.
struct Button_Column {
    const char* heading;
    std::vector<const char*> captions;
};

enum class Button_Kind { k_radio, k_check };

// Buttons of columns laid side by side in grid from (row, column), numbered column by
// column from 0; radio buttons join group (made exclusive) when one is given.
std::vector<QAbstractButton*> Add_Button_Columns(QGridLayout& grid, int row, int column,
                                                 const std::vector<Button_Column>& columns, Button_Kind kind,
                                                 QButtonGroup* group = nullptr);

// One column of buttons in a vertical box.
std::vector<QAbstractButton*> Add_Buttons(QBoxLayout& box, std::initializer_list<const char*> captions, Button_Kind kind,
                                          QButtonGroup* group = nullptr);

// A group box titled title (its '&' marks the access key that moves focus into it).
QGroupBox* Group(const QString& title, QWidget* parent);

// A text field wide enough for chars characters of the widget's font, not stretched.
QLineEdit* Number_Field(QWidget* parent, int chars);

// Rows of "label  Min  Max  unit" from row 1 of grid (row 0 holds the "Min" and "Max" headings).
struct Scale_Fields {
    std::vector<QLineEdit*> min, max;
};
struct Scale_Row {
    const char* label;
    const char* unit;
};
Scale_Fields Add_Scale_Grid(QGridLayout& grid, std::initializer_list<Scale_Row> rows);

// A list of the items "1" to "255"; check marks (checkable) or multiple selection.
QListWidget* Bin_List_Widget(QWidget* parent, bool checkable);

// Push buttons added to box in order; their captions carry access keys.
std::vector<QPushButton*> Add_Push_Buttons(QBoxLayout& box, std::initializer_list<const char*> captions);

// Centres window on its screen at its preferred size.
void Centre_On_Screen(QWidget& window);

// The index of the checked button, -1 when none is.
int Checked_Index(const std::vector<QAbstractButton*>& buttons);

// Checks buttons[index] (radio) or nothing when index is outside them, leaving the rest.
void Check_Index(const std::vector<QAbstractButton*>& buttons, int index);

}  // namespace vantrel

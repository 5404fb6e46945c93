#include "windows/option_controls.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace vantrel {

namespace {

QAbstractButton* Make_Button(const char* caption, Button_Kind kind, QButtonGroup* group) {
    QAbstractButton* button = nullptr;
    if (kind == Button_Kind::k_radio) {
        button = new QRadioButton(QString::fromUtf8(caption));
        if (group) group->addButton(button);
    } else {
        button = new QCheckBox(QString::fromUtf8(caption));
    }
    return button;
}

QLabel* Heading(const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

}  // namespace

std::vector<QAbstractButton*> Add_Button_Columns(QGridLayout& grid, int row, int column,
                                                 const std::vector<Button_Column>& columns, Button_Kind kind,
                                                 QButtonGroup* group) {
    std::vector<QAbstractButton*> buttons;
    for (const Button_Column& c : columns) {
        if (c.heading && *c.heading) grid.addWidget(Heading(c.heading), row, column);
        int r = row + 1;
        for (const char* caption : c.captions) {
            QAbstractButton* button = Make_Button(caption, kind, group);
            grid.addWidget(button, r++, column);
            buttons.push_back(button);
        }
        ++column;
    }
    grid.setRowStretch(grid.rowCount(), 1);
    return buttons;
}

std::vector<QAbstractButton*> Add_Buttons(QBoxLayout& box, std::initializer_list<const char*> captions, Button_Kind kind,
                                          QButtonGroup* group) {
    std::vector<QAbstractButton*> buttons;
    for (const char* caption : captions) {
        buttons.push_back(Make_Button(caption, kind, group));
        box.addWidget(buttons.back());
    }
    return buttons;
}

QGroupBox* Group(const QString& title, QWidget* parent) { return new QGroupBox(title, parent); }

QLineEdit* Number_Field(QWidget* parent, int chars) {
    auto* field = new QLineEdit(parent);
    const QFontMetrics metrics(field->font());
    // Room for the digits and the frame's margins, so the field fits at any font size.
    field->setMinimumWidth(metrics.horizontalAdvance(QString(chars, QLatin1Char('0'))) + metrics.averageCharWidth() * 2);
    field->setMaximumWidth(field->minimumWidth() * 3 / 2);
    field->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return field;
}

Scale_Fields Add_Scale_Grid(QGridLayout& grid, std::initializer_list<Scale_Row> rows) {
    Scale_Fields fields;
    grid.addWidget(new QLabel(QStringLiteral("Min")), 0, 1, Qt::AlignHCenter);
    grid.addWidget(new QLabel(QStringLiteral("Max")), 0, 2, Qt::AlignHCenter);
    int r = 1;
    for (const Scale_Row& row : rows) {
        auto* label = new QLabel(QString::fromUtf8(row.label));
        fields.min.push_back(Number_Field(nullptr, 6));
        fields.max.push_back(Number_Field(nullptr, 6));
        label->setBuddy(fields.min.back());
        grid.addWidget(label, r, 0);
        grid.addWidget(fields.min.back(), r, 1);
        grid.addWidget(fields.max.back(), r, 2);
        grid.addWidget(new QLabel(QString::fromUtf8(row.unit)), r, 3);
        ++r;
    }
    grid.setColumnStretch(4, 1);
    grid.setRowStretch(r, 1);
    return fields;
}

QListWidget* Bin_List_Widget(QWidget* parent, bool checkable) {
    auto* list = new QListWidget(parent);
    for (int p = 1; p <= 255; ++p) {
        auto* item = new QListWidgetItem(QString::number(p), list);
        if (checkable) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }
    list->setSelectionMode(checkable ? QAbstractItemView::SingleSelection : QAbstractItemView::MultiSelection);
    const QFontMetrics metrics(list->font());
    list->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("0000")) * 3);
    list->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    return list;
}

std::vector<QPushButton*> Add_Push_Buttons(QBoxLayout& box, std::initializer_list<const char*> captions) {
    std::vector<QPushButton*> buttons;
    for (const char* caption : captions) {
        buttons.push_back(new QPushButton(QString::fromUtf8(caption)));
        box.addWidget(buttons.back());
    }
    return buttons;
}

void Centre_On_Screen(QWidget& window) {
    window.adjustSize();
    if (const QScreen* on = window.screen()) window.move(on->availableGeometry().center() - window.rect().center());
}

int Checked_Index(const std::vector<QAbstractButton*>& buttons) {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i]->isChecked()) return static_cast<int>(i);
    }
    return -1;
}

void Check_Index(const std::vector<QAbstractButton*>& buttons, int index) {
    if (index >= 0 && index < static_cast<int>(buttons.size())) buttons[static_cast<std::size_t>(index)]->setChecked(true);
}

}  // namespace vantrel

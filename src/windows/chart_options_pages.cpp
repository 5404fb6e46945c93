// The five pages of the chart options dialog, built from the tables of their controls.
#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "windows/chart_options_dialog.h"

namespace vantrel {

namespace {

const Button_Column k_echo_beams{"Echo Amplitude", {"Beam 1", "Beam 2", "Beam 3", "Beam 4", "Average"}};
const Button_Column k_corr_beams{"Correlation", {"Beam 1", "Beam 2", "Beam 3", "Beam 4", "Average"}};
const Button_Column k_velocities{"Velocity", {"East (u)", "North (v)", "Vertical (w)", "Error", "Magnitude", "Direction"}};
const Button_Column k_pgood{"Percent Good", {"PG1", "PG2", "PG3", "PG4"}};

// Names controls prefix_0, prefix_1, ... so that scripts and tests find them.
void Name_All(const std::vector<QAbstractButton*>& buttons, const char* prefix) {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        buttons[i]->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(prefix)).arg(i));
    }
}

void Name_Fields(const Scale_Fields& fields, const char* table) {
    for (std::size_t i = 0; i < fields.min.size(); ++i) {
        fields.min[i]->setObjectName(QStringLiteral("txt%1_Min_%2").arg(QLatin1String(table)).arg(i));
        fields.max[i]->setObjectName(QStringLiteral("txt%1_Max_%2").arg(QLatin1String(table)).arg(i));
    }
}

QLineEdit* Named_Field(QWidget* parent, int chars, const char* name) {
    QLineEdit* field = Number_Field(parent, chars);
    field->setObjectName(QLatin1String(name));
    return field;
}

// A group of check boxes in one column.
QGroupBox* Check_Group(QWidget* parent, const QString& title, std::initializer_list<const char*> captions,
                       std::vector<QAbstractButton*>& out, const char* name) {
    QGroupBox* group = Group(title, parent);
    auto* box = new QVBoxLayout(group);
    out = Add_Buttons(*box, captions, Button_Kind::k_check);
    box->addStretch(1);
    Name_All(out, name);
    return group;
}

// "First" and "Last" headings over rows of two fields, each row labelled.
void Add_First_Last_Rows(QGridLayout& grid, std::initializer_list<std::pair<const char*, std::pair<QLineEdit*, QLineEdit*>>> rows) {
    grid.addWidget(new QLabel(QStringLiteral("First")), 0, 1, Qt::AlignHCenter);
    grid.addWidget(new QLabel(QStringLiteral("Last")), 0, 2, Qt::AlignHCenter);
    int r = 1;
    for (const auto& [label, fields] : rows) {
        auto* text = new QLabel(QString::fromUtf8(label));
        text->setBuddy(fields.first);
        grid.addWidget(text, r, 0);
        grid.addWidget(fields.first, r, 1);
        grid.addWidget(fields.second, r, 2);
        ++r;
    }
    grid.setColumnStretch(3, 1);
}

}  // namespace

QWidget* Chart_Options_Dialog::Build_Contour_Page() {
    auto* page = new QWidget;
    auto* types = Group(QStringLiteral("&Data Type"), page);
    auto* types_grid = new QGridLayout(types);
    contour_type_ = Add_Button_Columns(*types_grid, 0, 0, {k_echo_beams, k_corr_beams, k_velocities, k_pgood},
                                       Button_Kind::k_radio, new QButtonGroup(page));
    Name_All(contour_type_, "optContour_Type");

    auto* scale = Group(QStringLiteral("Sca&le"), page);
    auto* scale_grid = new QGridLayout(scale);
    auto* modes = new QVBoxLayout;
    contour_scale_mode_ = Add_Buttons(*modes, {"Manual", "Peak", "1 std", "2 std", "3 std"}, Button_Kind::k_radio,
                                      new QButtonGroup(page));
    Name_All(contour_scale_mode_, "optScale_Mode");
    scale_grid->addLayout(modes, 0, 0, 2, 1);
    contour_max_ = Named_Field(scale, 6, "txtContour_Max");
    contour_min_ = Named_Field(scale, 6, "txtContour_Min");
    auto* limits = new QFormLayout;
    limits->addRow(QStringLiteral("Max"), contour_max_);
    limits->addRow(QStringLiteral("Min"), contour_min_);
    scale_grid->addLayout(limits, 0, 1, Qt::AlignTop);

    auto* look = Check_Group(page, QStringLiteral("Appeara&nce"), {"Locators", "Grid", "BT Depth"}, contour_switch_,
                             "chkContour_Switch");

    auto* selected = Group(QStringLiteral("Selected S&et"), page);
    auto* selected_grid = new QGridLayout(selected);
    sel_first_ = Named_Field(selected, 8, "txtSel_First");
    sel_last_ = Named_Field(selected, 8, "txtSel_Last");
    Add_First_Last_Rows(*selected_grid, {{"Ensemble", {sel_first_, sel_last_}}});

    auto* sub = Group(QStringLiteral("Su&b Set"), page);
    auto* sub_grid = new QGridLayout(sub);
    bin_first_ = Named_Field(sub, 8, "txtBin_First");
    bin_last_ = Named_Field(sub, 8, "txtBin_Last");
    ens_first_ = Named_Field(sub, 8, "txtEns_First");
    ens_last_ = Named_Field(sub, 8, "txtEns_Last");
    Add_First_Last_Rows(*sub_grid, {{"Bin", {bin_first_, bin_last_}}, {"Ensemble", {ens_first_, ens_last_}}});

    auto* left = new QVBoxLayout;
    left->addWidget(types);
    auto* under = new QHBoxLayout;
    under->addWidget(scale);
    under->addWidget(look);
    left->addLayout(under);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(selected);
    right->addWidget(sub);
    right->addStretch(1);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    layout->addLayout(right);
    return page;
}

QWidget* Chart_Options_Dialog::Build_Profile_Page() {
    auto* page = new QWidget;
    auto* types = Group(QStringLiteral("&Data Type"), page);
    auto* types_grid = new QGridLayout(types);
    const Button_Column stats{"Statistics", {"Average Error", "Standard Deviation", "Percent Good"}};
    profile_type_ = Add_Button_Columns(*types_grid, 0, 0, {k_echo_beams, k_corr_beams, k_velocities, stats, k_pgood},
                                       Button_Kind::k_check);
    Name_All(profile_type_, "chkProfile_Type");

    auto* look = Check_Group(page, QStringLiteral("Appeara&nce"), {"Lines", "Symbols", "Grid"}, profile_style_,
                             "chkProfile_Style");
    auto* scale = Group(QStringLiteral("Sca&le"), page);
    auto* scale_grid = new QGridLayout(scale);
    profile_scale_ = Add_Scale_Grid(*scale_grid, {{"Echo Intensity", "Counts"}, {"Correlation", "Counts"},
                                                  {"Velocity", "mm/s"}, {"Magnitude", "mm/s"}, {"Direction", "Deg"},
                                                  {"Statistics", "mm/s"}, {"PGood", "%"}});
    Name_Fields(profile_scale_, "Profile");
    auto* ensemble = Group(QStringLiteral("&Ensemble"), page);
    auto* ensemble_box = new QVBoxLayout(ensemble);
    profile_ens_ = Named_Field(ensemble, 8, "txtProfile_Ens");
    ensemble_box->addWidget(profile_ens_);
    ensemble_box->addStretch(1);

    auto* lower = new QHBoxLayout;
    lower->addWidget(look);
    lower->addWidget(scale, 1);
    lower->addWidget(ensemble);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(types);
    layout->addLayout(lower);
    layout->addStretch(1);
    return page;
}

QWidget* Chart_Options_Dialog::Build_Series_Page() {
    auto* page = new QWidget;
    auto* types = Group(QStringLiteral("&Data Type"), page);
    auto* types_grid = new QGridLayout(types);
    series_type_ = Add_Button_Columns(*types_grid, 0, 0,
                                      {{"Echo Amplitude", {"Bm1", "Bm2", "Bm3", "Bm4", "Avg"}},
                                       {"Correlation", {"Bm1", "Bm2", "Bm3", "Bm4", "Avg"}}, k_velocities, k_pgood},
                                      Button_Kind::k_check);
    Name_All(series_type_, "chkSeries_Type");

    auto* look = Check_Group(page, QStringLiteral("Appeara&nce"), {"Combo", "Lines", "Symbols", "Grid"}, series_style_,
                             "chkSeries_Style");
    auto* scale = Group(QStringLiteral("Sca&le"), page);
    auto* scale_grid = new QGridLayout(scale);
    series_scale_ = Add_Scale_Grid(*scale_grid, {{"Echo Intensity", "Counts"}, {"Correlation", "Counts"},
                                                 {"Velocity", "mm/s"}, {"Magnitude", "mm/s"}, {"Direction", "Deg"}});
    Name_Fields(series_scale_, "Series");

    auto* stats = Group(QStringLiteral("S&tatistics"), page);
    auto* stats_grid = new QGridLayout(stats);
    auto* choices = new QHBoxLayout;
    averaging_ = Add_Buttons(*choices, {"All", "User"}, Button_Kind::k_radio, new QButtonGroup(page));
    Name_All(averaging_, "optAveraging");
    choices->addStretch(1);
    averaging_interval_ = Named_Field(stats, 13, "txtAveraging_Interval");
    auto* interval_label = new QLabel(QStringLiteral("Averaging Interval"), stats);
    interval_label->setBuddy(averaging_interval_);
    stats_grid->addLayout(choices, 0, 0, 1, 2);
    stats_grid->addWidget(interval_label, 1, 0);
    stats_grid->addWidget(averaging_interval_, 1, 1);
    stats_grid->setColumnStretch(2, 1);

    auto* bins = Group(QStringLiteral("B&ins"), page);
    auto* bins_box = new QVBoxLayout(bins);
    series_bins_ = Bin_List_Widget(bins, true);
    series_bins_->setObjectName(QStringLiteral("lstSeries_Bins"));
    bins_box->addWidget(series_bins_);

    auto* middle = new QHBoxLayout;
    middle->addWidget(look);
    middle->addWidget(scale, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(types);
    left->addLayout(middle);
    left->addWidget(stats);
    left->addStretch(1);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    layout->addWidget(bins);
    return page;
}

QWidget* Chart_Options_Dialog::Build_Ancillary_Page() {
    auto* page = new QWidget;
    auto* types = Group(QStringLiteral("&Data Type"), page);
    auto* types_box = new QHBoxLayout(types);
    auto* anc_column = new QVBoxLayout;
    anc_type_ = Add_Buttons(*anc_column, {"Pitch", "Roll", "Heading", "Temperature", "Depth", "Orientation", "BIT", "Battery"},
                            Button_Kind::k_check);
    Name_All(anc_type_, "chkAnc_Type");
    anc_column->addStretch(1);
    types_box->addLayout(anc_column);
    // Series boxes 20..35: bottom track and water mass have six, navigation four.
    const std::pair<const char*, std::vector<const char*>> references[] = {
        {"&Bottom Track", {"East (u)", "North (v)", "Vert (w)", "Error", "Mag", "Dir"}},
        {"&Water Mass", {"East (u)", "North (v)", "Vert (w)", "Error", "Mag", "Dir"}},
        {"Navi&gation", {"East (u)", "North (v)", "Mag", "Dir"}},
    };
    for (const auto& [title, captions] : references) {
        auto* group = Group(QString::fromUtf8(title), types);
        auto* box = new QVBoxLayout(group);
        for (const char* caption : captions) anc_vel_.push_back(Add_Buttons(*box, {caption}, Button_Kind::k_check).front());
        box->addStretch(1);
        types_box->addWidget(group);
    }
    for (std::size_t i = 0; i < anc_vel_.size(); ++i) anc_vel_[i]->setObjectName(QStringLiteral("chkSeries_Type_%1").arg(20 + i));

    auto* look = Check_Group(page, QStringLiteral("Appeara&nce"), {"Lines", "Symbols", "Grid"}, anc_style_, "chkAnc_Style");
    auto* scale = Group(QStringLiteral("Sca&le"), page);
    auto* scale_grid = new QGridLayout(scale);
    anc_scale_ = Add_Scale_Grid(*scale_grid, {{"Pitch", "Deg"}, {"Roll", "Deg"}, {"Heading", "Deg"}, {"Temperature", "Deg"},
                                              {"Depth", "m"}, {"Orientation", ""}, {"BIT", ""}, {"Battery", "Counts"},
                                              {"BT Velocity", "mm/s"}, {"BT Magnitude", "mm/s"}, {"BT Direction", "Deg"}});
    Name_Fields(anc_scale_, "Anc");
    // The density sits in the scale grid's columns, under the last Min field.
    water_density_ = Named_Field(scale, 6, "txtWater_Density");
    auto* density_label = new QLabel(QStringLiteral("Water Density"), scale);
    density_label->setBuddy(water_density_);
    const int row = static_cast<int>(anc_scale_.min.size()) + 1;
    scale_grid->setRowStretch(row, 0);
    scale_grid->setRowStretch(row + 1, 1);
    scale_grid->addWidget(density_label, row, 0);
    scale_grid->addWidget(water_density_, row, 1);
    scale_grid->addWidget(new QLabel(QStringLiteral("Kg/m^3"), scale), row, 2, 1, 2);

    auto* left = new QVBoxLayout;
    left->addWidget(types);
    left->addWidget(look);
    left->addStretch(1);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(scale);
    right->addStretch(1);
    layout->addLayout(right);
    return page;
}

QWidget* Chart_Options_Dialog::Build_Processing_Page() {
    auto* page = new QWidget;
    auto* reference = Group(QStringLiteral("Velocity Re&ference"), page);
    auto* reference_box = new QVBoxLayout(reference);
    vel_reference_ = Add_Buttons(*reference_box,
                                 {"None", "Bottom Track", "Navigation (KORVA)", "GPS(GGA)", "GPS(VTG)", "Water Mass (BK <>1)"},
                                 Button_Kind::k_radio, new QButtonGroup(page));
    Name_All(vel_reference_, "optVel_Reference");
    reference_box->addStretch(1);
    auto* eop = Check_Group(page, QStringLiteral("&End of Profile"),
                            {"BT Depth", "RSSI Bump Detection", "Cos(BeamAngle)", "Cut 1 Bin", "Cut 2 Bins"}, eop_, "chkEoP");

    auto* scale = Group(QStringLiteral("Velocity Sca&le"), page);
    auto* scale_form = new QFormLayout(scale);
    vel_scale_ = Named_Field(scale, 8, "txtVel_Scale");
    bt_vel_scale_ = Named_Field(scale, 8, "txtBT_Vel_Scale");
    scale_form->addRow(QStringLiteral("Water"), vel_scale_);
    scale_form->addRow(QStringLiteral("Bottom"), bt_vel_scale_);

    auto* files = new QVBoxLayout;
    const std::vector<QPushButton*> buttons = Add_Push_Buttons(*files, {"&Default", "L&oad", "Sa&ve"});
    default_ = buttons[0];
    load_ = buttons[1];
    save_ = buttons[2];
    files->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addWidget(scale, 0, Qt::AlignTop);
    right->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addWidget(reference);
    row->addWidget(eop);
    row->addLayout(right);
    row->addStretch(1);
    row->addLayout(files);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(row);
    layout->addStretch(1);
    return page;
}

}  // namespace vantrel

#pragma once
// The main window's menu tree: captions with their access keys, the items' check marks
// and which items start disabled.

#include <QString>
#include <array>

class QAction;
class QMenu;
class QMenuBar;

namespace vantrel {

struct Main_Menus {
    QMenu *File = nullptr, *Edit = nullptr, *Options = nullptr, *Animate = nullptr, *Utilities = nullptr,
          *Window = nullptr, *Monitor = nullptr, *Help = nullptr;
    QMenu *Copy = nullptr, *Paint_Menu = nullptr, *Chart_Options_Menu = nullptr;
    QMenu *Contour_Menu = nullptr, *Profile_Menu = nullptr, *Series_Menu = nullptr;

    QAction *MultiFile = nullptr, *Open_File = nullptr, *Save_Selected_Data_Set = nullptr,
            *Save_View_Data_Set = nullptr, *Exit = nullptr;
    std::array<QAction*, 8> Old_File{};
    std::array<QAction*, 2> Copy_Form{}, Paint{};
    QAction *Flip_Over = nullptr, *Report = nullptr;
    std::array<QAction*, 5> Chart_Options{};
    QAction* Max_Ensembles = nullptr;
    std::array<QAction*, 2> Animate_Contour{}, Animate_Profile{}, Animate_Series{};
    QAction* Export = nullptr;  // a top-level item that acts directly
    QAction *File_Details = nullptr, *Trend = nullptr;
    QAction *Align_Forms = nullptr, *Show_Info = nullptr, *Show_Whole = nullptr, *Show_Sub = nullptr,
            *Show_Viewer = nullptr, *Show_Track = nullptr;
    QAction *AutoTrack = nullptr, *TrackInt = nullptr;
    QAction *Show_Help = nullptr, *Show_About = nullptr;
    QAction* Monitor_Count = nullptr;  // the last top-level item: seconds to the next check
};

// Builds the tree in bar. Items whose windows are not part of the program yet stay disabled.
Main_Menus Build_Main_Menus(QMenuBar& bar);

// A menu caption that shows a file path as it is ('&' is not an access key there).
QString Path_Caption(const QString& path);

}  // namespace vantrel

#pragma once
// The help window "Vantrel Help": the user's guide (docs/help.md) with its pictures.

#include <QString>
#include <QTextBrowser>

namespace vantrel {

// The help page beside the program (docs/help.md), else the one of the source tree it was
// built from; empty when neither exists.
QString Find_Help_File(const QString& program_folder);

class Help_Window : public QTextBrowser {
    Q_OBJECT

public:
    explicit Help_Window(QWidget* parent = nullptr);

    // Shows the page at path, or a line saying it was not found.
    void Show_Page(const QString& path);

protected:
    // Escape closes the page, as it closes the program's dialogs.
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vantrel

#pragma once
// The About box: the program's name, its version from the build and the licences of the
// libraries it is built with.

#include <QDialog>

class QLabel;
class QPushButton;

namespace vantrel {

// "Version " + major + "." + minor as "00", and "." + revision as "00" when it is not 0.
QString Version_Text(int major, int minor, int revision);

// The libraries the program is built with and their licences, one paragraph each.
QString Legal_Notice();

class About_Box : public QDialog {
    Q_OBJECT

public:
    explicit About_Box(QWidget* parent);

    QLabel& lblTitle() { return *title_; }
    QLabel& lblVersion() { return *version_; }
    QLabel& lblDescription() { return *description_; }

private:
    void StartSysInfo();

    QLabel* title_;
    QLabel* version_;
    QLabel* description_;
};

}  // namespace vantrel

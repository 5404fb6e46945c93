// vantrel [FILE [-Mdddd]]
// vantrel --screenshot OUT.png [--window NAME] [--tab N] [--size WxH] FILE
#include <QApplication>
#include <string>
#include <string_view>
#include <vector>

#include "windows/main_window.h"
#include "windows/screenshot.h"

int main(int argc, char* argv[]) {
    if (argc > 1 && std::string_view(argv[1]) == "--screenshot") vantrel::Quiet_Qt_Notes();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    // Qt's own argument list: a path with blanks arrives whole and without its quotes.
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!arguments.isEmpty() && arguments.front() == QStringLiteral("--screenshot")) {
        arguments.removeFirst();
        return vantrel::Run_Screenshot(arguments);
    }
    std::vector<std::string> args;
    for (const QString& a : arguments) args.push_back(a.toStdString());
    vantrel::Main_Window window(vantrel::Default_Shell_Paths(QApplication::applicationDirPath().toStdString()));
    window.show();
    window.Start(args);
    return QApplication::exec();
}

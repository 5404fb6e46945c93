// vantrel [FILE [-Mdddd]]
// vantrel --screenshot OUT.png [--window NAME] [--tab N] [--size WxH] FILE
#include <QApplication>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings.h"
#include "windows/main_window.h"
#include "windows/screenshot.h"

namespace {

const char* const k_usage =
    "usage: vantrel [FILE [-Mdddd]]                            open FILE; with -M, monitor it every dddd s\n"
    "       vantrel --screenshot OUT.png [--window NAME] [--tab N] [--size WxH] FILE\n"
    "                                                          load FILE and write a picture of a window\n"
    "       vantrel --help | --version\n";

}  // namespace

int main(int argc, char* argv[]) {
    // Answered before the application object, so that they work without a display.
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::fputs(k_usage, stdout);
        return 0;
    }
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        const std::string_view version = vantrel::Options_Version();
        std::printf("vantrel %.*s\n", static_cast<int>(version.size()), version.data());
        return 0;
    }
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

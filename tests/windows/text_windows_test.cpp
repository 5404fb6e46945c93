#include <QAction>
#include <QLabel>
#include <QFile>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextDocument>

#include <tuple>
#include <utility>

#include "gui_fixture.h"
#include "windows/about_box.h"
#include "windows/data_viewer_window.h"
#include "windows/help_window.h"
#include "windows/information_window.h"

namespace vantrel::test {
namespace {

TEST_F(Gui_Test, InformationAndViewerWindowsShowTheFileAndTheirFramesUncheckTheirItems) {
    W().Start({Synth("a.ens", 300)});
    const QString text = W().Info().Text1().toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("Average Ensemble Interval 00:00:01.00"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1Char('\r')));
    // The default settings keep it hidden.
    EXPECT_FALSE(W().Info_Frame().isVisible());
    W().Menus().Show_Info->trigger();
    EXPECT_EQ((std::pair{W().Menus().Show_Info->isChecked(), W().Info_Frame().isVisible()}), (std::pair{true, true}));

    W().Info_Frame().close();
    EXPECT_FALSE(W().Menus().Show_Info->isChecked());
    W().Info_Frame().showMinimized();
    W().Menus().Show_Info->trigger();
    EXPECT_EQ((std::pair{W().Info_Frame().isVisible(), W().Info_Frame().isMinimized()}), (std::pair{true, false}));

    QPlainTextEdit& viewer = W().Viewer().Text1();
    W().Update_Data_View(0, 0);
    EXPECT_TRUE(viewer.toPlainText().isEmpty()) << "the viewer updates only while \"&Viewer\" is checked";

    W().Menus().Show_Viewer->trigger();
    ASSERT_TRUE(W().Viewer_Frame().isVisible());
    App_State& app = W().State();
    app.ds.Cursor_Ens = app.ds.First_Ens + 7;
    W().Update_Viewer();
    const QString number = QString::number(app.ds.Sub_Ens_Number(7));
    EXPECT_TRUE(viewer.toPlainText().startsWith(QStringLiteral("Ensemble ") + number.rightJustified(9))) << viewer.toPlainText().toStdString();

    const QString shown = viewer.toPlainText();
    W().Update_Data_View(-1, 0);
    W().Update_Data_View(3, app.ds.Last_Bin);
    EXPECT_EQ(viewer.toPlainText(), shown);

    const int size_8 = viewer.font().pointSize();
    W().Viewer().Size_Item(7).trigger();
    W().Viewer().Bold_Item().trigger();
    EXPECT_EQ((std::tuple{W().Viewer().Size_Item(3).isChecked(), viewer.font().pointSize() < size_8, viewer.font().bold()}),
              (std::tuple{false, true, true}));

    W().Viewer_Frame().close();
    EXPECT_FALSE(W().Menus().Show_Viewer->isChecked());
}

TEST_F(Gui_Test, AboutShowsTheVersionAndLicencesAndHelpTheUsersGuideWithItsPictures) {
    EXPECT_EQ(Version_Text(0, 1, 0), QStringLiteral("Version 0.01"));
    EXPECT_EQ(Version_Text(2, 13, 4), QStringLiteral("Version 2.13.04"));
    W().Menus().Show_About->trigger();
    ASSERT_NE(W().About(), nullptr);
    EXPECT_EQ((std::tuple{W().About()->isVisible(), W().About()->isModal(), W().About()->lblDescription().text().contains(QStringLiteral("LGPLv3"))}),
              (std::tuple{true, false, true}));

    W().Menus().Show_Help->trigger();
    ASSERT_TRUE(W().Help() && W().Help()->isVisible());
    QTextDocument& page = *W().Help()->document();
    EXPECT_TRUE(page.toPlainText().contains(QStringLiteral("File Details")));
    // Every picture the page names is there to be shown.
    QFile file(Find_Help_File(QString()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString markdown = QString::fromUtf8(file.readAll());
    const QRegularExpression picture(QStringLiteral("!\\[[^]]*\\]\\(([^)]+)\\)"));
    int pictures = 0;
    for (QRegularExpressionMatchIterator it = picture.globalMatch(markdown); it.hasNext(); ++pictures) {
        const QString name = it.next().captured(1);
        EXPECT_FALSE(page.resource(QTextDocument::ImageResource, QUrl(name)).isNull()) << name.toStdString();
    }
    EXPECT_GE(pictures, 4);
    // Without a mouse the page must still close: a window manager may offer no other key.
    QTest::keyClick(W().Help(), Qt::Key_Escape);
    EXPECT_FALSE(W().Help()->isVisible());
}

}  // namespace
}  // namespace vantrel::test

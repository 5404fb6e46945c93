#include "windows/about_box.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QSysInfo>

namespace vantrel {

QString Version_Text(int major, int minor, int revision) {
    QString text = QStringLiteral("Version %1.%2").arg(major).arg(minor, 2, 10, QLatin1Char('0'));
    if (revision != 0) text += QStringLiteral(".%1").arg(revision, 2, 10, QLatin1Char('0'));
    return text;
}

QString Legal_Notice() {
    return QStringLiteral(
               "Vantrel shows and analyses the ensemble files of current profilers.\n\n"
               "Built with Qt %1, used under the GNU Lesser General Public License version 3 "
               "(LGPLv3); Qt's source is available from qt.io.\n"
               "The netCDF export uses the netCDF-C library (Unidata, BSD-style licence), "
               "HDF5 (The HDF Group, BSD-style licence) and zlib (zlib licence).\n"
               "Tests use GoogleTest and benchmarks Google Benchmark (BSD 3-clause licence).")
        .arg(QString::fromLatin1(QT_VERSION_STR));
}

About_Box::About_Box(QWidget* parent)
    : QDialog(parent),
      title_(new QLabel(QStringLiteral("Vantrel"), this)),
      version_(new QLabel(Version_Text(VANTREL_VERSION_MAJOR, VANTREL_VERSION_MINOR, VANTREL_VERSION_PATCH), this)),
      description_(new QLabel(Legal_Notice(), this)) {
    setWindowTitle(QStringLiteral("About Vantrel"));
    auto* picIcon = new QLabel(this);
    const int icon_size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    picIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(icon_size));
    QFont big = title_->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    title_->setFont(big);
    description_->setWordWrap(true);
    description_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
    auto* cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdOK->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(picIcon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(title_, 0, 1);
    grid->addWidget(version_, 1, 1);
    grid->addWidget(description_, 2, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 3, 1);
    setMinimumWidth(fontMetrics().averageCharWidth() * 70);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &About_Box::StartSysInfo);
}

void About_Box::StartSysInfo() {
    // There is no system-information program to start on every platform: the box shows
    // what Qt knows of the system instead.
    const QString text = QStringLiteral("%1\nKernel %2 %3\nProcessor %4\nQt %5")
                             .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion(),
                                  QSysInfo::currentCpuArchitecture(), QString::fromLatin1(qVersion()));
    QMessageBox box(QMessageBox::Information, QStringLiteral("System Information"), text, QMessageBox::Ok, this);
    box.exec();
}

}  // namespace vantrel

// Figures of the real window for docs/: the Qt host with the window logic, the platform
// services replaced by their test doubles (no printer, an example logo in memory), one function
// row selected, grabbed into a PNG. The scale comes from QT_SCALE_FACTOR; `dark` draws it with
// the Fusion style in a dark palette.
//   QT_QPA_PLATFORM=offscreen bench_window_shot ROW OUT.png [dark]
#include "hosts/qt/DialogBuilder.h"
#include "hosts/qt/QtDialog.h"
#include "hosts/qt/QtEditBrowse.h"
#include "logo/LogoTestSupport.h"
#include "support/FakePlatform.h"

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The dark palette of the Fusion style as desktops commonly set it.
QPalette DarkPalette() {
    const QColor window(0x35, 0x35, 0x35), base(0x2a, 0x2a, 0x2a), grey(0x7f, 0x7f, 0x7f);
    QPalette dark(window, window);
    for (auto [role, colour] : {std::pair{QPalette::Window, window},
                                {QPalette::WindowText, QColor(Qt::white)},
                                {QPalette::Base, base},
                                {QPalette::AlternateBase, QColor(0x42, 0x42, 0x42)},
                                {QPalette::Text, QColor(Qt::white)},
                                {QPalette::Button, window},
                                {QPalette::ButtonText, QColor(Qt::white)},
                                {QPalette::BrightText, QColor(Qt::red)},
                                {QPalette::Link, QColor(0x2a, 0x82, 0xda)},
                                {QPalette::Highlight, QColor(0x2a, 0x82, 0xda)},
                                {QPalette::HighlightedText, QColor(Qt::black)}}) {
        dark.setColor(role, colour);
    }
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        dark.setColor(QPalette::Disabled, role, grey);
    }
    return dark;
}

// An example logo: a bold "PASS" in a ring-cornered box, as a 1-bit BMP.
brimwell::test::Bytes ExampleLogo() {
    QImage picture(320, 120, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(QPen(Qt::black, 8));
    painter.drawRoundedRect(QRectF(6, 6, 308, 108), 18, 18);
    QFont font;
    font.setPixelSize(72);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("PASS"));
    painter.end();
    std::vector<std::string> rows;
    for (int y = 0; y < picture.height(); ++y) {
        std::string row;
        for (int x = 0; x < picture.width(); ++x) {
            row += qGray(picture.pixel(x, y)) < 128 ? '#' : '.';
        }
        rows.push_back(row);
    }
    return brimwell::test::Loadable(brimwell::test::MonoDesc(rows));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4 || (argc == 4 && std::strcmp(argv[3], "dark") != 0)) {
        std::fprintf(stderr, "usage: %s ROW OUT.png [dark]\n", argv[0]);
        return 2;
    }
    using namespace brimwell;
    QApplication app(argc, argv);
    if (argc == 4) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(DarkPalette());
    }
    test::FakePlatform platform;
    const std::string logoPath = "/home/user/logos/pass.bmp";
    platform.fileSource.Add(logoPath, ExampleLogo());

    CBrimwellDlg logic;
    QtTopDialog window{*FindDialogTemplate(IDD_BRIMWELL_DIALOG)};
    window.Dialog().Attach(logic);
    window.show();
    QApplication::setActiveWindow(&window);

    const int row = std::atoi(argv[1]);
    auto* list = GetDlgItemAs<QListWidget>(&window, IDC_FUNCTION_LIST);
    list->setCurrentRow(row);
    // The page shown, with its logo file named as the user would type it.
    for (QObject* child : window.children()) {
        auto* page = qobject_cast<QWidget*>(child);
        if (page && page->isVisible()) {
            if (auto* file = GetDlgItemAs<QtEditBrowse>(page, IDC_LOGO_FILE)) {
                file->Edit()->setText(QString::fromStdString(logoPath));
            }
        }
    }
    list->setFocus(); // as after a click on the row
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}

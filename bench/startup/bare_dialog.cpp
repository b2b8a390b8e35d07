// The floor for the start-up benchmark: a Qt program that shows one plain dialog. With
// --label the dialog also holds one line of text, so that fonts are loaded before it is
// shown, as any dialog with text must.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Bare"));
    dialog.resize(848, 577);
    if (argc > 1 && std::strcmp(argv[1], "--label") == 0) {
        auto* label = new QLabel(QStringLiteral("Function:"), &dialog);
        label->move(10, 10);
    }
    return dialog.exec();
}

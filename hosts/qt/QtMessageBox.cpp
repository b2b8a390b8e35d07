#include "hosts/qt/QtMessageBox.h"

#include "resources/StringTable.h"

#include <QApplication>
#include <QMessageBox>

namespace brimwell {

MsgResult QtMessageBox::Show(const std::string& textUtf8, MsgIcon icon, MsgButtons buttons) {
    QMessageBox box(
        icon == MsgIcon::Error ? QMessageBox::Critical : QMessageBox::Warning,
        QString::fromUtf8(LoadStringResource(IDS_APP_TITLE)), QString::fromStdString(textUtf8),
        buttons == MsgButtons::OkCancel ? (QMessageBox::Ok | QMessageBox::Cancel) : QMessageBox::Ok,
        QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Ok);
    if (buttons == MsgButtons::OkCancel) {
        box.setEscapeButton(QMessageBox::Cancel);
    }
    const int pressed = box.exec();
    if (buttons == MsgButtons::Ok) {
        return MsgResult::Ok;
    }
    // Closing the box without a button counts as Cancel.
    return pressed == QMessageBox::Ok ? MsgResult::Ok : MsgResult::Cancel;
}

} // namespace brimwell

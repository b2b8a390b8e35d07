// The window on Linux: Qt hosts the window logic, with the Linux services.
#include "app/CBrimwellApp.h"
#include "platform/Services.h"
#include "platform/posix/PosixDeviceOpener.h"
#include "platform/posix/PosixFileSource.h"
#include "platform/posix/SystemClock.h"
#include "platform/qt/QtDialog.h"
#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtWaitCursor.h"
#include "platform/qt/SettingsProfile.h"
#include "platform/udev/UdevDevices.h"
#include "resources/StringTable.h"

#include <QApplication>

namespace brimwell {

Services MakeRealServices() {
    // Made once and kept for the life of the process.
    static QtMessageBox messageBox;
    static SettingsProfile profile;
    static SystemTicks ticks;
    static SystemLocalClock clock;
    static QtWaitCursor waitCursor;
    static PosixDeviceOpener deviceOpener;
    static QtFileDialog fileDialog;
    static PosixFileSource fileSource;
    static UdevEnumerator enumerator;
    static UdevMonitor monitor;
    return Services{&messageBox,   &profile,    &ticks,      &clock,   &waitCursor,
                    &deviceOpener, &fileDialog, &enumerator, &monitor, &fileSource};
}

} // namespace brimwell

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QString::fromLatin1(brimwell::kProfileOrganization));
    QApplication::setApplicationName(
        QString::fromUtf8(brimwell::LoadStringResource(brimwell::IDS_APP_TITLE)));
    QApplication::setApplicationVersion(QStringLiteral(BRIMWELL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("brimwell"));
    brimwell::UseServices(brimwell::MakeRealServices());
    brimwell::CBrimwellApp theApp(&brimwell::RunQtModalDialog);
    theApp.InitInstance();
    return 0;
}

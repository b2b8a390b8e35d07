// The window on Linux: Qt hosts the window logic, with the Linux services.
#include "app/CBrimwellApp.h"
#include "hosts/qt/QtDialog.h"
#include "hosts/qt/QtFileDialog.h"
#include "hosts/qt/QtJobRunner.h"
#include "hosts/qt/QtMessageBox.h"
#include "hosts/qt/QtSessionGuard.h"
#include "hosts/qt/QtWaitCursor.h"
#include "platform/Languages.h"
#include "platform/linux/PosixDeviceOpener.h"
#include "platform/linux/PosixFileSource.h"
#include "platform/linux/SettingsProfile.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/UdevDevices.h"
#include "resources/DialogTemplates.h"
#include "resources/Pictures.h"
#include "resources/StringTable.h"
#include "ui/Services.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <fontconfig/fontconfig.h>
#include <thread>

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
    static QtJobRunner jobRunner;
    static QtSessionGuard sessionGuard;
    Services services{&messageBox,   &profile,    &ticks,      &clock,   &waitCursor,
                      &deviceOpener, &fileDialog, &enumerator, &monitor, &fileSource};
    services.jobRunner = &jobRunner;
    services.sessionGuard = &sessionGuard;
    return services;
}

} // namespace brimwell

int main(int argc, char** argv) {
    // Reading fontconfig's configuration and font lists is the largest single piece of the
    // start-up (a third of the window thread's instructions before the first frame), and Qt
    // does it only when the first control measures its text. It is started here on a thread
    // of its own, so that it runs while Qt connects to the display, and finished before the
    // window is built. fontconfig keeps one configuration for the process and may be started
    // from any thread.
    std::thread fonts([] { FcInit(); });
    QApplication app(argc, argv);
    fonts.join();
    QApplication::setOrganizationName(QString::fromLatin1(brimwell::kProfileOrganization));
    QApplication::setApplicationName(
        QString::fromUtf8(brimwell::LoadStringResource(brimwell::IDS_APP_TITLE)));
    QApplication::setApplicationVersion(QStringLiteral(BRIMWELL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("brimwell"));
    // The user's language: our own texts from our catalogue, and Qt's (the message boxes'
    // buttons, the file dialog) from Qt's own translations where the system has them.
    const std::string language = brimwell::UseUserLanguage();
    QTranslator qtTexts;
    if (!language.empty() &&
        qtTexts.load(QStringLiteral("qtbase_") + QString::fromStdString(language),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }
    // The welcome page is the first one shown: its picture is decoded while the window is built.
    brimwell::PrefetchPicture(brimwell::IDB_WELCOME, app.devicePixelRatio());
    brimwell::UseServices(brimwell::MakeRealServices());
    brimwell::CBrimwellApp theApp(&brimwell::RunQtModalDialog);
    theApp.InitInstance();
    return 0;
}

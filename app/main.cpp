#include "app/CBrimwellApp.h"
#include "platform/qt/SettingsProfile.h"
#include "resources/StringTable.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QString::fromLatin1(brimwell::kProfileOrganization));
    QApplication::setApplicationName(
        QString::fromUtf8(brimwell::LoadStringResource(brimwell::IDS_APP_TITLE)));
    QApplication::setApplicationVersion(QStringLiteral(BRIMWELL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("brimwell"));
    brimwell::CBrimwellApp theApp;
    theApp.InitInstance();
    return 0;
}

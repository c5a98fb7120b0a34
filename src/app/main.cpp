#include "app/StartupChecks.h"
#include "app/TForm1.h"
#include "app/Translations.h"
#include "calcwindow/TForm2.h"
#include "core/productdata/DataFolder.h"
#include "platform/qt/QtServices.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("ORVA TEPA"));
    // Lets the desktop match the windows to the installed launcher entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("orva-tepa"));
    tepa::installQtTranslations(app);

    // Found from the program's own folder, so the program starts from any current directory and
    // from an installation unpacked anywhere.
    const std::filesystem::path dataDir =
        tepa::findDataFolder(std::filesystem::path(QCoreApplication::applicationDirPath().toStdU16String()),
                             std::filesystem::path(QStringLiteral(TEPA_INSTALLED_DATA_DIR).toStdU16String()));

    tepa::Session session;
    tepa::platform::QtPlatform platform;
    tepa::TForm1 form1(session, platform.services(),
                       {dataDir, app.arguments().mid(1), QDir::currentPath(), {argv + 1, argv + argc}});
    platform.setOwner(&form1);
    tepa::TForm2 form2(session, platform.services(), &form1);
    form1.setCalculationWindow(&form2);
    // The program runs until the main window closes, even while the calculation window is open.
    form2.setAttribute(Qt::WA_QuitOnClose, false);

    form1.show();
    form1.openCommandLineProject();

    // For start-up checks: run the whole start and end as soon as the event loop is up.
    if (qEnvironmentVariable("TEPA_QUIT_AFTER_START") == QStringLiteral("1"))
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    else
        QTimer::singleShot(0, &form1, [&form1, &platform] { tepa::runStartupChecks(form1, platform.services().messages); });
    return app.exec();
}

// The yardstick for the application's start: a bare Qt Widgets main window with a menu bar and
// a label, shown, then the event loop quits at once, as orva-tepa does under
// TEPA_QUIT_AFTER_START=1.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("Projekt"))->addAction(QStringLiteral("Neu"));
    window.setCentralWidget(new QLabel(QStringLiteral("ORVA TEPA")));
    window.resize(801, 611);
    window.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}

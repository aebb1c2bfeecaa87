// The yardstick of the start-up figure: a bare Qt main window with a menu bar (one menu, so that
// the window draws text as every program's window does), shown maximised like Vorlanto's and
// ended by the same probe after its first paint.

#include "widgets/StartupProbe.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Vorlanto"));
    window.menuBar()->addMenu(QStringLiteral("&Datei"))->addAction(QStringLiteral("&Beenden"));
    StartupProbe::whenShown(&window);
    window.showMaximized();
    return QApplication::exec();
}

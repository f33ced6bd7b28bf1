#include "shell/ui/Wizard.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Wizard::prepareApplication();
    Wizard wizard;
    QObject::connect(&wizard, &Wizard::quitRequested, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    wizard.start();
    return QApplication::exec();
}

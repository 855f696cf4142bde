// Entry point of the desktop program.
#include "FirmUtilityApp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    CFirmUtilityApp firmUtility(arguments);
    return firmUtility.Run();
}

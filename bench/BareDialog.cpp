// The yardstick of the window program's start: a bare Qt dialog of a given size, nothing else.
// Usage: zfu-bench-bare-dialog WIDTH HEIGHT
#include <QApplication>
#include <QDialog>

#include <cstdlib>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("bare dialog"));
    dialog.setFixedSize(argc > 2 ? std::atoi(argv[1]) : 400, argc > 2 ? std::atoi(argv[2]) : 300);
    dialog.show();
    return app.exec();
}

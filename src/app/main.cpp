#include "app/MainForm.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TMainForm window;
    window.show();
    return app.exec();
}

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("リハビリ実施計画書"));
    window.resize(791, 881);
    window.show();
    return app.exec();
}

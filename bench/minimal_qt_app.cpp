// The baseline for the start-up measurement: the smallest Qt Widgets program with one window.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("minimal");
    window.resize(476, 443);
    window.show();
    return app.exec();
}

// The baseline for the start-up measurement: the smallest Qt Widgets program with one window.
// With --text the window also shows one line of text, so that the baseline pays for the font
// system as every real program does.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("minimal");
    window.resize(476, 443);
    if (QApplication::arguments().contains("--text"))
        window.setCentralWidget(new QLabel("Hue Bench", &window));
    window.show();
    return app.exec();
}

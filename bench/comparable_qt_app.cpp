// The program huebench's start-up is held against: a Qt Widgets window of the same size with a
// menu bar, a toolbar and thirty widgets showing text, as a small desktop tool has. Its title is
// "comparable".
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("comparable");
    for (const char* title : {"&File", "&Edit", "&Tool", "&View", "&Help"}) {
        QMenu* menu = window.menuBar()->addMenu(title);
        for (int i = 1; i <= 5; ++i)
            menu->addAction(QString("%1 item %2").arg(QString(title).remove('&')).arg(i));
    }
    QToolBar* toolbar = window.addToolBar("Tools");
    for (const char* tool : {"Pick", "Safe", "Dialog", "Compact", "Top", "New", "Prev", "Next"})
        toolbar->addAction(tool);

    auto* central = new QWidget(&window);
    auto* grid = new QGridLayout(central);
    for (int i = 0; i < 30; ++i) {
        const QString text = QString("Item %1").arg(i + 1);
        QWidget* widget = nullptr;
        switch (i % 6) {
        case 0:
            widget = new QLabel(text);
            break;
        case 1:
            widget = new QLineEdit(text);
            break;
        case 2:
            widget = new QPushButton(text);
            break;
        case 3:
            widget = new QRadioButton(text);
            break;
        case 4: {
            auto* combo = new QComboBox;
            combo->addItems({text, "Other"});
            widget = combo;
            break;
        }
        default: {
            auto* list = new QListWidget;
            list->addItems({text, "Second", "Third"});
            widget = list;
        }
        }
        grid->addWidget(widget, i / 5, i % 5);
    }
    window.setCentralWidget(central);
    window.resize(476, 443);
    window.show();
    return app.exec();
}

// basmain: the entry routine.
#include "app/AppDataFolder.h"
#include "app/CommandLine.h"
#include "app/frmshowcolor.h"
#include "platform/QtServices.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>

#include <cstdio>
#include <stdexcept>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(huebench);
    QApplication::setApplicationName("huebench");
    QApplication::setOrganizationName("huebench");
    QApplication::setApplicationVersion("3.5");

    std::vector<std::string> args;
    for (const QString& arg : QApplication::arguments().mid(1))
        args.push_back(arg.toStdString());
    const CommandLine options = parseCommandLine(args);
    if (!options.error.empty()) {
        std::fprintf(stderr, "huebench: %s\nTry 'huebench --help' for more information.\n",
                     options.error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(commandLineUsage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::puts("Hue Bench 3.5");
        return 0;
    }

    DataFolderChoice data;
    try {
        data = resolveDataFolder(options.dataDir, !options.printDataDir);
    } catch (const std::runtime_error& e) {
        if (options.printDataDir) {
            std::fprintf(stderr, "huebench: %s\n", e.what());
            return 1;
        }
        QMessageBox::critical(nullptr, "Hue Bench",
                              QString("The data folder cannot be prepared:\n%1").arg(e.what()));
        return 1;
    }
    if (options.printDataDir) {
        std::puts(data.folder.c_str());
        return 0;
    }

    QtServices qtServices;
    Services services = qtServices.services();
    frmshowcolor window(services, data.folder);
    window.setWindowTitle("Hue Bench 3.5");
    if (QScreen* screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.show();
    return app.exec();
}

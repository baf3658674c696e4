// basmain: the entry routine.
#include "app/AppDataFolder.h"
#include "app/CommandLine.h"
#include "app/PickCommand.h"
#include "app/Version.h"
#include "app/frmshowcolor.h"
#include "cli/Cli.h"
#include "platform/ImageFile.h"
#include "platform/QtServices.h"

#include <QApplication>
#include <QScreen>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace
{

constexpr const char* appId = "org.example.huebench"; // the desktop entry's name

void setApplicationNames()
{
    QCoreApplication::setApplicationName("huebench");
    QCoreApplication::setOrganizationName("huebench");
    QCoreApplication::setApplicationVersion(HUEBENCH_VERSION);
}

// True when the environment or the arguments name a window system the toolkit may start on.
bool windowSystemNamed(const std::vector<std::string>& args)
{
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const char* value = std::getenv(variable); value && *value)
            return true;
    return std::any_of(args.begin(), args.end(), [](const std::string& arg) {
        return arg.find("platform") != std::string::npos;
    });
}

int reportUsageError(const std::string& error)
{
    std::fprintf(stderr, "huebench: %s\nTry 'huebench --help' for more information.\n",
                 error.c_str());
    return 2;
}

std::vector<std::string> argumentsOf(const QStringList& arguments)
{
    std::vector<std::string> args;
    for (const QString& arg : arguments.mid(1))
        args.push_back(arg.toStdString());
    return args;
}

constexpr const char* noDisplayLine =
    "huebench: cannot open a display (set DISPLAY or WAYLAND_DISPLAY), commands such as "
    "`huebench convert` work without one\n";

// While the toolkit connects to the window system: a connection that fails ends the program with
// one line and exit status 1 (the toolkit would print its plugin text and abort). Other messages
// of that moment are held and passed on once the connection stands.
class DisplayGuard
{
public:
    DisplayGuard() { s_previous = qInstallMessageHandler(&DisplayGuard::handle); }
    ~DisplayGuard()
    {
        qInstallMessageHandler(s_previous);
        for (const auto& [type, text] : s_held)
            s_previous(type, QMessageLogContext(), text);
        s_held.clear();
    }
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;

private:
    static void handle(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        if (type == QtFatalMsg) {
            std::fputs(noDisplayLine, stderr);
            std::_Exit(1);
        }
        s_held.emplace_back(type, text);
    }
    static inline QtMessageHandler s_previous = nullptr;
    static inline std::vector<std::pair<QtMsgType, QString>> s_held;
};

// --help, --version and --print-data-dir answer without a window system, so they work in a
// terminal without a display. Returns the exit status, or nothing when a window is needed.
std::optional<int> answerWithoutWindow(const CommandLine& options)
{
    if (options.help) {
        std::fputs(commandLineUsage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::puts("Hue Bench " HUEBENCH_VERSION);
        return 0;
    }
    if (options.printDataDir) {
        try {
            std::puts(resolveDataFolder(options.dataDir, false).folder.c_str());
        } catch (const std::runtime_error& e) {
            std::fprintf(stderr, "huebench: %s\n", e.what());
            return dynamic_cast<const UnusableDataFolder*>(&e) ? 2 : 1;
        }
        return 0;
    }
    return std::nullopt;
}

// A verb runs on a core application: no window system is needed or touched.
int runVerbWithoutWindow(int argc, char** argv, const std::vector<std::string>& args)
{
    QCoreApplication core(argc, argv);
    setApplicationNames();
    // Piped lists of any length: no flush of the answers before each line read.
    std::ios::sync_with_stdio(false);
    std::cin.tie(nullptr);
    CliIo io{std::cin, std::cout, std::cerr};
    const auto dataFolder = [](const std::optional<std::string>& dataDir) {
        return resolveDataFolder(dataDir, true).folder;
    };
    return *RunVerb(args, io, dataFolder, ReadImageFile);
}

} // namespace

int main(int argc, char** argv)
{
    {
        // Toolkit options (-platform, -display, ...) are only known once the toolkit has taken
        // them out, so arguments that are not all ours wait for the window system.
        std::vector<std::string> raw(argv + std::min(argc, 1), argv + argc);
        // The one verb that needs the window system: the screen picker for a shortcut.
        if (namesPick(raw))
            return runPickCommand(argc, argv, raw);
        if (NamesVerb(raw))
            return runVerbWithoutWindow(argc, argv, raw);
        const CommandLine early = parseCommandLine(raw);
        if (early.error.empty() && (early.help || early.version || early.printDataDir)) {
            QCoreApplication core(argc, argv);
            setApplicationNames();
            return *answerWithoutWindow(early);
        }
        if (!early.error.empty() && !windowSystemNamed(raw))
            return reportUsageError(early.error); // the toolkit could not start anyway
        if (!windowSystemNamed(raw)) {
            std::fputs(noDisplayLine, stderr);
            return 1;
        }
    }

    std::optional<DisplayGuard> guard(std::in_place);
    QApplication app(argc, argv);
    guard.reset();
    Q_INIT_RESOURCE(huebench);
    setApplicationNames();
    QGuiApplication::setDesktopFileName(appId);

    const CommandLine options = parseCommandLine(argumentsOf(QApplication::arguments()));
    if (!options.error.empty())
        return reportUsageError(options.error);
    if (const auto status = answerWithoutWindow(options))
        return *status;

    DataFolderChoice data;
    try {
        data = resolveDataFolder(options.dataDir, true);
    } catch (const std::runtime_error& e) {
        QtQuestions().showError(nullptr, "Hue Bench",
                                QString("The data folder cannot be prepared:\n%1").arg(e.what()));
        return dynamic_cast<const UnusableDataFolder*>(&e) ? 2 : 1;
    }

    QtServices qtServices;
    Services services = qtServices.services();
    frmshowcolor window(services, data.folder);
    window.setWindowTitle("Hue Bench " HUEBENCH_VERSION);
    if (QScreen* screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.show();
    return app.exec();
}

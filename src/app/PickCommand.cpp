#include "app/PickCommand.h"

#include "app/AppDataFolder.h"
#include "cli/Cli.h"
#include "color/ColorFormTable.h"
#include "palette/PaletteStore.h"
#include "picker/PickingRun.h"
#include "platform/QtServices.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <utility>

#include <poll.h>
#include <sys/stat.h>

namespace
{

constexpr const char* hint = "\nTry 'huebench pick --help' for more information.\n";

int usageError(const std::string& message)
{
    std::fprintf(stderr, "huebench pick: %s%s", message.c_str(), hint);
    return 2;
}

int failure(const std::string& message)
{
    std::fprintf(stderr, "huebench pick: %s\n", message.c_str());
    return 1;
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? ""
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The file of the palette titled or named `name` that Pick&Save could save to (kind 0 or 1).
std::optional<std::string> saveTarget(PaletteStore& store, const std::string& name)
{
    store.RepairFile();
    const auto entries = store.ReadChartIndex();
    for (const bool byTitle : {true, false})
        for (const ChartEntry& entry : entries) {
            const std::string kind = trimmed(entry.kind);
            if ((byTitle ? entry.title : entry.file) == name && (kind == "0" || kind == "1"))
                return entry.file;
        }
    return std::nullopt;
}

// Whether the reader of standard output has gone (a closed pipe): `huebench pick | head -1`
// ends with the reader, without waiting for a pick that would find it gone.
bool readerGone()
{
    struct stat info {
    };
    if (fstat(1, &info) != 0 || !S_ISFIFO(info.st_mode))
        return false;
    pollfd out{1, 0, 0};
    return poll(&out, 1, 0) == 1 && (out.revents & (POLLERR | POLLHUP)) != 0;
}

bool windowSystemNamed()
{
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const char* value = std::getenv(variable); value && *value)
            return true;
    return false;
}

} // namespace

bool namesPick(const std::vector<std::string>& args)
{
    return NamesPick(args);
}

int runPickCommand(int argc, char** argv, const std::vector<std::string>& args)
{
    CliIo io{std::cin, std::cout, std::cerr};
    const PickOptions options = ParsePickOptions(args, io);
    if (options.exitStatus)
        return *options.exitStatus;
    const ColorFormRow* chosen = FindColorForm(options.to);
    if (!chosen)
        return UnknownFormError(io, "pick", options.to, false);
    const std::optional<std::string>& dataDir = options.dataDir;
    if (!windowSystemNamed())
        return failure("there is no display to pick from (neither DISPLAY nor WAYLAND_DISPLAY)");

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName("huebench");
    QCoreApplication::setOrganizationName("huebench");
    std::optional<PaletteStore> store;
    std::string saveTo;
    try {
        store.emplace(options.save ? resolveDataFolder(dataDir, true).folder
                                   : std::filesystem::path());
        if (options.save) {
            const auto file = saveTarget(*store, *options.save);
            if (!file)
                return usageError("no palette titled or named '" + *options.save +
                                  "' that picks can be saved to (see huebench palette list)");
            saveTo = *file;
        }
    } catch (const std::runtime_error& e) {
        return failure(e.what());
    }

    QtServices qtServices;
    Services services = qtServices.services();
    CaptureResult capture = services.screenCapture.captureDesktop();
    if (!capture.desktop || capture.desktop->image.isNull())
        return failure(capture.error.isEmpty() ? "the screen could not be captured."
                                               : capture.error.toStdString());

    // A reader that has gone makes a write fail instead of ending the program unannounced.
    std::signal(SIGPIPE, SIG_IGN);
    QObject holder;
    auto* run = new PickingRun(&holder, *store, services, std::move(*capture.desktop));
    int picks = 0;
    const ColorFormRow& form = *chosen;
    QObject::connect(run, &PickingRun::colorPicked, run, [&](bascommon::ColorValue color) {
        const std::string line = form.write(color, 1.0) + "\n";
        if (std::fputs(line.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
            run->stop();
            return;
        }
        ++picks;
    });
    QObject::connect(run, &PickingRun::stopped, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, run, [run] {
        if (readerGone())
            run->stop();
    });
    watch.start(200);
    QScreen* home = QGuiApplication::screenAt(QCursor::pos());
    run->startAlone(home ? home : QGuiApplication::primaryScreen(), saveTo);
    app.exec();
    return picks > 0 ? 0 : 1;
}

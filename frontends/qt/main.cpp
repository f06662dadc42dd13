// The Linux program: the portable start-up and main window logic running on
// the Qt window system.

#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "app/CommandLine.h"
#include "app/ProgramState.h"
#include "app/StartUp.h"
#include "core/Process.h"
#include "frontends/qt/LinuxPaths.h"
#include "frontends/qt/QtApplicationSetup.h"
#include "frontends/qt/QtWindowSystem.h"
#include "mainwindow/MainWindow.h"

namespace {

// Milliseconds since the kernel started this process, from /proc; the clock
// ticks it counts in make this good to about 10 ms. -1 when /proc says nothing.
long MillisecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    const std::size_t afterName = line.rfind(')');
    if (afterName == std::string::npos) return -1;
    std::istringstream fields(line.substr(afterName + 1));
    std::string field;
    for (int index = 3; index <= 22 && fields >> field; ++index) {
    }
    const double startSeconds =
        std::strtod(field.c_str(), nullptr) / static_cast<double>(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<long>((now.tv_sec + now.tv_nsec / 1e9 - startSeconds) * 1000.0);
}

// With TINTWRIGHT_REPORT_FIRST_PAINT set, the time to the first picture of
// the palette goes to standard error, with how much of it the user spent in
// the start-up file dialogs.
void ReportFirstPaint(tintwright::qt::QtWindowSystem& windowSystem) {
    if (!qEnvironmentVariableIsSet("TINTWRIGHT_REPORT_FIRST_PAINT")) return;
    windowSystem.onStripPainted = [&windowSystem, reported = false]() mutable {
        if (reported) return;
        reported = true;
        std::fprintf(stderr,
                     "tintwright: first paint %ld ms after process start, %lld ms of it in file dialogs\n",
                     MillisecondsSinceProcessStart(),
                     static_cast<long long>(windowSystem.TimeInFileDialogs().count()));
    };
}

// Help, the version and misuse are answered before any window exists, so they
// work without a display. Returns the exit code, or nothing to go on.
std::optional<int> AnswerWithoutWindows(const tintwright::CommandLine& line, const std::string& name) {
    using Action = tintwright::CommandLine::Action;
    switch (line.action) {
        case Action::Help:
            std::fputs(tintwright::UsageText(name).c_str(), stdout);
            return 0;
        case Action::Version:
            std::fputs(tintwright::VersionText().c_str(), stdout);
            return 0;
        case Action::Misuse:
            std::fprintf(stderr, "%s: %s\n", name.c_str(), line.problem.c_str());
            std::fputs(tintwright::UsageText(name).c_str(), stderr);
            return 2;
        case Action::Run:
            break;
    }
    return std::nullopt;
}

tintwright::StartUpOptions OptionsFor(const tintwright::CommandLine& line, const std::string& executable) {
    tintwright::StartUpOptions options;
    options.settingsPath = tintwright::qt::LinuxSettingsPath(executable);
    if (line.sourcePath) options.sourcePath = tintwright::qt::AbsolutePath(*line.sourcePath);
    if (line.savePath) options.savePath = tintwright::qt::AbsolutePath(*line.savePath);
    if (line.statePath) options.statePath = tintwright::qt::AbsolutePath(*line.statePath);
    return options;
}

}  // namespace

int main(int argc, char* argv[]) {
    const tintwright::CommandLine line = tintwright::ParseCommandLine({argv + 1, argv + argc});
    const std::string name = std::filesystem::path(argc > 0 ? argv[0] : "tintwright").filename().string();
    if (const std::optional<int> answered = AnswerWithoutWindows(line, name)) return *answered;

    tintwright::qt::PrepareQtPlatform();
    QApplication application(argc, argv);
    tintwright::qt::ConfigureApplication(application);
    tintwright::qt::QtWindowSystem windowSystem;
    tintwright::ProgramState state;
    tintwright::MainWindow mainWindow(windowSystem, state);
    ReportFirstPaint(windowSystem);
    return tintwright::StartUp(windowSystem, state, mainWindow,
                               OptionsFor(line, tintwright::ThisProcess().ExecutablePath()));
}

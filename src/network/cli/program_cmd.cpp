// vodiz-cli program: sends a compiled project into its devices through the
// CAN modem, as the programming window does: the same job, the same log
// lines, the same final message and programming log.
#include "app/cli/clicommand.h"
#include "modem/mcan.h"
#include "network/programming.h"
#include "project/cli/projectcli.h"
#include "project/project.h"

#include <QDir>
#include <QFileInfo>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

const QString kUsage = QStringLiteral("program PROJECT.lpr --port PORT [--device ALIAS]... [--uart N] [--log-dir DIR]");

std::atomic<TProgramming *> interrupted{nullptr};
extern "C" void onInterrupt(int) {
    if (TProgramming *job = interrupted.load())
        job->RequestStop();
}

// The final message goes to stdout: it is the result of the command.
class ProgramCliDialogs : public ProjectCliDialogs {
public:
    ProgramCliDialogs() : ProjectCliDialogs(false) {}
    void showMessage(const QString &text) override { cliOut(text); }
    int askUser(const QString &buttons, const QString &text, const QString &title, int icon) override {
        if (title == TProgramming::nothingSelectedTitle()) {
            cliOut(text);
            return 0;
        }
        return ProjectCliDialogs::askUser(buttons, text, title, icon);
    }
};

// A bar on a terminal; failed packets as lines of their own.
class TerminalProgress : public TProgrammingListener {
public:
    TerminalProgress() : bar_(isatty(STDERR_FILENO)) {}
    void started(int rowCount) override { total_ = rowCount; }
    void progress(int position) override {
        const int percent = total_ ? position * 100 / total_ : 0;
        if (!bar_ || percent == shown_)
            return;
        shown_ = percent;
        if (position == 0) {
            std::fprintf(stderr, "\r%60s\r", "");
        } else {
            const int width = 40, filled = percent * width / 100;
            std::fprintf(stderr, "\r[%s%s] %3d%%", QByteArray(filled, '#').constData(),
                         QByteArray(width - filled, '.').constData(), percent);
        }
        std::fflush(stderr);
    }
    void logLine(const QString &line, bool failed) override {
        if (!failed)
            return;
        if (bar_)
            std::fprintf(stderr, "\r%60s\r", "");
        cliOut(line);
        std::fflush(stdout);
        shown_ = -1;
    }

private:
    bool bar_;
    int total_ = 0, shown_ = -1;
};

// The output must be newer than every file it is compiled from.
QString staleReason(const TProject &p) {
    const QFileInfo output(p.outputFile());
    if (!output.exists())
        return QStringLiteral("Файл результатов компиляции %1 не найден: сначала выполните vodiz-cli compile")
            .arg(QDir::toNativeSeparators(output.filePath()));
    QStringList sources{p.configurationFile()};
    for (const TDevice &d : p.devices())
        sources << p.programPath(d.alias);
    for (const QString &f : QDir(p.projectFolder()).entryList({QStringLiteral("*.pf")}, QDir::Files))
        sources << QDir(p.projectFolder()).filePath(f);
    for (const QString &s : sources) {
        const QFileInfo source(s);
        if (source.exists() && source.lastModified() > output.lastModified())
            return QStringLiteral("Файл результатов компиляции %1 старше файла %2: сначала выполните vodiz-cli compile")
                .arg(output.fileName(), source.fileName());
    }
    return QString();
}

bool connectModem(TMCan &can, const QString &port, int uart) {
    if (!can.logOpened()) {
        cliErr(QStringLiteral("vodiz-cli program: cannot open the packet log: %1").arg(can.logError()));
        return false;
    }
    std::unique_ptr<SerialPort> probe = makeSystemSerialPort();
    if (!probe->open(port)) {
        cliErr(QStringLiteral("vodiz-cli program: cannot open %1: %2").arg(port, probe->errorString()));
        return false;
    }
    probe.reset();
    can.SelectPort(port);
    if (!can.Connect(uart)) {
        cliErr(QStringLiteral("vodiz-cli program: no modem answers on %1 (see %2)").arg(port, can.logPath()));
        return false;
    }
    return true;
}

int run(const QStringList &args) {
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("port"), QStringLiteral("Serial port of the modem"), QStringLiteral("PORT")});
    parser.addOption({QStringLiteral("device"), QStringLiteral("Program this device (repeatable; default: all)"),
                      QStringLiteral("ALIAS")});
    parser.addOption({QStringLiteral("uart"), QStringLiteral("UART speed index 0-5 (default 3)"), QStringLiteral("N")});
    parser.addOption({QStringLiteral("log-dir"),
                      QStringLiteral("Folder of the programming log and the packet log folder"),
                      QStringLiteral("DIR")});
    if (!cliParse(parser, kUsage, args))
        return CliBadInput;
    if (parser.positionalArguments().size() != 1 || !parser.isSet(QStringLiteral("port"))) {
        cliErr(QStringLiteral("usage: vodiz-cli ") + kUsage);
        return CliBadInput;
    }
    bool uartOk = true;
    const int uart = parser.isSet(QStringLiteral("uart")) ? parser.value(QStringLiteral("uart")).toInt(&uartOk) : 3;
    if (!uartOk || uart < 0 || uart > 5) {
        cliErr(QStringLiteral("vodiz-cli program: --uart must be 0 to 5"));
        return CliBadInput;
    }

    ProgramCliDialogs dialogs;
    ScopedUserDialogs scope(dialogs);
    // The configuration reader needs the device types (input counts).
    const std::unique_ptr<TDM> dm = openCliCatalogue();
    if (!dm)
        return CliBadInput;
    TProject project(dm.get());
    if (!project.OpenProject(parser.positionalArguments().first()))
        return CliBadInput;
    const QString stale = staleReason(project);
    if (!stale.isEmpty()) {
        cliErr(stale);
        return CliBadInput;
    }
    const programcommands::Reading commands = programcommands::readOutputFile(project.outputFile());
    if (!commands.error.isEmpty()) {
        cliErr(commands.error);
        return CliBadInput;
    }
    QStringList uids;
    const QStringList named = parser.values(QStringLiteral("device"));
    for (const QString &alias : named) {
        const int i = project.deviceIndex(alias);
        if (i < 0) {
            cliErr(QStringLiteral("Устройство %1 не найдено в проекте").arg(alias));
            return CliBadInput;
        }
        uids << project.devices()[i].uid;
    }
    if (named.isEmpty())
        for (const TDevice &d : project.devices())
            uids << d.uid;

    const QString logDir =
        parser.isSet(QStringLiteral("log-dir")) ? parser.value(QStringLiteral("log-dir")) : QDir::currentPath();
    if (!QDir().mkpath(logDir)) {
        cliErr(QStringLiteral("vodiz-cli program: cannot create %1").arg(logDir));
        return CliBadInput;
    }
    TMCan can(parser.isSet(QStringLiteral("log-dir")) ? logDir : cliGlobals().programDir);
    if (!connectModem(can, parser.value(QStringLiteral("port")), uart))
        return CliBadInput;

    TProgramming job(can);
    TerminalProgress progress;
    job.setListener(&progress);
    interrupted = &job;
    const auto previous = std::signal(SIGINT, onInterrupt);
    const TProgrammingResult result = job.Run(commands.rows, uids);
    std::signal(SIGINT, previous);
    interrupted = nullptr;
    const QString logPath = TProgramming::Finish(result, logDir, QTime::currentTime());
    if (!logPath.isEmpty())
        cliErr(QStringLiteral("Лог программирования: ") + QDir::toNativeSeparators(logPath));
    if (result.outcome == TProgrammingResult::BadCommand)
        return CliBadInput;
    return result.allAcknowledged() ? CliOk : CliJobFailed;
}

CliRegistration reg({QStringLiteral("program"),
                     QStringLiteral("program the devices of a compiled project through the modem"), run});

} // namespace

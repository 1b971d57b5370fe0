// Fuzz target of the compile run. The input is up to four texts separated by
// zero bytes, written as the files of a two-device project:
//   1. the program of "dev1" (a dimmer),
//   2. the function file "fn.pf",
//   3. the program of "ir1" (an IR transceiver without configuration),
//   4. the project's configuration file; when it is given, links are taken
//      from the configuration, as in the configuration mode of the editor.
// Whatever the texts, the run must end with output and error files and
// without a crash, a hang or a sanitizer report.
#include "compiler/analis.h"
#include "compiler/compiledriver.h"

#include "app/askuser.h"
#include "app/textfile.h"
#include "project/configfile.h"
#include "project/project.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir *folder = nullptr;
ScriptedDialogs dialogs; // every question answered with its last button

void writeRaw(const QString &name, const QByteArray &bytes) {
    QFile f(folder->filePath(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    static QCoreApplication app(*argc, *argv);
    static ScopedUserDialogs scope(dialogs);
    folder = new QTemporaryDir;
    return folder->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QList<QByteArray> parts = QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0');
    auto part = [&](int i) { return i < parts.size() ? parts[i] : QByteArray(); };

    TProject project;
    project.setProjectFile(folder->filePath(QStringLiteral("fuzz.lpr")));
    project.AddDevice(QStringLiteral("dev1"), 0xA101, 1, 1, 1, 300, 0x11);
    project.AddDevice(QStringLiteral("ir1"), 0xA102, 1, 1, 1, 5000, 0x12);
    TGlobalLink all;
    all.name = QStringLiteral("all_off");
    project.globalLinks().append(all);
    configfile::assignGlobalLinkIds(project.globalLinks());
    if (!project.SaveProject())
        std::abort();

    writeRaw(QStringLiteral("dev1.pd"), part(0));
    writeRaw(QStringLiteral("fn.pf"), part(1));
    writeRaw(QStringLiteral("ir1.pd"), part(2));
    const bool configured = parts.size() > 3;
    if (configured) {
        writeRaw(QFileInfo(project.configurationFile()).fileName(), part(3));
        project.ReadConfiguration();
    }
    TAnalis::SetConfigurationMode(configured);
    TCompileDriver(project).CompileProject();
    dialogs.questions.clear();
    dialogs.messages.clear();
    return 0;
}

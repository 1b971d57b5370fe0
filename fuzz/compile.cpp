// Fuzz target of the compile run. The input is up to four texts separated by
// zero bytes, written as the files of a two-device project:
//   1. the program of "dev1" (a dimmer),
//   2. the function file "fn.pf",
//   3. the program of "ir1" (an IR transceiver without configuration),
//   4. the project's configuration file; when it is given, links are taken
//      from the configuration, as in the configuration mode of the editor.
// Whatever the texts, the run must end with output and error files and
// without a crash, a hang or a sanitizer report.
#include "fuzzsession.h"

#include "compiler/analis.h"
#include "compiler/compiledriver.h"
#include "project/configfile.h"
#include "project/project.h"

#include <QDir>
#include <QList>
#include <cstdint>

namespace {
FuzzSession *session = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    session = new FuzzSession(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QList<QByteArray> parts = QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0');
    auto part = [&](int i) { return i < parts.size() ? parts[i] : QByteArray(); };

    TProject project;
    project.setProjectFile(session->folder.filePath(QStringLiteral("fuzz.lpr")));
    project.AddDevice(QStringLiteral("dev1"), 0xA101, 1, 1, 1, 300, 0x11);
    project.AddDevice(QStringLiteral("ir1"), 0xA102, 1, 1, 1, 5000, 0x12);
    TGlobalLink all;
    all.name = QStringLiteral("all_off");
    project.globalLinks().append(all);
    configfile::assignGlobalLinkIds(project.globalLinks());
    if (!project.SaveProject())
        std::abort();

    const QDir folder(session->folder.path());
    writeRaw(folder.filePath(QStringLiteral("dev1.pd")), part(0));
    writeRaw(folder.filePath(QStringLiteral("fn.pf")), part(1));
    writeRaw(folder.filePath(QStringLiteral("ir1.pd")), part(2));
    const bool configured = parts.size() > 3;
    if (configured) {
        writeRaw(project.configurationFile(), part(3));
        project.ReadConfiguration();
    }
    TAnalis::SetConfigurationMode(configured);
    TCompileDriver(project).CompileProject();
    session->reset();
    return 0;
}

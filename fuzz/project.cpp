// Fuzz target of opening a project. The input is up to two texts separated
// by a zero byte: the project file and its configuration file. Whatever they
// hold, opening must end with the project open or a message, never a crash;
// a project that opened and saved elsewhere must open again from there.
#include "fuzzsession.h"

#include "app/catalogue.h"
#include "project/project.h"

#include <QDir>
#include <QList>
#include <cstdint>

namespace {
FuzzSession *session = nullptr;
TDM *catalogue = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    session = new FuzzSession(*argc, *argv);
    catalogue = new TDM;
    // Devices are initialised from the shipped catalogue, as in the program.
    if (!catalogue->ConnectCatalogue(QStringLiteral(VODIZ_BIN_DIR "/Database/database_vk.db")))
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QList<QByteArray> parts = QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0');
    const QString in = session->folder.filePath(QStringLiteral("in"));
    const QString out = session->folder.filePath(QStringLiteral("out"));
    QDir(in).removeRecursively();
    QDir(out).removeRecursively();
    QDir().mkpath(in);
    QDir().mkpath(out);
    writeRaw(in + QStringLiteral("/p.lpr"), parts[0]);
    if (parts.size() > 1)
        writeRaw(in + QStringLiteral("/p.cfg"), parts[1]);

    TProject project(catalogue);
    // Saving may refuse with a message; what was saved must open again.
    if (project.OpenProject(in + QStringLiteral("/p.lpr")) && project.SaveProjectAs(out + QStringLiteral("/p.lpr"))) {
        TProject again(catalogue);
        if (!again.OpenProject(out + QStringLiteral("/p.lpr")) || again.deviceCount() != project.deviceCount())
            std::abort();
    }
    session->reset();
    return 0;
}

// Preprocessing of a building's device programs: 200 programs of about
// 1,000 statements each, with labels, comments, statements over several
// lines and calls of functions that call further functions. Prints the
// statements written per second (wall clock and CPU). Target: well above
// 200,000 statements per second, so that a whole compile run can reach it.
#include "compiler/analis.h"

#include "app/textfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

namespace {

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

QStringList deviceProgram(int device) {
    QStringList lines = {"//" + QString(67, u'*'), QStringLiteral("module dev%1").arg(device), "Program;", "links;",
                         "  up, down;", "end;", "const;", "  level = 50;", "end;", "var;", "  eeprom byte a, b = 5;",
                         "end;", "Reset;"};
    for (int i = 0; i < 330; ++i) {
        lines << QStringLiteral("loop%1: if(a >= level, goto(loop%1)); // проверка %1").arg(i)
              << QStringLiteral("setout( out [%1] , level , 0 , 0 ) ;").arg(i % 8 + 1)
              << (i % 5 == 0 ? QStringLiteral("$pulse(%1);").arg(i % 8 + 1) : QStringLiteral("calc(a,\r\n  b,\r\n  +);"));
    }
    lines << "end;" << "Endprogram;";
    return lines;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    textfile::writeLines(dir.filePath("pulse.pf"), {"function pulse(ch);", "again: setout(out[ch],100,0,0);",
                                                    "$off(ch);", "goto(again);"});
    textfile::writeLines(dir.filePath("off.pf"), {"function off(ch);", "setout(out[ch],0,0,0);"});
    const int devices = 200;
    QStringList programs;
    for (int d = 0; d < devices; ++d) {
        programs << dir.filePath(QStringLiteral("dev%1.pd").arg(d));
        textfile::writeLines(programs.last(), deviceProgram(d));
    }

    TAnalis analis;
    analis.SetProjectFolder(dir.path());
    qint64 statements = 0;
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = cpuSeconds();
    for (const QString &program : programs) {
        if (analis.PreprocessProgram(program) != TPreprocessor::Ok) {
            std::printf("failed: %s\n", qPrintable(analis.PreprocessFailure().message));
            return 1;
        }
        QFile pdl(program + u'l');
        statements += pdl.size() / 544;
    }
    const double seconds = double(wall.nsecsElapsed()) / 1e9, cpu = cpuSeconds() - cpu0;
    std::printf("preprocess: %d programs, %lld statements, %.3f s wall (%.0f statements/s), %.3f s CPU (%.0f statements/s)\n",
                devices, statements, seconds, double(statements) / seconds, cpu, double(statements) / cpu);
    return 0;
}

#pragma once
// A project folder for compiler tests: devices added as the windows add
// them, programs written as the editor writes them (Windows-1251, CR LF).
#include "compiler/analis.h"
#include "compiler/compiledriver.h"

#include "app/askuser.h"
#include "app/textfile.h"
#include "project/project.h"

#include <QTemporaryDir>
#include <QTest>

using Texts = QStringList;

// A device program: the skeleton with links, const and var sections and
// the link bodies after them.
inline Texts programText(const Texts &links, const Texts &consts, const Texts &vars, const Texts &bodies) {
    Texts t{"module dev", "Program;", "links;"};
    t << links << "end;" << "const;" << consts << "end;" << "var;" << vars << "end;" << bodies << "Endprogram;";
    return t;
}

class CompileFixture {
public:
    CompileFixture() : scope(dialogs) { project.setProjectFile(dir.filePath("test.lpr")); }

    QString path(const QString &name) const { return dir.filePath(name); }

    void write(const QString &name, const Texts &lines) const {
        if (!textfile::writeLines(path(name), lines))
            qFatal("cannot write %s", qPrintable(name));
    }

    // Adds a device and its program; the project is saved so that it has
    // its folder, output and error files.
    TDevice &addDevice(const QString &alias, quint32 uid, quint32 addr, const Texts &program, int catNum = 300) {
        if (!project.AddDevice(alias, uid, 1, 1, 1, catNum, addr))
            qFatal("cannot add %s", qPrintable(alias));
        if (!project.SaveProject())
            qFatal("cannot save the project");
        write(alias + ".pd", program);
        return project.device(project.deviceCount() - 1);
    }

    void addGlobalLink(const QString &name) {
        TGlobalLink g;
        g.name = name;
        const int i = int(project.globalLinks().size());
        g.numberText = QStringLiteral("0x%1").arg(i + 1, 4, 16, QLatin1Char('0')).toUpper().replace("0X", "0x");
        g.idText = QStringLiteral("0x%1").arg(0x800 + i, 4, 16, QLatin1Char('0')).toUpper().replace("0X", "0x");
        project.globalLinks().append(g);
    }

    Texts outputFile() const { return lines(project.outputFile()); }
    Texts errorFile() const { return lines(project.errorFile()); }

    static Texts lines(const QString &path) {
        Texts l;
        textfile::readLines(path, l);
        return l;
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    ScopedUserDialogs scope;
    TProject project;
};

// A compiler object over a project whose current device is index, with
// variables and program tables given directly.
struct AnalisFixture {
    explicit AnalisFixture(TProject &p, int device = 0) : analis(&p, &tables) { p.setCurrentDevice(device); }

    void addVariable(const QString &alias, const QString &uid, const QString &addr, const QString &name,
                     quint8 size, quint16 address, quint8 memory = TVars::Eeprom) {
        TVars v;
        v.alias = alias.left(20);
        v.fullAlias = alias;
        v.uid = uid;
        v.uniqAddr = addr;
        v.name = name;
        v.size = size;
        v.memory = memory;
        v.address = address;
        tables.variables.append(v);
    }

    TCompileTables tables;
    TAnalis analis;
};

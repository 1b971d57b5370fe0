#pragma once
// The program every operand and statement test compiles in: the current
// device dev1 (address 1) with variables x (byte at 3) and w (word at 4),
// the device lamp (UID 123456, address 12) with lv (byte at 5) and lw (word
// at 201), constants, the label @l1 and the links reset, up and g1.
#include "compilefixture.h"

struct StatementFixture {
    StatementFixture() : scope(dialogs) {
        project.AddDevice("dev1", 0x000001, 1, 1, 1, 300, 0x0001);
        project.AddDevice("lamp", 0x123456, 1, 1, 1, 300, 0x0012);
        TGlobalLink g;
        g.name = "g1";
        g.numberText = "0x0001";
        g.idText = "0x0800";
        project.globalLinks().append(g);
        a = std::make_unique<AnalisFixture>(project, 0);
        a->addVariable("dev1", "000001", "000001", "x", TVars::Byte, 3);
        a->addVariable("dev1", "000001", "000001", "w", TVars::Word, 4);
        a->addVariable("lamp", "123456", "000012", "lv", TVars::Byte, 5);
        a->addVariable("lamp", "123456", "000012", "lw", TVars::Word, 0x201, TVars::Ram);
        analis().SetConstants({{"y", "5"}, {"x2", "y"}, {"cyc1", "cyc2"}, {"cyc2", "cyc1"}, {"big", "70000"},
                               {"three", "3"}});
        analis().SetLabels({{"@l1", "", "L000"}});
        analis().SetLocalLinks({{"reset", "", "0x0001", "0x0801", ""}, {"up", "", "0x0002", "0x0803", ""}});
    }
    TAnalis &analis() { return a->analis; }

    ScriptedDialogs dialogs;
    ScopedUserDialogs scope;
    TProject project;
    std::unique_ptr<AnalisFixture> a;
};

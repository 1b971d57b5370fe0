#include "autodetect.h"

#include "app/askuser.h"
#include "app/waitpanel.h"
#include "modem/mcan.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QThread>

TAutoDetect::TAutoDetect(TMCan &can, const DetectCatalogue &catalogue) : can_(can), catalogue_(catalogue) {
    const struct {
        const char *name, *type;
    } fields[] = {{"nmbr", "int"},     {"catN", "int"},  {"name", "str"},    {"UID", "int"},     {"UIDhex", "str"},
                  {"UAddr", "int"},    {"UAddrHex", "str"}, {"BootVer", "int"}, {"HardVer", "int"}, {"SoftVer", "int"}};
    for (const auto &f : fields)
        table_.AddGridField(QString::fromLatin1(f.name), QString::fromLatin1(f.type), true, true);
}

uint32_t TAutoDetect::catalogueNumberOfType(uint32_t typeWord) {
    const uint32_t a = typeWord >> 16 & 0xFF, b = typeWord >> 8 & 0xFF;
    static const struct {
        uint32_t a, b, cat;
    } map[] = {{2, 1, 100}, {2, 2, 150}, {3, 1, 300}, {3, 2, 400}, {4, 1, 500}, {4, 2, 550}, {8, 1, 1010}, {9, 1, 2000}};
    for (const auto &m : map)
        if (m.a == a && m.b == b)
            return m.cat;
    return 3;
}

void TAutoDetect::step() {
    if (wait_)
        wait_->StepWait(10);
}

void TAutoDetect::appendRow(int nmbr, int catN, const QString &name, uint32_t uid, uint32_t addr, int boot, int hard,
                            int soft) {
    table_.appendRow({{QStringLiteral("nmbr"), nmbr},
                      {QStringLiteral("catN"), catN},
                      {QStringLiteral("name"), name},
                      {QStringLiteral("UID"), qlonglong(uid)},
                      {QStringLiteral("UIDhex"), QStringLiteral("00-") + hexText(uid, 4)},
                      {QStringLiteral("UAddr"), qlonglong(addr)},
                      {QStringLiteral("UAddrHex"), hexText(addr, 6)},
                      {QStringLiteral("BootVer"), boot},
                      {QStringLiteral("HardVer"), hard},
                      {QStringLiteral("SoftVer"), soft}});
}

void TAutoDetect::fillDemo() {
    const int demoList[] = {100, 150, 300, 400, 100, 150, 150};
    QRandomGenerator *random = QRandomGenerator::global();
    for (int i = 0; i < 7; ++i) {
        const std::optional<QString> name = catalogue_.deviceName(demoList[i]);
        if (!name)
            continue;
        appendRow(i + 1, demoList[i], *name, random->bounded(1000), random->bounded(1000), random->bounded(256),
                  random->bounded(256), random->bounded(256));
        step();
        QThread::msleep(50);
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    }
}

void TAutoDetect::mergeScan(int mode, const TDevInfoFromCanArray &scan) {
    for (TDevInfoFromCan e : scan) {
        if (e.UID == can_.UID()) {
            can_.setAddr(e.Addr);
            continue;
        }
        can_.WriteLog(QStringLiteral("Автодетект Модем : UID = %1, cat = %2, uaddr = %3")
                          .arg(hexText(e.UID, 4), hexText(e.Type, 6), hexText(e.Addr, 4)));
        if (mode == 0) {
            e.Type = catalogueNumberOfType(e.Type);
            working_.append(e);
            continue;
        }
        bool known = false;
        for (TDevInfoFromCan &w : working_) {
            if (w.UID != e.UID)
                continue;
            known = true;
            if (e.Type < 10000)
                w.Type = e.Type;
        }
        if (!known)
            working_.append(e);
    }
}

bool TAutoDetect::Detect() {
    table_.clearRows();
    step();
    if (demo_) {
        fillDemo();
    } else {
        working_.clear();
        step();
        for (int mode = 0; mode <= 1; ++mode) {
            step();
            if (!can_.ScanNetwork(mode)) {
                userDialogs().showMessage(scanFailedMessage());
                continue;
            }
            mergeScan(mode, can_.ScanList());
        }
        if (working_.isEmpty()) {
            can_.InitModem();
            userDialogs().showMessage(notFoundMessage());
            return false;
        }
        step();
        for (int i = 0; i < working_.size(); ++i) {
            const TDevInfoFromCan &e = working_[i];
            const std::optional<QString> name = catalogue_.deviceName(int(e.Type));
            appendRow(i + 1, int(e.Type), name.value_or(unknownTypeName()), e.UID, e.Addr, e.Boot, e.Hard, e.Soft);
        }
    }
    can_.TXU(0, QByteArray(1, char(0xFF)), 1500, QStringLiteral("FF")); // stop all devices
    can_.InitModem();
    return true;
}

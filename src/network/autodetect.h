#pragma once
// TAutoDetect: finds the devices on the bus. Runs the scan of older devices
// (mode 0, whose type words are mapped to catalogue numbers) and then the
// scan of mode 1, merges both, recognises the modem's own entry and lists
// every device with its catalogue name in the result table.
#include "app/memtable.h"
#include "detectcatalogue.h"
#include "modem/scanentry.h"

class TMCan;
class TWaitPanel;

class TAutoDetect {
public:
    TAutoDetect(TMCan &can, const DetectCatalogue &catalogue);

    void SetWaitPanel(TWaitPanel *panel) { wait_ = panel; }
    // The demo setting: rows are made up from a fixed list of catalogue numbers.
    void setDemo(bool demo) { demo_ = demo; }
    bool Detect();

    // nmbr, catN, name, UID, UIDhex, UAddr, UAddrHex, BootVer, HardVer, SoftVer
    TMemTable &table() { return table_; }
    const TDevInfoFromCanArray &workingList() const { return working_; }

    // Catalogue number of a mode-0 type word (3 for unknown types).
    static uint32_t catalogueNumberOfType(uint32_t typeWord);
    // Adds the entries of one scan to the working list by the rules of its
    // mode; the modem's own entry only sets the connection's address.
    void mergeScan(int mode, const TDevInfoFromCanArray &scan);

    static QString notFoundMessage() { return QStringLiteral("Устройства в сети не найдены !"); }
    static QString scanFailedMessage() { return QStringLiteral("Неудачный автодетект! Обратитесь к разработчику"); }
    static QString unknownTypeName() { return QStringLiteral("Неизвестный каталожный номер"); }

private:
    void step();
    void fillDemo();
    void appendRow(int nmbr, int catN, const QString &name, uint32_t uid, uint32_t addr, int boot, int hard, int soft);

    TMCan &can_;
    const DetectCatalogue &catalogue_;
    TWaitPanel *wait_ = nullptr;
    bool demo_ = false;
    TMemTable table_;
    TDevInfoFromCanArray working_;
};

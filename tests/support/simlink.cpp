#include "simlink.h"

#include "app/text1251.h"
#include "modem/packetlog.h"

#include <QFile>

SimLink::SimLink(const SimNetworkSpec &spec) {
    wire = std::make_shared<LoopbackWire>(QStringList{portName()});
    modem = std::make_unique<SimModem>(spec);
    auto devicePort = wire->makePort(LoopbackWire::DeviceSide);
    devicePort->open(QStringLiteral("sim"));
    runner = std::make_unique<SimRunner>(*modem, std::move(devicePort));
    can = std::make_unique<TMCan>(dir.path());
    // Like the real modem, the simulated one switches its UART speed a
    // moment after answering F0; the pause after set-up covers that.
    can->setPortPauses(0, 20);
    can->setPortFactory([this]() -> std::unique_ptr<SerialPort> {
        ++opens;
        if (failOpenAfter >= 0 && opens > failOpenAfter)
            return std::make_unique<LoopbackPort>(std::make_shared<LoopbackWire>(QStringList{QStringLiteral("-")}),
                                                  LoopbackWire::LinkSide);
        return wire->makePort(LoopbackWire::LinkSide);
    });
}

SimLink::~SimLink() {
    can.reset(); // the workers stop before the line goes away
    runner.reset();
}

bool SimLink::connect(int speed) {
    can->SelectPort(portName());
    return can->Connect(speed);
}

QStringList SimLink::logLines() const {
    QFile f(can->logPath());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QString &l : cp1251::decode(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        lines << l.section(QStringLiteral("] "), 1);
    return lines;
}

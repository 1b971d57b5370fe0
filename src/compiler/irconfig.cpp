#include "irconfig.h"

#include "irlistdata.h"

#include "app/catalogue.h"
#include "project/project.h"

SY_DEFINE_CLASS(TIRConfig, TSyPersistent,
    syText("IRName", &TIRConfig::IRName),
    syObject("RemoteList", &TIRConfig::RemoteList))

namespace {

QString hex2(int value) { return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper(); }

bool isHexText(const QString &text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f')))
            return false;
    }
    return true;
}

// Byte k of a signal is the pair of characters 2k, 2k+1; a missing last
// character counts as 0.
QByteArray signalBytes(const QString &signal) {
    QByteArray bytes;
    for (qsizetype i = 0; i < signal.size(); i += 2)
        bytes.append(char(signal.mid(i, 2).leftJustified(2, QLatin1Char('0')).toUInt(nullptr, 16)));
    return bytes;
}

// Bytes of one "47" line of a signal; past the end of the signal, zeros.
constexpr int SignalBytesPerLine = 5;
// A length byte cannot count more.
constexpr int MaxSignalBytes = 255;

QString buttonCode(const TRButton &b) {
    return b.IsProtocol() ? QStringLiteral("00000001") + hex2(b.ProtocolSlot)
                          : QStringLiteral("00000000") + hex2(b.SignalSlot);
}

template <class F> void forEachButton(const TRemoteList &remotes, F f) {
    for (int r = 0; r < remotes.Count(); ++r)
        for (int b = 0; b < remotes.Item(r)->ButtonList.Count(); ++b)
            f(*remotes.Item(r)->ButtonList.Item(b));
}

} // namespace

const IRButtonRow *findCatalogueButton(const QList<IRButtonRow> &rows, int remoteID, const QString &name) {
    for (const IRButtonRow &row : rows)
        if (row.IRID == remoteID && row.BName.compare(name, Qt::CaseInsensitive) == 0)
            return &row;
    return nullptr;
}

void TIRConfig::Attach(const TIRContext *context) {
    context_ = context;
    for (int i = 0; i < RemoteList.Count(); ++i)
        RemoteList.Item(i)->Attach(context);
}

void TIRConfig::ReadCustom(const TSyTreeNode &node, const TSyLoadProblemHandler &onProblem) {
    TSyPersistent::ReadCustom(node, onProblem);
    Attach(context_); // the remotes were made anew by the load
}

bool TIRConfig::AddRemote(int remoteID, int sysDBType) {
    for (int i = 0; i < RemoteList.Count(); ++i)
        if (RemoteList.Item(i)->RemoteID == remoteID && RemoteList.Item(i)->SysDBType == sysDBType)
            return true;
    auto remote = std::make_unique<TRemote>();
    remote->RemoteID = remoteID;
    remote->SysDBType = sysDBType;
    remote->Attach(context_);
    TRemote *added = remote.get();
    RemoteList.Add(std::move(remote));
    if (context_ && context_->listData && context_->listData->Shown() == this)
        context_->listData->AppendRemoteRow(added);
    if (context_)
        context_->markModified();
    return false;
}

void TIRConfig::DeleteRemote() {
    TIRListData *data = context_ ? context_->listData : nullptr;
    TRemote *remote = data && data->Shown() == this ? data->CurrentRemote() : nullptr;
    if (!remote)
        return;
    const int row = data->CurrentRemoteRow();
    RemoteList.Delete(RemoteList.IndexOf(remote));
    data->Show(this, row); // the rows pointed at the freed remote and its buttons
    context_->markModified();
}

bool TIRConfig::failPrepare(const TRButton &button, const TRemote &remote, const QString &why) {
    prepareProblem_ = QStringLiteral("Кнопка \"%1\" пульта \"%2\"").arg(button.ButtonName, remote.RemoteName()) + why;
    return false;
}

bool TIRConfig::prepareButton(TRButton &b, const TRemote &remote, const QList<IRButtonRow> &catalogueRows) {
    b.ProtocolSlot = b.SignalSlot = TRButton::NoSlot;
    b.PID = b.Addr = b.Code = 255;
    b.HasLink = isLinkName(b.Link);
    const IRButtonRow *row = findCatalogueButton(catalogueRows, b.RemoteID, b.ButtonName);
    if (!row)
        return failPrepare(b, remote, QStringLiteral(" не найдена в справочнике ИК-пультов"));
    // Slot 255 means "none", so 255 buttons of a kind is the most a device holds.
    if (row->PID == 255) {
        if (!isHexText(row->Signal) || (row->Signal.size() + 1) / 2 > MaxSignalBytes)
            return failPrepare(b, remote, QStringLiteral(": сигнал в справочнике повреждён"));
        if (nextSignalSlot_ >= TRButton::NoSlot)
            return failPrepare(b, remote, QStringLiteral(": слишком много кнопок с записанным сигналом"));
        b.SignalSlot = quint8(nextSignalSlot_++);
        b.Signal = row->Signal;
    } else {
        if (nextProtocolSlot_ >= TRButton::NoSlot)
            return failPrepare(b, remote, QStringLiteral(": слишком много кнопок с протоколом"));
        b.ProtocolSlot = quint8(nextProtocolSlot_++);
        b.PID = quint8(row->PID);
        b.Addr = quint8(row->Addr);
        b.Code = quint8(row->Code);
    }
    b.Flags = quint8(32 + (b.HasLink ? 64 : 0) + (b.AddedByCompiler ? 128 : 0));
    return true;
}

bool TIRConfig::PrepareButtonList() {
    nextProtocolSlot_ = nextSignalSlot_ = 0;
    prepareProblem_.clear();
    const QList<IRButtonRow> rows = context_ && context_->catalogue ? context_->catalogue->QButtonsAll()
                                                                    : QList<IRButtonRow>();
    for (int r = 0; r < RemoteList.Count(); ++r) {
        const TRemote &remote = *RemoteList.Item(r);
        for (int b = 0; b < remote.ButtonList.Count(); ++b)
            if (!prepareButton(*remote.ButtonList.Item(b), remote, rows))
                return false;
    }
    return true;
}

bool TIRConfig::LookUpButtonCode(const QString &remoteName, const QString &buttonName, QString &code) {
    TRemote *first = nullptr; // the first remote of that name
    for (int i = 0; i < RemoteList.Count(); ++i) {
        TRemote *remote = RemoteList.Item(i);
        if (remote->RemoteName().compare(remoteName, Qt::CaseInsensitive) != 0)
            continue;
        if (!first)
            first = remote;
        // A button that was never prepared has no slot: its code would
        // name no button of the device.
        if (const TRButton *b = remote->FindButton(buttonName)) {
            if (!b->IsProtocol() && !b->IsSignal())
                return false;
            code = buttonCode(*b);
            return true;
        }
    }
    if (!first || !context_ || !context_->catalogue)
        return false;
    const QList<IRButtonRow> rows = context_->catalogue->QButtonsAll();
    const IRButtonRow *row = findCatalogueButton(rows, first->RemoteID, buttonName);
    if (!row)
        return false;
    // The catalogue's spelling, not the statement's lower-cased one.
    TRButton *b = first->AddButton(row->BName, first->RemoteID, first->SysDBType);
    b->AddedByCompiler = true;
    if (!prepareButton(*b, *first, rows)) {
        first->RemoveButton(b);
        return false;
    }
    code = buttonCode(*b);
    return true;
}

QString TIRConfig::linkId(const QString &link) const {
    return context_ && context_->project ? context_->project->LinkAddress(link) : QString();
}

void TIRConfig::WriteButtonLines(const QString &prefix, QStringList &lines) const {
    forEachButton(RemoteList, [&](const TRButton &b) {
        if (b.IsProtocol())
            lines << prefix + QStringLiteral("44") + hex2(b.ProtocolSlot) + hex2(b.PID) + hex2(b.Flags) +
                         hex2(b.Addr) + hex2(b.Code);
    });
    forEachButton(RemoteList, [&](const TRButton &b) {
        if (!b.IsSignal())
            return;
        const QByteArray bytes = signalBytes(b.Signal);
        lines << prefix + QStringLiteral("49") + hex2(b.SignalSlot) + hex2(int(bytes.size())) + hex2(b.Flags);
        for (int line = 0; line * SignalBytesPerLine < bytes.size(); ++line) {
            QString text = prefix + QStringLiteral("47") + hex2(b.SignalSlot) + hex2(line);
            for (int k = 0; k < SignalBytesPerLine; ++k) {
                const int at = line * SignalBytesPerLine + k;
                text += hex2(at < bytes.size() ? quint8(bytes[at]) : 0);
            }
            lines << text;
        }
    });
    // Link lines: a link that is neither global nor the device's gives none.
    forEachButton(RemoteList, [&](const TRButton &b) {
        const QString id = b.IsProtocol() && b.HasLink ? linkId(b.Link) : QString();
        if (!id.isEmpty())
            lines << prefix + QStringLiteral("45") + hex2(b.ProtocolSlot) + id;
    });
    forEachButton(RemoteList, [&](const TRButton &b) {
        const QString id = b.IsSignal() && b.HasLink ? linkId(b.Link) : QString();
        if (!id.isEmpty())
            lines << prefix + QStringLiteral("46") + hex2(b.SignalSlot) + id;
    });
}

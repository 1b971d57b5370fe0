#include "irlistdata.h"

#include "irconfig.h"

#include "app/catalogue.h"

#include <algorithm>

namespace {

struct FieldDef {
    const char *name;
    const char *type;
    bool visible;
    bool readOnly;
    const char *title;
    int width;
};

const FieldDef kRemoteFields[] = {
    {"ptr", "int", false, true, "ptr", 0},
    {"RemoteName", "str", true, true, "Пульт", 100},
};

// Link and GL are hidden but written by the property view.
const FieldDef kButtonFields[] = {
    {"ptr", "int", false, true, "ptr", 0},
    {"IRRemoteID", "int", false, true, "ПультID", 0},
    {"RemoteName", "str", false, true, "Пульт", 0},
    {"ButtonID", "int", true, true, "ID", 0},
    {"ButtonName", "str", true, true, "Кнопка", 35},
    {"ButtonPrimech", "str", true, false, "Примечание", 65},
    {"ButtonDescr", "str", false, true, "Описание", 0},
    {"Link", "str", false, false, "Линк", 0},
    {"GL", "int", false, false, "Глоб.", 0},
};

template <size_t N> void addFields(TMemTable &table, const FieldDef (&defs)[N]) {
    for (const FieldDef &f : defs) {
        table.AddGridField(QString::fromUtf8(f.name), QString::fromLatin1(f.type), f.visible, f.readOnly);
        table.setFieldTitle(QString::fromUtf8(f.name), QString::fromUtf8(f.title), f.width);
    }
}

// Rows keep the object they stand for as its address ("ptr"); it is only
// used after checking that the object is still in its list.
QVariant ptrValue(const void *object) { return object ? QVariant(qlonglong(quintptr(object))) : QVariant(); }
const void *ptrOf(const TMemTable &table, int row) {
    return reinterpret_cast<const void *>(quintptr(table.value(row, QStringLiteral("ptr")).toLongLong()));
}

QString field(const char *name) { return QString::fromLatin1(name); }

// Index of the "name=value" entry for name (letter case ignored), or -1.
int entryOf(const QStringList &entries, const QString &name) {
    for (int i = 0; i < entries.size(); ++i)
        if (entries[i].section(QLatin1Char('='), 0, 0).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

bool TIRButtonTable::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (!TMemTable::setData(index, value, role))
        return false;
    if (onPost)
        onPost(index.row());
    return true;
}

TIRListData::TIRListData(const TIRContext &context) : context_(context) {
    addFields(remotes_, kRemoteFields);
    addFields(buttons_, kButtonFields);
    buttons_.onPost = [this](int row) { storeButtonRow(row); };
}

void TIRListData::Show(TIRConfig *config, int currentRow) {
    shown_ = config;
    remotes_.clearRows();
    for (int i = 0; config && i < config->RemoteList.Count(); ++i) {
        const TRemote *remote = config->RemoteList.Item(i);
        remotes_.appendRow({{field("ptr"), ptrValue(remote)}, {field("RemoteName"), remote->RemoteName()}});
    }
    SetCurrentRemoteRow(std::min(currentRow, remotes_.rowCount() - 1));
}

void TIRListData::AppendRemoteRow(TRemote *remote) {
    const int row = remotes_.appendRow({{field("ptr"), ptrValue(remote)}, {field("RemoteName"), remote->RemoteName()}});
    SetCurrentRemoteRow(row);
}

TRemote *TIRListData::remoteOfRow(int row) const {
    if (!shown_ || row < 0 || row >= remotes_.rowCount())
        return nullptr;
    const void *ptr = ptrOf(remotes_, row);
    for (int i = 0; i < shown_->RemoteList.Count(); ++i)
        if (shown_->RemoteList.Item(i) == ptr)
            return shown_->RemoteList.Item(i);
    return nullptr;
}

void TIRListData::SetCurrentRemoteRow(int row) {
    currentRemote_ = row >= 0 && row < remotes_.rowCount() ? row : -1;
    fillButtons(QVariant());
}

TRButton *TIRListData::ButtonOfRow(int row) const {
    const TRemote *remote = CurrentRemote();
    if (!remote || row < 0 || row >= buttons_.rowCount())
        return nullptr;
    const void *ptr = ptrOf(buttons_, row);
    const QString name = buttons_.value(row, field("ButtonName")).toString();
    for (int i = 0; i < remote->ButtonList.Count(); ++i) {
        TRButton *b = remote->ButtonList.Item(i);
        if (b == ptr && b->ButtonName.compare(name, Qt::CaseInsensitive) == 0)
            return b;
    }
    return nullptr;
}

void TIRListData::SetCurrentButtonRow(int row) {
    currentButton_ = row >= 0 && row < buttons_.rowCount() ? row : -1;
    if (currentButton_ < 0 || currentRemote_ < 0)
        return;
    const QString remoteName = remotes_.value(currentRemote_, field("RemoteName")).toString();
    const QString entry = remoteName + QLatin1Char('=') + buttons_.value(currentButton_, field("ButtonID")).toString();
    const int at = entryOf(selected_, remoteName);
    if (at >= 0)
        selected_[at] = entry;
    else
        selected_ << entry;
}

void TIRListData::RefreshButtons() {
    fillButtons(buttons_.value(currentButton_, field("ButtonID")));
}

void TIRListData::fillButtons(const QVariant &wantedButtonId) {
    buttons_.clearRows();
    currentButton_ = -1;
    const TRemote *remote = CurrentRemote();
    if (!remote)
        return;
    QList<IRButtonRow> rows = context_.catalogue ? context_.catalogue->QButton(remote->RemoteID) : QList<IRButtonRow>();
    std::stable_sort(rows.begin(), rows.end(), [](const IRButtonRow &a, const IRButtonRow &b) { return a.IRBID < b.IRBID; });
    const QString remoteName = remotes_.value(currentRemote_, field("RemoteName")).toString();
    for (const IRButtonRow &row : rows) {
        QVariantMap values{{field("IRRemoteID"), remote->RemoteID},
                           {field("RemoteName"), remoteName},
                           {field("ButtonName"), row.BName},
                           {field("ButtonDescr"), row.BDescr},
                           {field("ButtonID"), row.IRBID}};
        if (const TRButton *b = remote->FindButton(row.BName)) {
            values.insert(field("ptr"), ptrValue(b));
            values.insert(field("ButtonPrimech"), b->ButtonPrimech);
            values.insert(field("Link"), b->Link);
            values.insert(field("GL"), b->GL);
        }
        buttons_.appendRow(values);
    }
    QVariant wanted = wantedButtonId;
    const int at = entryOf(selected_, remoteName);
    if (wanted.isNull() && at >= 0)
        wanted = selected_[at].section(QLatin1Char('='), 1);
    const int found = wanted.isNull() ? -1 : buttons_.locate(field("ButtonID"), wanted);
    currentButton_ = found >= 0 ? found : (rows.isEmpty() ? -1 : 0);
}

// A row that carries a note, a link or an event type keeps its button in
// the configuration; a row that carries none of them drops it.
void TIRListData::storeButtonRow(int row) {
    TRemote *remote = CurrentRemote();
    if (!remote || row < 0 || row >= buttons_.rowCount())
        return;
    const QString note = buttons_.value(row, field("ButtonPrimech")).toString();
    const QString link = buttons_.value(row, field("Link")).toString();
    const QVariant gl = buttons_.value(row, field("GL"));
    const bool used = !note.isEmpty() || isLinkName(link) || (!gl.isNull() && gl.toLongLong() != 0);
    TRButton *button = ButtonOfRow(row);
    if (used) {
        if (!button) {
            button = remote->AddButton(buttons_.value(row, field("ButtonName")).toString(), remote->RemoteID,
                                       remote->SysDBType);
            buttons_.setValue(row, field("ptr"), ptrValue(button));
        }
        button->ButtonPrimech = note;
        button->Link = link;
        button->GL = int(gl.toLongLong());
    } else if (button) {
        remote->RemoveButton(button);
        buttons_.setValue(row, field("ptr"), QVariant());
    }
    context_.markModified();
}

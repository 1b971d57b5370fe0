// The device list of the project: adding, deleting and renaming devices
// with their files, the project grid rows and the lookups by UID, address
// and link.
#include "project.h"

#include "aliasname.h"
#include "programtemplate.h"
#include "projectfile.h"
#include "projectpaths.h"

#include "app/askuser.h"
#include "app/catalogue.h"
#include "app/gridmodel.h"
#include "app/textfile.h"

#include <QFile>
#include <QFileInfo>

int TProject::deviceIndex(const QString &alias) const {
    for (int i = 0; i < devices_.size(); ++i)
        if (devices_[i].alias.compare(alias, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool TProject::AddDevice(const QString &alias, quint32 uid, quint8 hardVer, quint8 softVer, qint32 release,
                         qint32 catNum, quint32 uniqAddr) {
    // A bad or repeated alias would be saved into a project that no longer opens.
    QString problem = aliasProblem(alias);
    if (problem.isEmpty() && deviceIndex(alias) >= 0)
        problem = QStringLiteral("Устройство с названием %1 уже есть в проекте").arg(alias);
    if (!problem.isEmpty()) {
        userDialogs().showMessage(problem);
        return false;
    }
    TDevice d;
    d.alias = alias;
    d.uid = projectfile::hex6(uid);
    d.UniqAddr = projectfile::hex6(uniqAddr);
    d.HardVer = hardVer;
    d.SoftVer = softVer;
    d.release = release;
    d.cat_num = catNum;
    InitDeviceConfiguration(d);
    devices_ << d;
    saved_ = false;
    return true;
}

bool TProject::DeleteDevice(const QString &alias) {
    const int index = deviceIndex(alias);
    if (index < 0)
        return true;
    const QString name = devices_[index].alias;
    devices_.removeAt(index);
    if (current_ == index)
        current_ = -1;
    else if (current_ > index)
        --current_;
    if (irConfig_)
        irConfig_->DeleteConfig(name);
    bool ok = true;
    if (!folder_.isEmpty() && QFileInfo::exists(programPath(name))) {
        // The project file goes first: while it still lists the device, its
        // program must stay, or the project would not open again.
        ok = SaveProject();
        if (ok)
            for (const char *ext : {".pd", ".pdc", ".pdl"})
                projectpaths::removeFile(projectpaths::inFolder(folder_, name + ext));
    }
    saved_ = false;
    return ok;
}

bool TProject::RenameDevice(const QString &oldAlias, const QString &newAlias) {
    saved_ = false;
    const int index = deviceIndex(oldAlias);
    if (index < 0)
        return false;
    QString problem = aliasProblem(newAlias);
    const int other = deviceIndex(newAlias);
    if (problem.isEmpty() && other >= 0 && other != index)
        problem = QStringLiteral("Устройство с названием %1 уже есть в проекте").arg(newAlias);
    if (!problem.isEmpty()) {
        userDialogs().showMessage(problem);
        return false;
    }
    TDevice &d = devices_[index];
    const QString previous = d.alias;
    d.alias = newAlias;
    if (irConfig_)
        irConfig_->RenameConfig(previous, newAlias);
    if (!d.programFileMade || folder_.isEmpty() || !QFileInfo::exists(programPath(previous)))
        return true;
    if (!renameProgram(d, previous)) {
        d.alias = previous;
        if (irConfig_)
            irConfig_->RenameConfig(newAlias, previous);
        return false;
    }
    // The old program goes only once the project file names the new one, so
    // a failure at any step leaves a project that opens.
    const bool ok = SaveProject();
    if (ok && previous.compare(d.alias, Qt::CaseInsensitive) != 0)
        projectpaths::removeFile(programPath(previous));
    saved_ = false;
    return ok;
}

// Writes the device's program under its new name with its new module line;
// the old compiler files go, they belong to the old name.
bool TProject::renameProgram(TDevice &d, const QString &oldAlias) {
    const QString from = programPath(oldAlias);
    const QString to = programPath(d.alias);
    for (const char *ext : {".pdc", ".pdl"})
        projectpaths::removeFile(projectpaths::inFolder(folder_, oldAlias + ext));
    if (oldAlias.compare(d.alias, Qt::CaseInsensitive) == 0) {
        // Only the letter case changes: on a case-blind disk both names are
        // one file, so rename it instead of copying and deleting.
        if (from != to && !QFile::rename(from, to)) {
            userDialogs().showMessage(QStringLiteral("Не удалось переименовать файл %1").arg(from));
            return false;
        }
        return SetModuleLine(d.alias);
    }
    // A file of the new name that is not this program is the user's.
    if (!projectpaths::confirmOverwrite(to))
        return false;
    QStringList lines;
    QString error;
    if (!textfile::readLines(from, lines, &error)) {
        userDialogs().showMessage(error);
        return false;
    }
    programtemplate::replaceModuleLine(lines, d.alias);
    if (!textfile::writeLines(to, lines, &error)) {
        userDialogs().showMessage(error);
        return false;
    }
    return true;
}

bool TProject::SetModuleLine(const QString &alias) {
    const QString path = programPath(alias);
    QStringList lines;
    QString error;
    if (!textfile::readLines(path, lines, &error)) {
        userDialogs().showMessage(error);
        return false;
    }
    if (!programtemplate::replaceModuleLine(lines, alias))
        return true;
    if (!textfile::writeLines(path, lines, &error)) {
        userDialogs().showMessage(error);
        return false;
    }
    return true;
}

void TProject::ShowDevicesInGrid(TGridModel &grid) const {
    for (const TDevice &d : devices_) {
        GridRow row;
        row.alias = d.alias;
        row.uid = projectfile::hex6(d.uidValue());
        row.cat_num = d.cat_num;
        row.uaddr = projectfile::hex6(d.addressValue());
        const std::optional<DeviceTypeRow> type = catalogue_ ? catalogue_->DeviceByCatNum(d.cat_num) : std::nullopt;
        if (type) {
            row.descr = type->name;
            row.inputs = type->ins;
            row.outputs = type->outs;
            row.conf = type->Conf_in;
        } else {
            userDialogs().showMessage(QStringLiteral("Ошибка! Не удается найти в базе каталожный номер!"));
        }
        row.check = true;
        row.net = false;
        grid.appendRow(row);
    }
}

QString TProject::DeviceNameByUid(quint32 uid, qint64 modemUid) const {
    QString name = projectfile::hex6(uid);
    for (const TDevice &d : devices_) {
        if (d.uidValue() == uid) {
            name = d.alias;
            break;
        }
    }
    return qint64(uid) == modemUid ? QStringLiteral("MODEM") : name;
}

QString TProject::DeviceNameByAddress(quint32 address, qint64 modemAddress) const {
    for (const TDevice &d : devices_)
        if (d.addressValue() == address)
            return d.alias;
    // Global link ids serve as addresses too.
    const QString id = QStringLiteral("0x%1").arg(address, 4, 16, QLatin1Char('0'));
    for (const TGlobalLink &g : globalLinks_)
        if (g.idText.compare(id, Qt::CaseInsensitive) == 0)
            return g.name;
    if (qint64(address) == modemAddress)
        return QStringLiteral("MODEM");
    return QStringLiteral("%1").arg(address, 4, 16, QLatin1Char('0')).toUpper();
}

QString TProject::LinkAddress(const QString &linkName) const {
    QString id;
    for (const TGlobalLink &g : globalLinks_)
        if (id.isEmpty() && g.name.compare(linkName, Qt::CaseInsensitive) == 0)
            id = g.idText;
    for (const TLocalLink &l : compiledLinks_)
        if (id.isEmpty() && l.name.compare(linkName, Qt::CaseInsensitive) == 0)
            id = l.idText;
    bool ok = false;
    const uint value = id.mid(2, 4).toUInt(&ok, 16);
    return ok ? QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper() : QString();
}

QString TProject::CatalogueText(int deviceIndex, const QString &column) const {
    if (!catalogue_ || deviceIndex < 0 || deviceIndex >= devices_.size())
        return QString();
    const std::optional<VornakelRow> row = catalogue_->VornakelByCatNum(devices_[deviceIndex].cat_num);
    if (!row)
        return QString();
    auto is = [&column](const char *name) { return column.compare(QLatin1String(name), Qt::CaseInsensitive) == 0; };
    if (is("catnum"))
        return QString::number(row->catnum);
    if (is("vktypenmbr"))
        return QString::number(row->vktypenmbr);
    if (is("vktypename"))
        return row->vktypename;
    if (is("vktypeDescr"))
        return row->vktypeDescr;
    return QString();
}

QString TProject::InputTypeName(const TGridModel &grid, const QString &inputCaption) const {
    QString conf = QStringLiteral("AC");
    const TDevice *d = current_ >= 0 && current_ < devices_.size() ? &devices_[current_] : nullptr;
    const int row = d ? grid.findByUid(d->uid) : -1;
    if (row >= 0)
        conf = grid.rowAt(row).conf;
    bool ok = false;
    const int input = inputCaption.mid(5).trimmed().toInt(&ok);
    return ok ? InputTypeName(conf, input) : QString();
}

QString TProject::InputTypeName(const QString &conf, int input) {
    auto isDigit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    if (conf.isEmpty() || !isDigit(conf[0]))
        return conf;
    if (conf.size() <= 2)
        return QString();
    // Groups such as 8AC.8DC: a count of inputs and their type name each.
    qsizetype pos = 0;
    int first = 1;
    for (int group = 0; group < 3 && pos < conf.size(); ++group) {
        const qsizetype start = pos;
        while (pos < conf.size() && isDigit(conf[pos]))
            ++pos;
        bool ok = false;
        const int count = conf.mid(start, pos - start).toInt(&ok);
        if (!ok)
            return QString();
        const qsizetype dot = conf.indexOf(QLatin1Char('.'), pos);
        const QString type = dot < 0 ? conf.mid(pos) : conf.mid(pos, dot - pos);
        if (input >= first && input < first + count)
            return type;
        if (dot < 0)
            break;
        first += count;
        pos = dot + 1;
    }
    return QString();
}

#include "irconfiglist.h"

#include "app/askuser.h"
#include "app/syregistry.h"
#include "app/textfile.h"
#include "app/vkwizardfile.h"
#include "project/project.h"
#include "project/projectpaths.h"

#include <QDir>
#include <QFileInfo>
#include <mutex>

SY_DEFINE_CLASS(TIRConfigList, TSyCollection)

void RegisterIRClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterPersistentClass<TRButton>(QStringLiteral("RButton"));
        RegisterPersistentClass<TButtonList>(QStringLiteral("ButtonList"));
        RegisterPersistentClass<TRemote>(QStringLiteral("Remote"));
        RegisterPersistentClass<TRemoteList>(QStringLiteral("RemoteList"));
        RegisterPersistentClass<TIRConfig>(QStringLiteral("IRConfig"));
        RegisterPersistentClass<TIRConfigList>(QStringLiteral("IRConfigList"));
    });
}

TIRConfigList *IRConfigListOf(const TProject &project) {
    return dynamic_cast<TIRConfigList *>(project.irConfig());
}

namespace {

QString describeProblem(const QString &file, int line, const ESyException &problem) {
    QString where = QStringLiteral("Файл ИК-конфигурации %1").arg(QDir::toNativeSeparators(file));
    if (line > 0)
        where += QStringLiteral(", строка %1").arg(line);
    const auto *convert = dynamic_cast<const ESyConvertError *>(&problem);
    if (convert && !convert->property().isEmpty())
        return where + QStringLiteral(": значение \"%1\" не подходит для %2.").arg(convert->value(), convert->property());
    return where + QStringLiteral(": ") + problem.message();
}

// A file with something in it that the reader found no object in is not
// an empty list: it must not be taken (and later saved) as one.
bool hasText(const QString &path) {
    QString text;
    return QFileInfo::exists(path) && textfile::readText(path, text) && !text.trimmed().isEmpty();
}

// Thrown by the load's problem handler to end the load at the first fault.
struct StopLoad {};

} // namespace

TIRConfigList::TIRConfigList(const TDM *catalogue, TProject *project) : listData_(context_) {
    RegisterIRClasses(); // a list is only of use with its classes known
    context_.catalogue = catalogue;
    context_.project = project;
    context_.listData = &listData_;
}

QString TIRConfigList::IRFilePath(const QString &projectPath) {
    return projectpaths::withExtension(projectPath, QStringLiteral(".ir"));
}

TIRConfig *TIRConfigList::AddConfig(const QString &name) {
    auto config = std::make_unique<TIRConfig>();
    config->IRName = name;
    config->Attach(&context_);
    TIRConfig *added = config.get();
    Add(std::move(config));
    context_.markModified();
    return added;
}

void TIRConfigList::DeleteConfig(const QString &name) {
    for (int i = 0; i < Count(); ++i) {
        if (Item(i)->IRName != name)
            continue;
        if (listData_.Shown() == Item(i))
            listData_.Clear();
        Delete(i);
        if (current_ == i)
            current_ = -1;
        else if (current_ > i)
            --current_;
        context_.markModified();
        return;
    }
}

void TIRConfigList::RenameConfig(const QString &oldName, const QString &newName) {
    for (int i = 0; i < Count(); ++i)
        if (Item(i)->IRName.compare(oldName, Qt::CaseInsensitive) == 0) {
            Item(i)->IRName = newName;
            context_.markModified();
        }
}

TIRConfig *TIRConfigList::ConfigByName(const QString &name) const {
    for (int i = Count() - 1; i >= 0; --i)
        if (Item(i)->IRName.compare(name, Qt::CaseInsensitive) == 0)
            return Item(i);
    return nullptr;
}

TIRConfig *TIRConfigList::FindConfig(const QString &name) {
    TIRConfig *config = ConfigByName(name);
    setCurrent(config ? IndexOf(config) : -1);
    return config;
}

TIRConfig *TIRConfigList::SelectConfig(const QString &name) {
    TIRConfig *config = FindConfig(name);
    listData_.Show(config);
    return config;
}

TIRConfig *TIRConfigList::CurrentConfig() const {
    return current_ >= 0 && current_ < Count() ? Item(current_) : nullptr;
}

void TIRConfigList::setCurrent(int index) {
    current_ = index;
    if (TIRConfig *config = CurrentConfig())
        config->Attach(&context_);
}

void TIRConfigList::ReadCustom(const TSyTreeNode &node, const TSyLoadProblemHandler &onProblem) {
    // The items are about to be freed: nothing may point at them.
    listData_.Clear();
    current_ = -1;
    try {
        TSyCollectionOf<TIRConfig>::ReadCustom(node, onProblem);
    } catch (...) {
        for (int i = 0; i < Count(); ++i)
            Item(i)->Attach(&context_);
        throw;
    }
    for (int i = 0; i < Count(); ++i)
        Item(i)->Attach(&context_);
}

bool TIRConfigList::LoadFromFile(const QString &projectPath) {
    const QString path = IRFilePath(projectPath);
    lastError_.clear();
    unreadFile_.clear();
    const TVKWizardFile doc(path, RootName());
    // What could be read is taken in any case; the first fault is reported.
    QString problem = doc.LoadError();
    if (problem.isEmpty() && doc.Root().Line() == 0 && hasText(path))
        problem = QStringLiteral("Файл ИК-конфигурации %1 не содержит описания \"object %2\".")
                      .arg(QDir::toNativeSeparators(path), RootName());
    try {
        LoadFromNode(doc.Root(), [&](const ESyException &fault, int line) {
            if (problem.isEmpty())
                problem = describeProblem(path, line, fault);
            throw StopLoad{};
        });
    } catch (const StopLoad &) {
    } catch (const ESyException &fault) {
        if (problem.isEmpty())
            problem = describeProblem(path, 0, fault);
    }
    lastError_ = problem;
    if (lastError_.isEmpty())
        return true;
    unreadFile_ = path;
    lastError_ += QStringLiteral("\nИК-конфигурация прочитана не полностью; файл не будет перезаписан при "
                                 "сохранении проекта.");
    userDialogs().showMessage(lastError_);
    return false;
}

bool TIRConfigList::SaveToFile(const QString &projectPath) {
    lastError_.clear();
    if (projectPath == TProject::newProjectFileName())
        return false;
    const QString path = IRFilePath(projectPath);
    if (!unreadFile_.isEmpty() && projectpaths::sameFile(unreadFile_, path)) {
        lastError_ = QStringLiteral("Файл ИК-конфигурации %1 не сохранён: при открытии проекта он был прочитан с "
                                    "ошибкой. Исправьте или удалите его.")
                         .arg(QDir::toNativeSeparators(path));
    } else {
        try {
            TVKWizardFile doc(path, RootName(), TSyDocument::Replace);
            SaveToNode(doc.Root());
            doc.save(&lastError_);
        } catch (const ESyException &problem) {
            lastError_ = describeProblem(path, 0, problem);
        }
    }
    if (lastError_.isEmpty())
        return true;
    userDialogs().showMessage(lastError_);
    return false;
}

template <class F> bool TIRConfigList::forButtonsOfLink(const QString &link, F f) const {
    bool any = false;
    if (!isLinkName(link)) // "no link" is no link's name: buttons without one do not use it
        return false;
    for (int c = 0; c < Count(); ++c)
        for (int r = 0; r < Item(c)->RemoteList.Count(); ++r) {
            TRemote &remote = *Item(c)->RemoteList.Item(r);
            for (int b = 0; b < remote.ButtonList.Count(); ++b)
                if (remote.ButtonList.Item(b)->Link.compare(link, Qt::CaseInsensitive) == 0) {
                    f(*Item(c), remote, *remote.ButtonList.Item(b));
                    any = true;
                }
        }
    return any;
}

QStringList TIRConfigList::ButtonsUsingLink(const QString &link) const {
    QStringList result;
    forButtonsOfLink(link, [&](const TIRConfig &config, const TRemote &remote, const TRButton &button) {
        result << QStringLiteral("%1=%2.%3").arg(config.IRName, remote.RemoteName(), button.ButtonName);
    });
    return result;
}

bool TIRConfigList::LinkUsedByButtons(const QString &link) const {
    return forButtonsOfLink(link, [](const TIRConfig &, const TRemote &, const TRButton &) {});
}

void TIRConfigList::ClearLinkInButtons(const QString &link) { RenameLinkInButtons(link, QString()); }

void TIRConfigList::RenameLinkInButtons(const QString &oldName, const QString &newName) {
    const bool changed = forButtonsOfLink(oldName, [&](const TIRConfig &, const TRemote &, TRButton &button) {
        button.Link = newName;
    });
    if (!changed)
        return;
    listData_.RefreshButtons();
    context_.markModified();
}

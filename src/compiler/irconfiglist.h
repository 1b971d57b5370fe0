#pragma once
// The project's IR configurations, one per IR device, stored beside the
// project file in "<name>.ir" (object form, root "IRConfigList"). The list
// also holds the two data sets the device configuration window shows.
#include "irconfig.h"
#include "irlistdata.h"

#include "project/irconfigslot.h"

class TIRConfigList : public TSyCollectionOf<TIRConfig>, public TIRConfigListSlot {
    SY_PERSISTENT_CLASS(TIRConfigList)
public:
    // The catalogue gives remote names and button codes; the project is
    // marked modified by every change and gives link ids. Either may be
    // null (then nothing is found, or nothing is marked).
    explicit TIRConfigList(const TDM *catalogue = nullptr, TProject *project = nullptr);

    static QString RootName() { return QStringLiteral("IRConfigList"); }
    // The project path with the extension ".ir".
    static QString IRFilePath(const QString &projectPath);

    TIRConfig *AddConfig(const QString &name);
    // The first configuration of exactly this name (letter case counts).
    void DeleteConfig(const QString &name) override;
    // Every configuration of oldName (letter case ignored) takes newName,
    // so that a renamed IR device keeps its remotes.
    void RenameConfig(const QString &oldName, const QString &newName) override;

    // The last configuration of that name, letter case ignored; null when
    // none. Has no side effects (for the compiler).
    TIRConfig *ConfigByName(const QString &name) const;
    // As ConfigByName, and the one found becomes the current configuration
    // (none found: no current one).
    TIRConfig *FindConfig(const QString &name);
    // As FindConfig, then the remote list shows its remotes.
    TIRConfig *SelectConfig(const QString &name);
    TIRConfig *CurrentConfig() const;

    // Writes the ".ir" file beside projectPath; nothing for a project never
    // saved ("project1.lpr"). A failure is shown and answers false; a file
    // that could not be read is never overwritten.
    bool SaveToFile(const QString &projectPath) override;
    // Reads the ".ir" file beside projectPath (none: an empty list). A
    // malformed file is shown and answers false; what was read before the
    // fault stays.
    bool LoadFromFile(const QString &projectPath) override;
    // Why the last load or save failed; empty after a success.
    QString LastError() const { return lastError_; }

    // Link queries, names compared without regard to letter case.
    // "IRName=remote name.button name" for each button running link.
    QStringList ButtonsUsingLink(const QString &link) const;
    bool LinkUsedByButtons(const QString &link) const;
    void ClearLinkInButtons(const QString &link);
    void RenameLinkInButtons(const QString &oldName, const QString &newName);

    // The window's data sets.
    TIRListData &ListData() { return listData_; }
    TMemTable &RemoteTable() { return listData_.RemoteTable(); }
    TIRButtonTable &ButtonTable() { return listData_.ButtonTable(); }

    void SetCatalogue(const TDM *catalogue) { context_.catalogue = catalogue; }
    void SetProject(TProject *project) { context_.project = project; }

protected:
    void ReadCustom(const TSyTreeNode &node, const TSyLoadProblemHandler &onProblem) override;

private:
    // Calls f for each button whose link is link; true when there was one.
    template <class F> bool forButtonsOfLink(const QString &link, F f) const;
    void setCurrent(int index);

    TIRContext context_;
    TIRListData listData_;
    int current_ = -1;
    QString lastError_;
    QString unreadFile_; // an ".ir" file that could not be read completely
};

// Registers the IR classes under their file names; safe to call again.
void RegisterIRClasses();

// The project's list (null when it has none).
TIRConfigList *IRConfigListOf(const TProject &project);

#pragma once
// The IR configuration of one IR device (named after its alias): which
// catalogue remotes it serves, which of their buttons it knows and the link
// each button runs. The compiler turns it into the device's button commands.
#include "irremote.h"

struct IRButtonRow;

class TIRConfig : public TSyPersistent {
    SY_PERSISTENT_CLASS(TIRConfig)
public:
    QString IRName;
    TRemoteList RemoteList;

    // True when a remote with this id and SysDBType is already there (then
    // nothing changes); otherwise appends one and answers false.
    bool AddRemote(int remoteID, int sysDBType);
    // Deletes the remote of the current row of the remote list the window
    // shows, when that list shows this configuration.
    void DeleteRemote();

    // Gives every button its slot and codes from the catalogue; false at
    // the first button that cannot be prepared (PrepareProblem() says which).
    bool PrepareButtonList();
    QString PrepareProblem() const { return prepareProblem_; }

    // The ten-digit code of a button named in an "iremit" statement. A
    // button of the catalogue that the configuration lacks is added (as the
    // compiler's) and prepared. False when neither has it.
    bool LookUpButtonCode(const QString &remoteName, const QString &buttonName, QString &code);

    // The button commands, each line prefix + command.
    void WriteButtonLines(const QString &prefix, QStringList &lines) const;

    // The context every remote of this configuration reaches.
    void Attach(const TIRContext *context);
    const TIRContext *Context() const { return context_; }

protected:
    void ReadCustom(const TSyTreeNode &node, const TSyLoadProblemHandler &onProblem) override;

private:
    bool prepareButton(TRButton &button, const TRemote &remote, const QList<IRButtonRow> &catalogueRows);
    bool failPrepare(const TRButton &button, const TRemote &remote, const QString &why);
    QString linkId(const QString &link) const;

    const TIRContext *context_ = nullptr;
    // Next free slots while preparing.
    int nextProtocolSlot_ = 0;
    int nextSignalSlot_ = 0;
    QString prepareProblem_;
};

// The catalogue row of a remote's button, name compared without regard to
// letter case (statements reach the compiler lower-cased); null when none.
const IRButtonRow *findCatalogueButton(const QList<IRButtonRow> &rows, int remoteID, const QString &name);

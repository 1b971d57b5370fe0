#pragma once
// The two lists the IR panel of the device configuration window shows: the
// remotes of one configuration, and the catalogue buttons of the current
// remote with what the configuration adds to them (note, link). The window
// only shows them and moves the cursors; an edit of a button row is stored
// into the configuration at once.
#include "app/memtable.h"

#include <functional>

class TIRConfig;
class TRemote;
class TRButton;
struct TIRContext;

// A table whose edits are posted: setData stores the value, then onPost
// runs for the row.
class TIRButtonTable : public TMemTable {
public:
    std::function<void(int row)> onPost;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
};

class TIRListData {
public:
    explicit TIRListData(const TIRContext &context);
    TIRListData(const TIRListData &) = delete;
    TIRListData &operator=(const TIRListData &) = delete;

    TMemTable &RemoteTable() { return remotes_; }
    TIRButtonTable &ButtonTable() { return buttons_; }

    // The configuration whose remotes the rows are; null for none.
    TIRConfig *Shown() const { return shown_; }
    // One remote row per remote of config (none for null); currentRow is
    // made current (kept within the rows) and its buttons filled.
    void Show(TIRConfig *config, int currentRow = 0);
    void Clear() { Show(nullptr); }
    // A row for a remote just added to the shown configuration; it becomes
    // the current one.
    void AppendRemoteRow(TRemote *remote);

    int CurrentRemoteRow() const { return currentRemote_; }
    TRemote *CurrentRemote() const { return remoteOfRow(currentRemote_); }
    TRemote *remoteOfRow(int row) const;
    // Moves the remote cursor (-1: none) and refills the button rows.
    void SetCurrentRemoteRow(int row);

    int CurrentButtonRow() const { return currentButton_; }
    TRButton *ButtonOfRow(int row) const;
    // Moves the button cursor and remembers the button for its remote, so
    // that coming back to the remote selects it again.
    void SetCurrentButtonRow(int row);
    // Refills the button rows (after the buttons changed), keeping the
    // current button.
    void RefreshButtons();
    // "remote name=button ID" of the button last selected per remote.
    const QStringList &SelectedButtons() const { return selected_; }

private:
    void fillButtons(const QVariant &wantedButtonId);
    void storeButtonRow(int row);

    const TIRContext &context_;
    TMemTable remotes_;
    TIRButtonTable buttons_;
    TIRConfig *shown_ = nullptr;
    int currentRemote_ = -1;
    int currentButton_ = -1;
    QStringList selected_;
};

#pragma once
// What the project subcommands share: how they answer the project's
// questions and where they find the catalogue.
#include "app/askuser.h"
#include "app/catalogue.h"
#include "app/cli/clicommand.h"

#include <memory>

// Messages and one-button warnings go to stderr as their bare text, so a
// script sees the reader's exact message; real questions are answered by
// the console (the first button with --yes, otherwise dismissed).
class ProjectCliDialogs : public ConsoleDialogs {
public:
    explicit ProjectCliDialogs(bool assumeYes) : ConsoleDialogs(assumeYes) {}
    int askUser(const QString &buttons, const QString &text, const QString &title, int icon) override {
        if (askUserButtonCaptions(buttons).size() == 1) {
            cliErr(text);
            return 0;
        }
        return ConsoleDialogs::askUser(buttons, text, title, icon);
    }
    void showMessage(const QString &text) override { cliErr(text); }
};

// The catalogue named by --catalogue, or the one beside the program; null
// (with a message) when it cannot be used.
inline std::unique_ptr<TDM> openCliCatalogue() {
    const QString path = cliGlobals().cataloguePath.isEmpty()
                             ? cliGlobals().programDir + QStringLiteral("/Database/") + catalogueFileName()
                             : cliGlobals().cataloguePath;
    auto dm = std::make_unique<TDM>();
    if (!dm->ConnectCatalogue(path)) {
        cliErr(QStringLiteral("vodiz-cli: cannot use the catalogue: %1").arg(dm->lastError()));
        return nullptr;
    }
    return dm;
}

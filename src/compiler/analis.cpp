#include "analis.h"

#include "project/project.h"

TAnalis::TAnalis(TProject *project, TCompileTables *tables)
    : FProject(project), FTables(tables) {
    if (project) {
        FLinkCounter = int(project->globalLinks().size());
        SetProjectFolder(project->projectFolder());
    }
}

void TAnalis::AddError(const QString &kind, qint32 code, const TStatementRecord &at, const QString &text) {
    compilerrecords::AddError(Tables().errors, kind, code, at, text);
}

TPreprocessor::Status TAnalis::PreprocessProgram(const QString &programPath) {
    TPreprocessor preprocessor(FProjectFolder);
    preprocessor.setReadPrograms(&Tables().programs);
    const TPreprocessor::Status status = preprocessor.PreprocessProgram(programPath);
    FPreprocessFailure = preprocessor.failure();
    // The compile table is what the position file holds; taken from memory
    // rather than read back.
    FListing = preprocessor.listed();
    FListingPath = status == TPreprocessor::Ok ? programPath : QString();
    return status;
}

TArrayStringsTable TAnalis::ExpandFunctionCall(const QString &callText, int &labelCounter) {
    TPreprocessor preprocessor(FProjectFolder);
    TArrayStringsTable result = preprocessor.ExpandFunctionCall(callText, labelCounter);
    FPreprocessFailure = preprocessor.failure();
    return result;
}

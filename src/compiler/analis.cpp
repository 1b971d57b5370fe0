#include "analis.h"

TPreprocessor::Status TAnalis::PreprocessProgram(const QString &programPath) {
    TPreprocessor preprocessor(FProjectFolder);
    const TPreprocessor::Status status = preprocessor.PreprocessProgram(programPath);
    FPreprocessFailure = preprocessor.failure();
    return status;
}

TArrayStringsTable TAnalis::ExpandFunctionCall(const QString &callText, int &labelCounter) {
    TPreprocessor preprocessor(FProjectFolder);
    TArrayStringsTable result = preprocessor.ExpandFunctionCall(callText, labelCounter);
    FPreprocessFailure = preprocessor.failure();
    return result;
}

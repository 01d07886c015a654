#include "support/RecordingPlatform.h"

void CRecordingPlatform::ShowMessage(const std::string& text, const std::string& caption,
                                     CMessageIcon icon) {
    messages.push_back({text, caption, icon});
}

CAnswer CRecordingPlatform::NextAnswer(const std::string& text, const std::string& caption,
                                       CAnswer fallback) {
    messages.push_back({text, caption, CMessageIcon::Question});
    if (answers.empty()) {
        return fallback;
    }
    CAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

CAnswer CRecordingPlatform::AskOkCancel(const std::string& text, const std::string& caption) {
    return NextAnswer(text, caption, CAnswer::Cancel);
}

CAnswer CRecordingPlatform::AskYesNo(const std::string& text, const std::string& caption) {
    return NextAnswer(text, caption, CAnswer::No);
}

CAnswer CRecordingPlatform::AskYesNoCancel(const std::string& text, const std::string& caption) {
    return NextAnswer(text, caption, CAnswer::Cancel);
}

void CRecordingPlatform::OpenPath(const std::string& pathOrUrl) {
    openedPaths.push_back(pathOrUrl);
}

bool CRecordingPlatform::OpenFile(const std::string& path) {
    openedPaths.push_back(path);
    return desktopOpenSucceeds;
}

void CRecordingPlatform::ExploreFolder(const std::string& folder) {
    exploredFolders.push_back(folder);
}

bool CRecordingPlatform::StartProgram(const std::string& program, const std::string& argument,
                                      std::string& error) {
    startedPrograms.push_back({program, argument});
    error = programStartSucceeds ? std::string() : programStartError;
    return programStartSucceeds;
}

std::vector<std::string> CRecordingPlatform::MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& message : messages) {
        texts.push_back(message.text);
    }
    return texts;
}

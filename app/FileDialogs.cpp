#include "app/FileDialogs.h"

#include <QFileDialog>

namespace {

CFileDialogs* installedDialogs = nullptr;

} // namespace

CFileDialogs& FileDialogs() {
    if (installedDialogs != nullptr) {
        return *installedDialogs;
    }
    static CQtFileDialogs qtDialogs;
    return qtDialogs;
}

void SetFileDialogs(CFileDialogs* dialogs) {
    installedDialogs = dialogs;
}

QString CQtFileDialogs::Choose(QWidget* parent, const CFileDialogRequest& request) {
    if (request.kind == CFileDialogRequest::Folder) {
        return QFileDialog::getExistingDirectory(parent, request.caption, request.startFolder);
    }
    QFileDialog dialog(parent, request.caption, request.startFolder, request.filter);
    const bool save = request.kind == CFileDialogRequest::SaveFile;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.initialName.isEmpty()) {
        dialog.selectFile(request.initialName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

QString CScriptedFileDialogs::Choose(QWidget*, const CFileDialogRequest& request) {
    requests.push_back(request);
    if (answers.empty()) {
        return QString();
    }
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

#include "app/FileDialogs.h"

#include <QFileDialog>

namespace {

class CQtFileDialogs : public CFileDialogs {
public:
    QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                            const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, caption, folder, filter);
    }
    QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& folder,
                            const QString& filter) override {
        return QFileDialog::getSaveFileName(parent, caption, folder, filter);
    }
    QString GetExistingDirectory(QWidget* parent, const QString& caption,
                                 const QString& folder) override {
        return QFileDialog::getExistingDirectory(parent, caption, folder);
    }
};

CQtFileDialogs g_qtDialogs;
CFileDialogs* g_installed = nullptr;

} // namespace

CFileDialogs& FileDialogs() {
    return g_installed != nullptr ? *g_installed : g_qtDialogs;
}

void SetFileDialogs(CFileDialogs* dialogs) {
    g_installed = dialogs;
}

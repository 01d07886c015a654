#include "app/ImportProgressDlg.h"

// Placeholder until the import progress dialog is merged: a weak definition
// that the dialog's own overrides. Removed then.
__attribute__((weak)) void CImportProgressDlg::ShowProgress(const QString&, const QString&) {}

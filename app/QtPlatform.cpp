#include "app/QtPlatform.h"

#include "app/MessageBoxLook.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QUrl>

#include <functional>

namespace {

QMessageBox::Icon ToQtIcon(CMessageIcon icon) {
    switch (icon) {
    case CMessageIcon::Information:
        return QMessageBox::Information;
    case CMessageIcon::Question:
        return QMessageBox::Question;
    case CMessageIcon::Warning:
        return QMessageBox::Warning;
    case CMessageIcon::Error:
        return QMessageBox::Critical;
    case CMessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Runs the call on the user-interface thread and waits for it.
void OnUiThread(const std::function<void()>& call) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() == app->thread()) {
        call();
    } else {
        QMetaObject::invokeMethod(app, call, Qt::BlockingQueuedConnection);
    }
}

QMessageBox::StandardButton Ask(const std::string& text, const std::string& caption,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton) {
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    OnUiThread([&] {
        QMessageBox box(QMessageBox::Question, QString::fromStdString(caption),
                        QString::fromStdString(text), buttons, QApplication::activeWindow());
        box.setDefaultButton(defaultButton);
        PrepareMessageBox(box);
        answer = static_cast<QMessageBox::StandardButton>(box.exec());
    });
    return answer;
}

CAnswer ToAnswer(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Ok:
        return CAnswer::Ok;
    case QMessageBox::Yes:
        return CAnswer::Yes;
    case QMessageBox::No:
        return CAnswer::No;
    default:
        return CAnswer::Cancel;
    }
}

// Web pages and mail links pass as they are; anything else is a local path.
QUrl ToUrl(const std::string& pathOrUrl) {
    QString text = QString::fromStdString(pathOrUrl);
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    if (!text.startsWith(QLatin1Char('/')) && scheme.match(text).hasMatch()) {
        return QUrl(text);
    }
    return QUrl::fromLocalFile(text);
}

} // namespace

void CQtPlatform::ShowMessage(const std::string& text, const std::string& caption,
                              CMessageIcon icon) {
    OnUiThread([&] {
        QMessageBox box(ToQtIcon(icon), QString::fromStdString(caption),
                        QString::fromStdString(text), QMessageBox::Ok,
                        QApplication::activeWindow());
        PrepareMessageBox(box);
        box.exec();
    });
}

CAnswer CQtPlatform::AskOkCancel(const std::string& text, const std::string& caption) {
    return ToAnswer(Ask(text, caption, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok));
}

CAnswer CQtPlatform::AskYesNo(const std::string& text, const std::string& caption) {
    return ToAnswer(Ask(text, caption, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes));
}

CAnswer CQtPlatform::AskYesNoCancel(const std::string& text, const std::string& caption) {
    return ToAnswer(Ask(text, caption, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                        QMessageBox::Yes));
}

void CQtPlatform::OpenPath(const std::string& pathOrUrl) {
    QDesktopServices::openUrl(ToUrl(pathOrUrl));
}

void CQtPlatform::ExploreFolder(const std::string& folder) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)));
}

bool CQtPlatform::StartProgram(const std::string& program, const std::string& argument,
                               std::string& error) {
    QProcess process;
    process.setProgram(QString::fromStdString(program));
    process.setArguments({QString::fromStdString(argument)});
    if (!process.startDetached()) {
        error = process.errorString().toStdString();
        return false;
    }
    return true;
}

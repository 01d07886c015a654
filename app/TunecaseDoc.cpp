#include "app/TunecaseDoc.h"

const char* const kAppCaptionTitle = "  一切音乐尽在掌握中 !";

bool CTunecaseDoc::OnNewDocument() {
    m_title = QStringLiteral("鸣蛩 (Cricklet)  ");
    m_bInitialized = 1;
    return true;
}

QString FrameCaption(const CTunecaseDoc& doc) {
    return doc.GetTitle() + QStringLiteral(" - ") + QString::fromUtf8(kAppCaptionTitle);
}

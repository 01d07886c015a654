// The document of the single-document window: it holds no library (the main
// frame's manager does), only the window's title and the flag that tells the
// frame's size handler that the first layout is done.
#pragma once

#include <QString>

class CTunecaseDoc {
public:
    virtual ~CTunecaseDoc() = default;

    // 0 after construction, 1 once OnNewDocument has run.
    int m_bInitialized = 0;

    // Sets the title and the flag; always succeeds.
    bool OnNewDocument();
    const QString& GetTitle() const { return m_title; }

private:
    QString m_title;
};

// The application title of the window caption (two leading blanks).
extern const char* const kAppCaptionTitle;
// "document title - application title", the caption of a top-level frame.
QString FrameCaption(const CTunecaseDoc& doc);

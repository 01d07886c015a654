#include "audio/Mp3Result.h"

#include "platform/Platform.h"

void ReportMp3Error(Mp3Result code, const std::string& caption) {
    const char* text = nullptr;
    if (code == MP3_CANNOT_READ) {
        text = "You tried to open a file\nthat didn't work";
    } else if (code == MP3_NO_HEADER) {
        text = "The file that was opened\nwas no correct .mp3-file";
    }
    if (text != nullptr) {
        Platform().ShowMessage(text, caption, CMessageIcon::None);
    }
}

#include "audio/TagLibAudioFile.h"

#include "formats/PathFunctions.h"

#include <taglib/apefile.h>
#include <taglib/asffile.h>
#include <taglib/audioproperties.h>
#include <taglib/flacfile.h>
#include <taglib/mp4file.h>
#include <taglib/oggflacfile.h>
#include <taglib/opusfile.h>
#include <taglib/tpropertymap.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>
#include <taglib/wavpackfile.h>

#include <algorithm>
#include <memory>

namespace {

// The first value of a tag field; several artists are several values.
std::string FirstValue(const TagLib::PropertyMap& properties, const char* key) {
    auto found = properties.find(key);
    if (found == properties.end() || found->second.isEmpty()) {
        return std::string();
    }
    std::string value = found->second.front().to8Bit(true);
    // A line break would end a record line of the store files early.
    std::replace_if(
        value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; },
        ' ');
    return value;
}

// The reader for the extension's format only: a file that is not what its
// name says stays unread, as the MP3 reader does with its files.
std::unique_ptr<TagLib::File> OpenByExtension(const std::string& extension,
                                              const std::string& path) {
    const char* name = path.c_str();
    const bool readProperties = true;
    const auto style = TagLib::AudioProperties::Average;
    if (extension == "flac") {
        return std::make_unique<TagLib::FLAC::File>(name, readProperties, style);
    }
    if (extension == "opus") {
        return std::make_unique<TagLib::Ogg::Opus::File>(name, readProperties, style);
    }
    if (extension == "ogg" || extension == "oga") {
        // An Ogg file holds Vorbis mostly, but Opus and FLAC streams as well.
        std::unique_ptr<TagLib::File> file =
            std::make_unique<TagLib::Ogg::Vorbis::File>(name, readProperties, style);
        if (!file->isValid()) {
            file = std::make_unique<TagLib::Ogg::Opus::File>(name, readProperties, style);
        }
        if (!file->isValid()) {
            file = std::make_unique<TagLib::Ogg::FLAC::File>(name, readProperties, style);
        }
        return file;
    }
    if (extension == "m4a" || extension == "m4b" || extension == "mp4") {
        return std::make_unique<TagLib::MP4::File>(name, readProperties, style);
    }
    if (extension == "wma") {
        return std::make_unique<TagLib::ASF::File>(name, readProperties, style);
    }
    if (extension == "wav") {
        return std::make_unique<TagLib::RIFF::WAV::File>(name, readProperties, style);
    }
    if (extension == "ape") {
        return std::make_unique<TagLib::APE::File>(name, readProperties, style);
    }
    if (extension == "wv") {
        return std::make_unique<TagLib::WavPack::File>(name, readProperties, style);
    }
    return nullptr;
}

} // namespace

bool IsTagLibExtension(const std::string& extension) {
    static const char* const extensions[] = {"flac", "ogg", "oga", "opus", "m4a", "m4b",
                                             "mp4",  "wma", "wav", "ape",  "wv"};
    return std::find(std::begin(extensions), std::end(extensions), extension) !=
           std::end(extensions);
}

bool ReadTagLibAudioFile(const std::string& path, CAudioFileInfo& info) {
    info = CAudioFileInfo();
    const std::string extension = ExtensionOf(NamePart(path));
    if (!IsTagLibExtension(extension)) {
        return false;
    }
    std::unique_ptr<TagLib::File> file = OpenByExtension(extension, path);
    if (!file || !file->isValid()) {
        return false;
    }
    TagLib::PropertyMap properties = file->properties();
    info.title = FirstValue(properties, "TITLE");
    info.artist = FirstValue(properties, "ARTIST");
    if (const TagLib::AudioProperties* audio = file->audioProperties()) {
        info.seconds = std::max(0, audio->lengthInSeconds());
    }
    return true;
}

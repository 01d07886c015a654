#include "platform/TextEncoding.h"

#include "platform/FileSystem.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <utility>

namespace {

// iconv_open is costly next to a short conversion, and sorting converts
// millions of short texts: keep one converter per direction and thread.
struct CConverterCache {
    std::map<std::pair<std::string, std::string>, iconv_t> converters;
    ~CConverterCache() {
        for (auto& item : converters) {
            if (item.second != reinterpret_cast<iconv_t>(-1)) {
                iconv_close(item.second);
            }
        }
    }
};

iconv_t OpenConverter(const char* to, const char* from) {
    thread_local CConverterCache cache;
    auto key = std::make_pair(std::string(to), std::string(from));
    auto found = cache.converters.find(key);
    if (found != cache.converters.end()) {
        return found->second;
    }
    iconv_t converter = iconv_open(to, from);
    cache.converters[key] = converter;
    return converter;
}

// Converts with iconv; a byte sequence that the source encoding rejects is
// replaced (U+FFFD when decoding, "?" when encoding) so no input is lost whole.
std::string Convert(const std::string& input, const char* to, const char* from,
                    const std::string& replacement) {
    iconv_t converter = OpenConverter(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return input;
    }
    std::string output;
    output.reserve(input.size() * 2 + 8);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
        output.append(buffer, out - buffer);
        if (result == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                continue;
            }
            // EILSEQ or EINVAL (truncated sequence at the end): skip one byte.
            output += replacement;
            ++in;
            --inLeft;
        }
    }
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    return output;
}

bool HasPrefix(const std::string& bytes, const char* prefix, std::size_t length) {
    return bytes.size() >= length && std::memcmp(bytes.data(), prefix, length) == 0;
}

// Length of the UTF-8 sequence starting with a lead byte, 0 for a bad lead.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// CR and LF bytes never occur inside a GB18030 character, so the lines
// can be cut before decoding.
std::string DecodeLines(const std::string& bytes) {
    if (IsValidUtf8(bytes)) {
        return bytes;
    }
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 2);
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t following = 0;
        std::size_t end = FindLineEnd(bytes, start, following);
        if (end == std::string::npos) {
            end = following = bytes.size();
        }
        std::string line = bytes.substr(start, end - start);
        text += IsValidUtf8(line) ? line : DecodeGb18030(line);
        text.append(bytes, end, following - end);
        start = following;
    }
    return text;
}

} // namespace

bool IsValidUtf8(const std::string& bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
        std::size_t length = SequenceLength(data[i]);
        if (length == 0 || i + length > size) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((data[i + k] & 0xC0) != 0x80) {
                return false;
            }
        }
        unsigned char lead = data[i];
        unsigned char next = length > 1 ? data[i + 1] : 0;
        if ((lead == 0xE0 && next < 0xA0) || (lead == 0xED && next > 0x9F) ||
            (lead == 0xF0 && next < 0x90) || (lead == 0xF4 && next > 0x8F)) {
            return false; // overlong, surrogate or beyond U+10FFFF
        }
        i += length;
    }
    return true;
}

std::string DecodeText(const std::string& bytes) {
    if (HasPrefix(bytes, "\xEF\xBB\xBF", 3)) {
        return DecodeLines(bytes.substr(3));
    }
    if (HasPrefix(bytes, "\xFF\xFE", 2)) {
        return Convert(bytes.substr(2), "UTF-8", "UTF-16LE", "\xEF\xBF\xBD");
    }
    if (HasPrefix(bytes, "\xFE\xFF", 2)) {
        return Convert(bytes.substr(2), "UTF-8", "UTF-16BE", "\xEF\xBF\xBD");
    }
    return DecodeLines(bytes);
}

std::string DecodeGb18030(const std::string& bytes) {
    bool ascii = true;
    for (unsigned char c : bytes) {
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        return bytes;
    }
    return Convert(bytes, "UTF-8", "GB18030", "\xEF\xBF\xBD");
}

std::string EncodeGb18030(const std::string& utf8) {
    bool ascii = true;
    for (unsigned char c : utf8) {
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii || !IsValidUtf8(utf8)) {
        return utf8;
    }
    return Convert(utf8, "GB18030", "UTF-8", "?");
}

std::string EncodeGb18030Cut(const std::string& utf8, std::size_t maxBytes) {
    std::string encoded;
    std::size_t i = 0;
    while (i < utf8.size()) {
        std::size_t length = SequenceLength(static_cast<unsigned char>(utf8[i]));
        if (length == 0 || i + length > utf8.size()) {
            length = 1;
        }
        std::string piece = EncodeGb18030(utf8.substr(i, length));
        if (encoded.size() + piece.size() > maxBytes) {
            break;
        }
        encoded += piece;
        i += length;
    }
    return encoded;
}

int CompareGb18030(const std::string& left, const std::string& right) {
    std::string a = EncodeGb18030(left);
    std::string b = EncodeGb18030(right);
    int result = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
    if (result != 0) {
        return result;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

std::string ToLowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

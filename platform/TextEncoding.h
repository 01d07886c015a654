// Text encodings at the edge of the library: every text in memory is UTF-8;
// files and ID3v1 fields written on the original platform are GBK (GB18030).
#pragma once

#include <cstddef>
#include <string>

// Decodes a text file's bytes: UTF-16 with a byte-order mark as a whole;
// otherwise line by line (LF, CR LF or CR end a line), a line that is valid
// UTF-8 as UTF-8 and any other as GB18030, so one line edited in a GBK editor
// does not garble the rest. A UTF-8 byte-order mark is dropped.
std::string DecodeText(const std::string& bytes);

bool IsValidUtf8(const std::string& bytes);

// GB18030 bytes to UTF-8; bytes that do not decode become U+FFFD.
std::string DecodeGb18030(const std::string& bytes);

// UTF-8 to GB18030; text that is not valid UTF-8 is taken as GB18030 already.
std::string EncodeGb18030(const std::string& utf8);

// EncodeGb18030, cut to at most maxBytes at a character boundary.
std::string EncodeGb18030Cut(const std::string& utf8, std::size_t maxBytes);

// Orders two texts by their GB18030 bytes: pinyin order for common Chinese
// characters, upper case before lower case for ASCII. Returns <0, 0 or >0.
int CompareGb18030(const std::string& left, const std::string& right);

// ASCII-only lower case, the way extensions and template lines are folded.
std::string ToLowerAscii(std::string text);

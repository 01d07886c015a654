// Text decoding and GB18030 cutting: any bytes decode to valid UTF-8, and a
// cut never runs past its width or splits a character.
#include "fuzz/FuzzInput.h"
#include "platform/TextEncoding.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t width = data[0] % 40;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string text = DecodeText(bytes);
    if (!IsValidUtf8(text)) {
        std::abort();
    }
    const std::string cut = EncodeGb18030Cut(text, width);
    if (cut.size() > width || EncodeGb18030(DecodeGb18030(cut)) != cut) {
        std::abort();
    }
    if (CompareGb18030(text, text) != 0) {
        std::abort();
    }
    return 0;
}

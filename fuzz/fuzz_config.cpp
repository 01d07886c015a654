// Cricklet.ini: any bytes read into settings without a crash or a hang, and
// the settings read write out as a file that reads back the same.
#include "formats/AppConfig.h"
#include "fuzz/FileBytes.h"
#include "fuzz/FuzzInput.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = WriteFuzzFile("Cricklet.ini", data, size);
    CAppConfig first;
    first.SetDefaults();
    ReadConfigFile(input, first);
    const std::string once = FuzzFolder() + "/once.ini";
    const std::string twice = FuzzFolder() + "/twice.ini";
    if (!WriteConfigFile(once, first)) {
        return 0;
    }
    CAppConfig second;
    second.SetDefaults();
    ReadConfigFile(once, second);
    if (!WriteConfigFile(twice, second) || FileBytes(once) != FileBytes(twice)) {
        std::abort();
    }
    return 0;
}

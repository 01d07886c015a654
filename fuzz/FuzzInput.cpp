#include "fuzz/FuzzInput.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

const std::string& FuzzFolder() {
    static const std::string folder = [] {
        static CSilentPlatform platform;
        SetPlatform(&platform);
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/cricklet-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        return pattern;
    }();
    return folder;
}

std::string WriteFuzzFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
    std::string path = FuzzFolder() + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || (size > 0 && std::fwrite(data, 1, size, file) != size)) {
        std::perror(path.c_str());
        std::abort();
    }
    std::fclose(file);
    return path;
}

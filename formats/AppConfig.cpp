#include "formats/AppConfig.h"

// Placeholder bodies; the configuration reader and writer replace them.
void CAppConfig::SetDefaults() {}
bool CAppConfig::IsSupportedExtension(const std::string&) const {
    return false;
}
std::string CAppConfig::GetMusicFileFilter() const {
    return std::string();
}
const std::vector<FileTypeEntry>& SupportedFileTypes() {
    static const std::vector<FileTypeEntry> types;
    return types;
}
std::string MakeRecordLine(const std::string& key, const std::string& value) {
    return key + " = " + value + ";\n";
}
bool WriteConfigFile(const std::string&, const CAppConfig&) {
    return false;
}
bool ReadConfigFile(const std::string&, CAppConfig&) {
    return false;
}

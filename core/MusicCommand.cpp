#include "core/MusicCommand.h"

CMusicCommand::CMusicCommand(int commandCode, int ints_, int strings_)
    : code(commandCode), ints(ints_ > 0 ? ints_ : 0, 0), strings(strings_ > 0 ? strings_ : 0),
      intCount(ints_ > 0 ? ints_ : 0), stringCount(strings_ > 0 ? strings_ : 0) {}

int CMusicCommand::GetInt(int index) const {
    return index >= 0 && index < intCount ? ints[index] : -1;
}

std::string CMusicCommand::GetString(int index) const {
    return index >= 0 && index < stringCount ? strings[index] : std::string();
}

void CMusicCommand::SetInt(int value, int index) {
    if (index >= 0 && index < intCount) {
        ints[index] = value;
    }
}

void CMusicCommand::SetString(const std::string& value, int index) {
    if (index >= 0 && index < stringCount) {
        strings[index] = value;
    }
}

// Config: placeholder until the configuration file lands: defaults only.
#include "settings/Config.h"

Config& GetConfig() {
    static Config config;
    return config;
}
bool LoadConfig(std::string*) {
    GetConfig() = Config{};
    return true;
}
bool SaveConfig(std::string*) { return true; }

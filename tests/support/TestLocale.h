// A C locale whose decimal separator is more than one byte (Pashto or
// Persian: U+066B, two bytes in UTF-8), for checking that nothing the
// program writes depends on the regional settings.  When the system does not
// carry one, it is compiled once per test program with localedef into a
// private folder that LOCPATH names.
#pragma once

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

namespace resheat::testing {

class MultiByteSeparatorLocale {
public:
    // The locale's name, or nothing when none can be had here.
    static std::optional<std::string> name()
    {
        static MultiByteSeparatorLocale instance;
        return instance.name_;
    }

private:
    MultiByteSeparatorLocale()
    {
        for (const char *candidate : {"ps_AF.UTF-8", "fa_IR.UTF-8"})
            if (Usable(candidate)) {
                name_ = candidate;
                return;
            }
        folder_ = std::filesystem::temp_directory_path() / ("resheat-locale-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        ::setenv("LOCPATH", folder_.c_str(), 1);
        for (const char *source : {"ps_AF", "fa_IR"}) {
            const std::string candidate = std::string(source) + ".UTF-8";
            const std::string command = "localedef -i " + std::string(source) + " -f UTF-8 " +
                                        (folder_ / candidate).string() + " >/dev/null 2>&1";
            if (std::system(command.c_str()) != -1 && Usable(candidate.c_str())) {
                name_ = candidate;
                return;
            }
        }
    }
    ~MultiByteSeparatorLocale()
    {
        std::error_code ec;
        if (!folder_.empty())
            std::filesystem::remove_all(folder_, ec);
    }

    static bool Usable(const char *candidate)
    {
        const bool set = std::setlocale(LC_NUMERIC, candidate) != nullptr;
        const bool multiByte = set && std::strlen(std::localeconv()->decimal_point) > 1;
        std::setlocale(LC_NUMERIC, "C");
        return multiByte;
    }

    std::optional<std::string> name_;
    std::filesystem::path folder_;
};

// Switches the whole C locale for the lifetime of the object, as the desktop
// program's start does with the environment's locale.
class ScopedCLocale {
public:
    explicit ScopedCLocale(const std::string &name) { ok_ = std::setlocale(LC_ALL, name.c_str()) != nullptr; }
    ~ScopedCLocale() { std::setlocale(LC_ALL, "C"); }
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

} // namespace resheat::testing

#include "dialup/tariff.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/c_numbers.h"
#include "base/profile_file.h"
#include "platform/file_system.h"
#include "platform/profile_files.h"

namespace quorlet {
namespace {

constexpr const char* kMissing = "\x10";
constexpr std::size_t kValueBuffer = 10;

// Drops the zeros after the last significant decimal; the decimal point itself stays ("3.").
void StripTrailingZeros(std::string& mantissa) {
    if (mantissa.find('.') == std::string::npos) {
        return;
    }
    while (mantissa.back() == '0') {
        mantissa.pop_back();
    }
}

std::string Gcvt(double value, int digits) {
    if (!std::isfinite(value)) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%g", value);
        return buffer;
    }
    // Round to the significant digits first; the exponent of the rounded value picks the form.
    char scientific[64];
    std::snprintf(scientific, sizeof scientific, "%.*e", digits - 1, value);
    const char* e = std::strchr(scientific, 'e');
    const int exponent = std::atoi(e + 1);
    if (exponent < -1 || exponent > digits - 1) {
        std::string mantissa(static_cast<const char*>(scientific), e);
        StripTrailingZeros(mantissa);
        char tail[16];
        std::snprintf(tail, sizeof tail, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return mantissa + tail;
    }
    char fixed[64];
    std::snprintf(fixed, sizeof fixed, "%.*f", digits - 1 - exponent, value);
    std::string text = fixed;
    StripTrailingZeros(text);
    return text;
}

}  // namespace

std::string FormatFare(double fare) {
    return Gcvt(fare, 3);
}

TariffTable LoadTariff(const std::string& farePath, const std::string& connectionName) {
    TariffTable t;
    const ProfileFile file = LoadProfileFile(farePath);
    const auto read = [&](const char* key) {
        return file.GetString(connectionName, key, kMissing, kValueBuffer);
    };
    const std::string begin = read("hBeginTime");
    if (begin.starts_with('\x10')) {
        return t;
    }
    t.hBeginTime = AtoI(begin);
    t.hEndTime = AtoI(read("hEndTime"));
    t.htNetFare = AtoI(read("htNetFare"));
    t.htTelFare = AtoI(read("htTelFare"));
    t.hFare_Weekend = read("hFare_Weekend").starts_with('1');
    t.hwNetFare = AtoI(read("hwNetFare"));
    t.hwTelFare = AtoI(read("hwTelFare"));
    t.hdNetFare = AtoI(read("hdNetFare"));
    t.hdTelFare = AtoI(read("hdTelFare"));
    t.NetFare = AtoF(read("NetFare"));
    t.TelFare = AtoF(read("TelFare"));
    t.NetUnit = AtoI(read("NetUnit"));
    t.TelUnit = AtoI(read("TelUnit"));
    return t;
}

bool SaveTariff(const TariffTable& t, const std::string& farePath,
                const std::string& connectionName) {
    if (connectionName.empty()) {
        return true;
    }
    std::optional<ProfileFile> stored = LoadProfileFileForUpdate(farePath);
    if (!stored) {
        return false;
    }
    ProfileFile& file = *stored;
    const auto write = [&](const char* key, const std::string& value) {
        file.SetString(connectionName, key, value);
    };
    write("hBeginTime", std::to_string(t.hBeginTime));
    write("hEndTime", std::to_string(t.hEndTime));
    write("htNetFare", std::to_string(t.htNetFare));
    write("htTelFare", std::to_string(t.htTelFare));
    write("hFare_Weekend", t.hFare_Weekend ? "1" : "0");
    write("hwNetFare", std::to_string(t.hwNetFare));
    write("hwTelFare", std::to_string(t.hwTelFare));
    write("hdNetFare", std::to_string(t.hdNetFare));
    write("hdTelFare", std::to_string(t.hdTelFare));
    write("NetFare", FormatFare(t.NetFare));
    write("TelFare", FormatFare(t.TelFare));
    write("NetUnit", std::to_string(t.NetUnit));
    write("TelUnit", std::to_string(t.TelUnit));
    return WriteFileAtomically(farePath, file.Text());
}

}  // namespace quorlet

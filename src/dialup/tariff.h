// The tariff of one dial-up connection and its file ".\Fare.ini" (one section per phone-book
// entry, thirteen keys in the order of the fields below).
#pragma once

#include <string>

namespace quorlet {

inline constexpr const char* kFareIniPath = ".\\Fare.ini";

struct TariffTable {
    int hBeginTime = 23;        // hour the daily discount hours begin
    int hEndTime = 8;           // hour they end (exclusive); equal to hBeginTime: none
    int htNetFare = 50;         // Internet fee in the daily discount hours, percent
    int htTelFare = 100;        // telephone fee in the daily discount hours, percent
    bool hFare_Weekend = true;  // Saturday and Sunday are discount time all day
    int hwNetFare = 50;
    int hwTelFare = 100;
    int hdNetFare = 50;  // holidays
    int hdTelFare = 100;
    double NetFare = 3.0;   // yuan per NetUnit minutes
    double TelFare = 0.11;  // yuan per started block of TelUnit minutes
    int NetUnit = 60;
    int TelUnit = 3;

    bool operator==(const TariffTable&) const = default;
};

// The tariff stored under connectionName. Without that section (or without "hBeginTime" in it)
// every field takes its default; otherwise each key is read as atoi/atof reads it, so a key
// missing from an existing section reads as 0 (or off).
TariffTable LoadTariff(const std::string& farePath, const std::string& connectionName);

// Writes all thirteen keys; does nothing (and succeeds) when connectionName is empty. False when
// the file could not be written.
bool SaveTariff(const TariffTable& tariff, const std::string& farePath,
                const std::string& connectionName);

// A fare as the runtime's _gcvt writes it with 3 significant digits: "0.11", "1.23", "3.",
// "100", "1.e+003", "5.e-003".
std::string FormatFare(double fare);

}  // namespace quorlet

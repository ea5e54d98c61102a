// The settings file exactly as the program writes it with every default in force.
#pragma once

namespace wendrel::testing {

inline constexpr const char* kDefaultSettingsText =
    "\"CRVAL1\",\"CD1_1\",\"Names for Lambda0 and dLambda/dp, resp.\"\r\n"
    "200,200\r\n"
    "500,500\r\n"
    "500,500,3000,10000\r\n"
    "500,500,3000,10000\r\n"
    "100,2000,10000,1000\r\n"
    "500,500,10000,500\r\n"
    "500,500\r\n";

}  // namespace wendrel::testing

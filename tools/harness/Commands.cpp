#include "Commands.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

bool parseNumber(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const double number = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != 0 || !std::isfinite(number))
        return false;
    value = number;
    return true;
}

bool parseInteger(const std::string& text, long low, long high, long& value)
{
    double number;
    if (!parseNumber(text, number) || number != std::floor(number) || number < low || number > high)
        return false;
    value = static_cast<long>(number);
    return true;
}

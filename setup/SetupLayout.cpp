// Installer dialog geometry (see SetupLayout.h).
#include "SetupLayout.h"

namespace SetupLayout {

int fittedLeft(int left, int right, int textWidth, int minLeft)
{
    if (textWidth <= right - left)
        return left;
    const int wanted = right - textWidth;
    if (wanted < minLeft)
        return minLeft < left ? minLeft : left;
    return wanted;
}

} // namespace SetupLayout

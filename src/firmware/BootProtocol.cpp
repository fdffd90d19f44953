// The data frame of one block.
#include "firmware/BootProtocol.h"

namespace firmware {

QByteArray frameFor(const FirmwareImage& image, int n)
{
    QByteArray frame;
    frame.reserve(boot::frameLength);
    frame.append(char(boot::frameStart));
    frame.append(char(quint8(n)));
    frame.append(char(quint8(n + 1)));
    frame.append(image.block(n - 1));
    quint8 sum = 0;
    for (char c : frame)
        sum = quint8(sum + quint8(c));
    frame.append(char(sum));
    return frame;
}

}  // namespace firmware

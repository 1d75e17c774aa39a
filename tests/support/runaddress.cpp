#include "support/runaddress.h"

#include <unistd.h>

QString runAddress(int block)
{
    const int pid = int(getpid());
    return QStringLiteral("127.%1.%2.%3").arg(block).arg((pid >> 8) & 0xFF).arg(1 + pid % 254);
}

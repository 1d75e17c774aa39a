#include "bytepattern.h"

void fillPattern(qint64 offset, char *out, qint64 count)
{
    for (qint64 i = 0; i < count; ++i)
        out[i] = patternByte(offset + i);
}

#pragma once

#include <QtGlobal>

// The bytes of every generated body (the download, huge and endless bodies):
// byte i of a body is (i * 31 + 7) & 0xFF, so a test can regenerate any
// stretch of it without the simulator's help.
inline char patternByte(qint64 offset)
{
    return char((offset * 31 + 7) & 0xFF);
}

void fillPattern(qint64 offset, char *out, qint64 count);

#pragma once

#include <QString>

class QWidget;

// What the frameless window shows of its state, in words: the margin around
// its frame, whether the resize zones are there, and the name and picture of
// the title bar's maximise/restore button. Compared with `expectedLook`.
QString windowLook(const QWidget &window);
QString expectedLook(bool maximised);

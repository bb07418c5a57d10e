#pragma once

class QLabel;

// Label fitting: a label sized to its text that is wider than limit pixels gets its text
// rebuilt from the first character on, one character at a time, until it is at least
// limit - 12 pixels wide, and "..." after it. A label that fits is left alone.
void LongLabel(QLabel* label, int limit);

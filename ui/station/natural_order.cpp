#include "ui/station/natural_order.h"

namespace {

// The run of digits at `at` in `text`, its leading zeros skipped; `at` moves past it.
QStringView DigitRun(const QString& text, qsizetype& at) {
    while (at < text.size() - 1 && text[at] == QLatin1Char('0') && text[at + 1].isDigit()) {
        ++at;
    }
    const qsizetype start = at;
    while (at < text.size() && text[at].isDigit()) {
        ++at;
    }
    return QStringView(text).mid(start, at - start);
}

}  // namespace

bool NaturalLess(const QString& a, const QString& b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const QStringView x = DigitRun(a, i);
            const QStringView y = DigitRun(b, j);
            if (x.size() != y.size()) {
                return x.size() < y.size();
            }
            if (const int order = x.compare(y); order != 0) {
                return order < 0;
            }
            continue;
        }
        if (a[i] != b[j]) {
            return a[i] < b[j];
        }
        ++i;
        ++j;
    }
    if (a.size() - i != b.size() - j) {
        return a.size() - i < b.size() - j;
    }
    return a < b;  // equal but for leading zeros: still one order
}

#include "input/hyotei_entry.h"

#include "schooldata/convert.h"

namespace dorv {

namespace {

constexpr int kRatingColumn = 3;

// A refused mark or rating changes nothing: a typo must not erase what is
// stored.
std::optional<std::uint8_t> MarkByte(QChar c) {
    const QChar u = c.toUpper();
    if (u == 'A' || u == 'B' || u == 'C') return static_cast<std::uint8_t>(u.unicode());
    return std::nullopt;
}

// The digit value of a rating character; anything else is the framework's
// conversion error with that character.
int RatingDigit(const QString &ch) {
    const QByteArray utf8 = ch.toUtf8();
    return StrictInt(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

std::optional<std::uint8_t> RatingByte(int value, int lowest) {
    if (value >= lowest && value <= 5) return static_cast<std::uint8_t>(value);
    return std::nullopt;
}

}  // namespace

HyoteiEntry ParseHyoteiEntry(const QString &typed, int column, const HyoteiEntryRules &rules) {
    HyoteiEntry e;
    const int n = rules.viewpoints;
    if (column == kRatingColumn) {
        if (typed.isEmpty()) {
            e.rating = kEmptyValue;
            return e;
        }
        const int digit = RatingDigit(typed.left(1));
        if (typed.size() == 1) {
            e.rating = RatingByte(digit, 0);
            return e;
        }
        for (int i = 2; i <= n + 1 && i <= typed.size(); ++i) e.marks[i - 1] = MarkByte(typed[i - 1]);
        e.rating = RatingByte(digit, rules.zeroWithMarks ? 0 : 1);
        return e;
    }
    const int j = column - kRatingColumn;
    if (j < 1 || j > n) return e;
    if (typed.isEmpty()) e.marks[j] = kEmptyValue;
    else if (typed.size() == 1) e.marks[j] = MarkByte(typed[0]);
    else
        for (int i = 1; i <= n && i <= typed.size(); ++i) e.marks[i] = MarkByte(typed[i - 1]);
    return e;
}

void ApplyHyoteiEntry(const HyoteiEntry &entry, THyoteiRec &rec) {
    if (entry.rating) rec.Rating = *entry.rating;
    for (int i = 1; i <= 6; ++i)
        if (entry.marks[i]) rec.Kanten[i] = *entry.marks[i];
}

QString RatingCellText(std::uint8_t rating) { return rating <= 10 ? QString::number(rating) : QString(); }

QString MarkCellText(std::uint8_t mark) {
    return mark == 'A' || mark == 'B' || mark == 'C' ? QString(QChar(mark)) : QString();
}

bool RatingDisagrees(const QString &rating, const std::array<QString, 6> &marks, int viewpoints) {
    if (viewpoints < 1 || viewpoints > 6 || rating.isEmpty()) return false;
    std::uint8_t sum = 0;
    for (int i = 0; i < viewpoints; ++i) {
        if (marks[static_cast<std::size_t>(i)].isEmpty()) return false;
        sum = static_cast<std::uint8_t>(sum + (68 - marks[static_cast<std::size_t>(i)][0].unicode()));
    }
    const bool many = viewpoints >= 5;
    switch (rating[0].unicode()) {
    case '1': return sum > (many ? 6 : 5);
    case '2': return sum > (many ? 9 : 7);
    case '3': return many ? (sum > 13 || sum < 6) : (sum > 11 || sum < 5);
    case '4': return sum < (many ? 11 : 9);
    case '5': return sum < (many ? 14 : 11);
    default: return false;
    }
}

}  // namespace dorv

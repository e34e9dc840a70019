#include "cipher/transform.h"

#include <array>

#include "cipher/checked_int.h"
#include "cipher/run_time_error.h"

namespace korvane {

qint16 TransformLetter(qint16 code, qint16 rotation, qint16 multiplier) {
    qint16 t = CheckedMul16(code, multiplier);
    t = CheckedAdd16(t, rotation);
    qint16 g = static_cast<qint16>(t % 26 + 78);  // C++'s % truncates, as the rule wants
    if (g > 90)
        g = static_cast<qint16>(g - 26);
    return g;
}

namespace {

// What every character below 128 becomes under one rotation and multiplier: 'a'–'z' are
// upper-cased first, letters take their transform, the rest stay. Letters whose transform
// overflows are flagged, so one pass over the text tells whether the call must fail.
struct AsciiMap {
    std::array<char16_t, 128> output{};
    std::array<bool, 128> overflows{};

    AsciiMap(qint16 rotation, qint16 multiplier) {
        std::array<char16_t, 26> letters{};
        std::array<bool, 26> letterOverflows{};
        for (int p = 0; p < 26; ++p) {
            try {
                letters[p] =
                    static_cast<char16_t>(TransformLetter(qint16(u'A' + p), rotation, multiplier));
            } catch (const RunTimeError&) {
                letterOverflows[p] = true;
            }
        }
        for (int c = 0; c < 128; ++c) {
            int letter = -1;
            if (c >= 'A' && c <= 'Z')
                letter = c - 'A';
            if (c >= 'a' && c <= 'z')
                letter = c - 'a';
            output[c] = letter < 0 ? char16_t(c) : letters[letter];
            overflows[c] = letter >= 0 && letterOverflows[letter];
        }
    }

    // The transform of an upper-cased letter code from outside ASCII's lower half.
    char16_t Letter(char16_t upper) const { return output[upper]; }
};

}  // namespace

QString TransformText(QStringView text, qint16 rotation, qint16 multiplier) {
    const AsciiMap map(rotation, multiplier);
    const qsizetype n = text.size();
    const char16_t* in = text.utf16();
    QString result(n, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(result.data());
    bool overflow = false;

    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = in[i];
        if (c < 128) {
            out[i] = map.output[c];
            overflow |= map.overflows[c];
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(in[i + 1])) {
            // A pair is upper-cased as one code point and stays a pair; Unicode has no simple
            // mapping between the planes, but a mapping that left the pair would be refused.
            const char32_t code = QChar::surrogateToUcs4(c, in[i + 1]);
            const char32_t upper = QChar::toUpper(code);
            const bool staysPair = QChar::requiresSurrogates(upper);
            out[i] = staysPair ? QChar::highSurrogate(upper) : c;
            out[i + 1] = staysPair ? QChar::lowSurrogate(upper) : in[i + 1];
            ++i;
            continue;
        }
        if (QChar::isSurrogate(c)) {
            out[i] = c;  // a lone half of a pair passes as it is
            continue;
        }
        const char16_t upper = static_cast<char16_t>(QChar::toUpper(char32_t(c)));
        if (upper >= u'A' && upper <= u'Z') {  // such as 'ı' and 'ſ', whose capitals are ASCII
            out[i] = map.Letter(upper);
            overflow |= map.overflows[upper];
        } else {
            out[i] = upper;
        }
    }
    if (overflow)
        throw OverflowError();
    return result;
}

}  // namespace korvane
